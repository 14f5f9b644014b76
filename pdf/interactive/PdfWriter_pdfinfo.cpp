// GetInfo: the page count and document information of an existing PDF
// file. The first call for a file parses it into a source record (its
// cross-reference offsets, pages and information texts); later calls for
// the same file answer from the record. Failures are recorded, never
// raised; a parse that failed is not kept, so the next call tries again
// and reports the failure again.

#include <filesystem>

#include "pdf/PdfWriter.h"
#include "pdf/interactive/pdf_file.h"
#include "pdf/interactive/pdf_source.h"
#include "pdf/interactive/pdf_xref.h"

namespace pdf {

namespace {

// The document information texts of the /Info object (a missing object, or
// a value that is not a dictionary, gives empty texts).
PdfStatus ReadDocumentInfo(const PdfSourceFile& source, std::int32_t info, ImportSource& record) {
  if (info == 0) return PdfStatus::Ok();
  PdfObject o;
  PdfStatus s = source.ReadObject(info, false, o);
  if (!s.ok()) return s;
  const std::pair<const char*, std::string*> keys[] = {{"Title", &record.Title},
                                                       {"Author", &record.Author},
                                                       {"Creator", &record.Creator},
                                                       {"Producer", &record.Producer},
                                                       {"Subject", &record.Subject}};
  for (const auto& [key, field] : keys) {
    const PdfValue* v = o.value.Find(key);
    if (v == nullptr) continue;
    PdfValue resolved;
    s = source.Resolve(*v, resolved);
    if (!s.ok()) return s;
    *field = InfoValueText(resolved);
  }
  return PdfStatus::Ok();
}

PdfStatus ReadPageList(const PdfSourceFile& source, std::int32_t root, ImportSource& record) {
  PdfObject catalog;
  PdfStatus s = source.ReadObject(root, false, catalog);
  if (!s.ok()) return s;
  if (catalog.missing) return PdfStatus::Format("the catalog object is missing");
  const PdfValue* pages = catalog.value.Find("Pages");
  if (pages == nullptr) return PdfStatus::Ok();
  if (!pages->Is(PdfValue::Type::kRef)) return PdfStatus::Format("the catalog's /Pages is not a reference");
  std::vector<std::int32_t> list;
  s = source.CollectPages(static_cast<std::int32_t>(pages->integer), list);
  record.PageObjects.assign(1, 0);
  record.PageObjects.insert(record.PageObjects.end(), list.begin(), list.end());
  record.PageCount = static_cast<std::int32_t>(list.size());
  return s;
}

}  // namespace

std::int32_t PdfWriter::LoadSourceFile(const std::string& Path, std::string& Description) {
  std::int64_t size = 0, time = 0;
  if (PdfFileStamp(Path, size, time) && Path == Import.CachedPath && size == Import.CachedSize &&
      time == Import.CachedTime) {
    return 0;
  }
  Import.CachedPath.clear();
  Import.CachedSize = -1;
  const PdfStatus s = ReadPdfFile(Path, Import.CachedBytes);
  Description = s.description;
  if (!s.ok()) return s.number;
  Import.CachedPath = Path;
  Import.CachedSize = size;
  Import.CachedTime = time;
  return 0;
}

std::int32_t PdfWriter::GetInfo(const std::string& Filename, std::string* PDFTitle,
                                 std::string* PDFSubject, std::string* PDFAuthor, bool* PDFEncrypted) {
  // The description is the file name, " - " and the failure's own text.
  bool failed = false;
  auto record_failure = [&](const PdfStatus& s) {
    RecordError("GetInfo", "", s.number, Filename + " - " + s.description);
    failed = true;
  };

  auto report = [&](const ImportSource& r) {
    if (PDFTitle) *PDFTitle = r.Title;
    if (PDFSubject) *PDFSubject = r.Subject;
    if (PDFAuthor) *PDFAuthor = r.Author;
    if (PDFEncrypted) *PDFEncrypted = r.Encrypted;
    return r.PageCount;
  };

  // Whatever follows, the file read before is no longer the current source:
  // a failure below must not leave it there for ImportPage to draw from.
  Import.CurrentSource = 0;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(Filename, ec)) {
    record_failure({53, PdfError::DescriptionOf(53)});
    return 0;
  }
  // Names are compared as the file system compares them: exactly.
  for (std::int32_t i = 1; i <= Import.ImportSourceCount; ++i) {
    if (Import.ImportSources[static_cast<std::size_t>(i)].FileName == Filename) {
      Import.CurrentSource = i;
      return report(Import.ImportSources[static_cast<std::size_t>(i)]);
    }
  }

  PdfStatus s;
  s.number = LoadSourceFile(Filename, s.description);
  if (!s.ok()) {
    record_failure(s);
    return 0;
  }
  const Bytes& file = Import.CachedBytes;
  ImportSource record;
  record.FileName = Filename;
  record.VersionIncrement = HeaderVersionIncrement(file);
  record.PageObjects.assign(1, 0);

  PdfXref xref;
  s = ReadPdfXref(file, xref);
  // A file whose cross-reference tables cannot be read (or that uses a form
  // not read here) is refused like an encrypted one: nothing else of it is
  // read.
  if (!s.ok()) {
    record_failure(s);
    return 0;
  }
  if (xref.encrypted) {
    record_failure({321, PdfError::DescriptionOf(321)});
    return 0;
  }
  record.ObjectOffsets = std::move(xref.offsets);
  if (record.ObjectOffsets.empty()) record.ObjectOffsets.assign(1, 0);
  record.ImportedNumbers.assign(record.ObjectOffsets.size(), 0);
  const PdfSourceFile source(file, record.ObjectOffsets);
  s = ReadDocumentInfo(source, xref.info, record);
  if (!s.ok()) record_failure(s);
  s = ReadPageList(source, xref.root, record);
  if (!s.ok()) record_failure(s);
  if (!failed && Import.ImportSourceCount >= kMaxSourcePages) {
    record_failure({6, PdfError::DescriptionOf(6)});  // the source table is full
  }
  // What a failed parse gathered is still reported, but not kept.
  if (failed) return report(record);
  Import.ImportSourceCount += 1;
  GrowTable(Import.ImportSources, Import.ImportSourceCount);
  record.PageBoxes.assign(record.PageObjects.size(), {0, 0, 0, 0});
  ImportSource& kept = Import.ImportSources[static_cast<std::size_t>(Import.ImportSourceCount)];
  kept = std::move(record);
  Import.CurrentSource = Import.ImportSourceCount;
  return report(kept);
}

}  // namespace pdf
