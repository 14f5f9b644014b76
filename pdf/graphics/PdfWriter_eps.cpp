// EPS and AI drawings: the lines the converter copies, placed so that the
// top-left corner of the bounding box lands on the destination point and
// the drawing stands upright in the page's downward y axis.

#include <algorithm>
#include <string>

#include "pdf/PdfWriter.h"
#include "pdf/graphics/eps_converter.h"

namespace pdf {

void PdfWriter::ConvertEps(const std::string& FileName, float DestX, float DestY, float ImgWidth,
                           float ImgHeight) {
  Bytes file;
  if (!ReadCallerFile(FileName, FileName, file)) return;
  // In an uncoloured tile's cell the drawing's shapes take the colour the
  // pattern is painted with: its colour lines are left out.
  const EpsDrawing drawing = ConvertEpsLines(file, !Content.RecordingUncolored);
  if (drawing.has_box && !drawing.box_valid) {
    // A box of no size (or given only at the end) cannot place or scale
    // the drawing: nothing of it is written.
    RecordError("DrawImage", FileName, 11, PdfError::DescriptionOf(11) + " (bounding box of no size)");
    return;
  }
  try {
    std::string placement;
    if (drawing.has_box) {
      const float width = static_cast<float>(drawing.urx - drawing.llx);
      const float height = static_cast<float>(drawing.ury - drawing.lly);
      const float scale = Pages.ScaleFactor;
      float w = ImgWidth, h = ImgHeight;
      if (ImgWidth == 0 && ImgHeight == 0) {
        // 20/72 of the box's size, as such drawings are placed here.
        w = width * 20 / (scale * 72);
        h = height * 20 / (scale * 72);
      } else if (ImgWidth == 0) {
        w = ImgHeight * width / height;
      } else if (ImgHeight == 0) {
        h = height * ImgWidth / width;
      }
      const float sx = w * scale / width;
      const float sy = h * scale / height;
      // A scale written as 0 would make the placement singular: refused
      // before anything is written.
      const std::string sx_text = ScaleText(sx);
      placement = sx_text + " 0 0 " + ScaleText(sy) + " " + FormatUnits(DestX) + " " + FormatUnits(DestY) + " cm";
      placement += '\r';
      placement += "1 0 0 -1 " + FormatNumber(static_cast<float>(-drawing.llx)) + " " +
                   FormatNumber(static_cast<float>(drawing.lly) + height) + " cm";
    }
    // Every converted line stands between one "q" and its "Q", whatever
    // the file's comments, so that no colour, width or matrix the drawing
    // sets outlives it (the converter ends a path the drawing leaves open);
    // the placement goes where the bounding box stood. A drawing that
    // paints nothing (no line converted, or only colours, widths, clips and
    // paths it ends unpainted) writes nothing, and leaves a path the caller
    // left open for the caller to paint. Otherwise that path is ended
    // first: the drawing's painting operators would paint it too.
    ContentRollback rollback(*this);
    if (std::any_of(drawing.lines.begin(), drawing.lines.end(), PaintsPath)) {
      EndOpenPath();
      AppendContent("q");
      for (std::size_t i = 0; i <= drawing.lines.size(); ++i) {
        if (drawing.has_box && i == drawing.box_at) AppendContent(placement);
        if (i < drawing.lines.size()) AppendContent(drawing.lines[i]);
      }
      AppendContent("Q");
      if (drawing.colours) ColourCarried();
    }
  } catch (const PdfError& e) {
    RecordError("DrawImage", FileName, e);
  }
}

}  // namespace pdf
