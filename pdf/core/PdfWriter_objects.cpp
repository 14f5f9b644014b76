// Recorded page objects: drawing recorded once as a form XObject and played
// on the pages its page rule selects, or wherever PlayObject asks.

#include "pdf/PdfWriter.h"
#include "pdf/core/pdf_name.h"

namespace pdf {

namespace {

// The index of the recorded object of this name among the first Count; 0
// when there is none.
std::int32_t FindRecorded(const std::vector<RecordedObject>& Objects, std::int32_t Count,
                          const std::string& Name) {
  for (std::int32_t i = 1; i <= Count; ++i) {
    if (Objects[static_cast<std::size_t>(i)].Name == Name) return i;
  }
  return 0;
}

// Whether Name is one the writer gives its own form objects in the same
// resource dictionary: "_IMG_" and an image's number, "_PDF_" and an
// imported page's source and page numbers.
bool WriterXObjectName(const std::string& Name) {
  const auto number = [&Name](std::size_t from, std::size_t to) {
    if (from >= to || Name[from] == '0') return false;
    for (std::size_t i = from; i < to; ++i)
      if (Name[i] < '0' || Name[i] > '9') return false;
    return true;
  };
  if (Name.rfind("_IMG_", 0) == 0) return number(5, Name.size());
  if (Name.rfind("_PDF_", 0) != 0) return false;
  const std::size_t dot = Name.find('.', 5);
  return dot != std::string::npos && number(5, dot) && number(dot + 1, Name.size());
}

}  // namespace

void PdfWriter::BeginObject(const std::string& Alias, std::int32_t Options) {
  if (Content.RecordingObject) return;  // one recording at a time
  if (Resources.RecordedObjectCount == INT32_MAX) throw PdfError(6);
  // One resource name, one object: a second recording under a name already
  // recorded, or under a name the writer gives its pictures and imported
  // pages, is taken (it must not land on the page) and dropped.
  Content.RecordingDuplicate =
      FindRecorded(Resources.RecordedObjects, Resources.RecordedObjectCount, Alias) != 0 ||
      WriterXObjectName(Alias);
  Content.RecordingObject = true;
  if (Content.RecordingDuplicate) {
    BufferReset(Content.ObjectContent);
    return;
  }
  Resources.RecordedObjectCount += 1;
  GrowTable(Resources.RecordedObjects, Resources.RecordedObjectCount);
  RecordedObject& entry = Resources.RecordedObjects[static_cast<std::size_t>(Resources.RecordedObjectCount)];
  entry = RecordedObject{};
  entry.Name = Alias;
  entry.PageRule = Options;
  BufferReset(Content.ObjectContent);
}

void PdfWriter::EndObject() {
  // Without a recording there is nothing to end (writing the last object
  // again would give two resources of one name).
  if (!Content.RecordingObject) return;
  if (Content.RecordingDuplicate) {
    Content.RecordingDuplicate = false;
    Content.RecordingObject = false;
    return;
  }
  CloseOpenSaves(Content.ObjectContent);
  const RecordedObject& entry =
      Resources.RecordedObjects.at(static_cast<std::size_t>(Resources.RecordedObjectCount));
  const std::string& text = Content.ObjectContent.Data;
  Bytes data(text.begin(), text.begin() + (Content.ObjectContent.Position - 1));
  const std::int32_t n = BeginIndirectObject(0);
  const char CR = '\r';
  WriteLine("<< /Type /XObject /Subtype /Form /FormType 1 /Name " + NameToken(entry.Name) + CR + "/BBox [" +
            FormatNumber(-2 * Pages.PageWidth) + " " + FormatNumber(-2 * Pages.PageHeight) + " " +
            FormatNumber(2 * Pages.PageWidth) + " " + FormatNumber(2 * Pages.PageHeight) + "]" + CR +
            "/Matrix [1 0 0 1 0 0]");
  WriteStream(data, 0, std::string(), 0);
  EndIndirectObject();
  Resources.XObjectResources += NameToken(entry.Name) + " " + std::to_string(n) + " 0 R " + CR;
  Content.RecordingObject = false;
}

bool PdfWriter::RecordingDropped() const { return Content.RecordingObject && Content.RecordingDuplicate; }

void PdfWriter::PlayObject(const std::string& Name) {
  // Only an object that stands in the resources: one never recorded would
  // name nothing, the one being recorded would draw itself for ever. An
  // object recorded before this call cannot play one recorded after it, so
  // objects never play one another in a circle.
  std::int32_t recorded = Resources.RecordedObjectCount;
  if (Content.RecordingObject && !Content.RecordingDuplicate) recorded -= 1;
  const std::int32_t found = FindRecorded(Resources.RecordedObjects, recorded, Name);
  if (found == 0) return;
  const RecordedObject& entry = Resources.RecordedObjects.at(static_cast<std::size_t>(found));
  // The cell of an uncoloured tiling pattern carries no colour: an object
  // that brings one (or a picture) would have readers draw the cell each
  // its own way.
  if (entry.CarriesColour && UncolouredCell()) throw PdfError(5);
  // Not every reader ends a path at "Do": a path the caller left open is
  // ended before the object.
  EndOpenPath();
  AppendContent("q " + NameToken(Name) + " Do Q");
  // The object takes its resources from the content that plays it.
  if (entry.NamesPattern) PatternNamed();
  if (entry.CarriesColour) ColourCarried();
}

void PdfWriter::PlayAutoObjects(bool Phase) {
  const std::int32_t p = Pages.PageCount;
  for (std::int32_t i = 1; i <= Resources.RecordedObjectCount; ++i) {
    // The object being recorded is never played into itself.
    if (Content.RecordingObject && !Content.RecordingDuplicate &&
        i == Resources.RecordedObjectCount)
      continue;
    const RecordedObject& entry = Resources.RecordedObjects.at(static_cast<std::size_t>(i));
    const std::int32_t r = entry.PageRule;
    if (((r & 16) != 0) != Phase) continue;
    bool every = (r & 7) == 7;
    bool odd = (r & 4) != 0 && (p % 2) != 0;
    if (p == 1) {
      if (r & 8) {
        every = false;
        odd = false;
      } else if (r & 1) {
        odd = true;
      }
    }
    // A page begun while an uncoloured tile is recorded plays its objects
    // into the tile's cell (the content being recorded takes them): one
    // that carries colour is left out there.
    if (entry.CarriesColour && UncolouredCell()) continue;
    if (every || ((r & 2) != 0 && p % 2 == 0) || odd) {
      PlayObject(entry.Name);
      Pages.PageAnnots += entry.Annots;
    }
  }
}

}  // namespace pdf
