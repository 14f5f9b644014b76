// WMF drawings: the converter's steps written as path operators between
// "q" and "Q". With a window origin and extent given before the first
// drawing record, two matrices map the logical units onto the destination;
// without them logical units are points from the margin origin.

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "pdf/graphics/wmf_converter.h"

namespace pdf {

std::string PdfWriter::ColorComponentText(std::uint8_t Value) {
  return FormatNumber(RoundValue(static_cast<float>(Value) / 255.0f));
}

void PdfWriter::ConvertWmf(const std::string& Filename, float DestX, float DestY, float ImgWidth,
                           float ImgHeight) {
  Bytes file;
  if (!ReadCallerFile(Filename, Filename, file)) return;
  const WmfDrawing drawing = ConvertWmfRecords(file);
  const float scale = Pages.ScaleFactor;
  // The mappings first: one whose matrix is singular as written would
  // leave nothing of the drawing to see (and curves under it stop
  // readers), so such a drawing is refused whole, before anything is
  // written.
  std::vector<std::string> mappings;
  try {
    for (const WmfStep& step : drawing.steps) {
      if (step.kind != WmfStepKind::kMapping) continue;
      const float ox = static_cast<float>(step.values[0]), oy = static_cast<float>(step.values[1]);
      const float ex = static_cast<float>(step.values[2]), ey = static_cast<float>(step.values[3]);
      if (ex == 0 || ey == 0) {
        RecordError("DrawImage", Filename, 11, PdfError::DescriptionOf(11) + " (window extent of 0)");
        mappings.emplace_back();
        continue;
      }
      float w = ImgWidth, h = ImgHeight;
      if (ImgWidth == 0 && ImgHeight == 0) {
        w = ex * 20 / (72 * scale);
        h = ey * 20 / (72 * scale);
      } else if (ImgWidth == 0) {
        w = ex * ImgHeight / ey;
      } else if (ImgHeight == 0) {
        h = ey * ImgWidth / ex;
      }
      const std::string sx = ScaleText(w * scale / ex);
      mappings.push_back(sx + " 0 0 " + ScaleText(h * scale / ey) + " " + FormatUnits(DestX) + " " +
                         FormatUnits(DestY) + " cm" + '\r' + "1 0 0 1 " + FormatNumber(-ox) + " " +
                         FormatNumber(-oy) + " cm");
    }
  } catch (const PdfError& e) {
    RecordError("DrawImage", Filename, e);
    return;
  }
  // A drawing that paints nothing (no polygon, or only ones with the null
  // pen and the hollow brush) writes nothing, and leaves a path the caller
  // left open for the caller to paint. Otherwise that path is ended first:
  // the drawing's painting operators would paint it too.
  const bool paints = std::any_of(drawing.steps.begin(), drawing.steps.end(), [](const WmfStep& s) {
    return s.kind == WmfStepKind::kLine && PaintsPath(s.text);
  });
  if (paints) {
    const auto colour = [](const WmfStep& s) {
      return ColorComponentText(s.rgb[0]) + " " + ColorComponentText(s.rgb[1]) + " " + ColorComponentText(s.rgb[2]);
    };
    EndOpenPath();
    AppendContent("q");
    try {
      std::size_t mapping = 0;
      for (const WmfStep& step : drawing.steps) {
        switch (step.kind) {
          case WmfStepKind::kLine:
            AppendContent(step.text);
            break;
          case WmfStepKind::kPenColour:
          case WmfStepKind::kFillColour:
            // In an uncoloured tile's cell the shapes take the colour the
            // pattern is painted with.
            if (Content.RecordingUncolored) break;
            AppendContent(colour(step) + (step.kind == WmfStepKind::kPenColour ? " RG" : " rg"));
            ColourCarried();
            break;
          case WmfStepKind::kPenWidth:
            // A width is never negative, whatever the sign of the scale.
            AppendContent(FormatNumber(std::fabs(static_cast<float>(step.values[0]) * 72 / (20 * scale))) + " w");
            break;
          case WmfStepKind::kMapping:
            if (!mappings[mapping].empty()) AppendContent(mappings[mapping]);
            ++mapping;
            break;
        }
      }
    } catch (const PdfError& e) {
      RecordError("DrawImage", Filename, e);
    }
    AppendContent("Q");
  }
  if (drawing.status != ReadStatus::kOk) {
    const std::int32_t number = drawing.status == ReadStatus::kTruncated ? 62 : 321;
    const std::string what = number == 62 ? PdfError::DescriptionOf(62) : "Invalid file format";
    RecordError("DrawImage", Filename, number, what + " (" + drawing.reason + ")");
  }
}

}  // namespace pdf
