// Document and page actions: OnDocEvent keeps one script per viewer event.
// EndPage writes the page-open and page-close scripts of the page it ends,
// EndDoc the document's scripts (open action, the will/did close, print and
// save actions, and the document-level script), each as a stream object
// named by a JavaScript action.

#include "pdf/PdfWriter.h"

namespace pdf {

void PdfWriter::OnDocEvent(std::int32_t EventType, const std::string& Script, bool ResetScript) {
  if (EventType < 0 || EventType > 8) return;
  std::string& text = Labels.DocScripts[static_cast<std::size_t>(EventType)];
  if (ResetScript) text = Script;
  else text += Script;
  // The document's additional actions exist from PDF 1.4 on.
  if (EventType >= 3 && EventType <= 7) RequireVersion(1);
}

}  // namespace pdf
