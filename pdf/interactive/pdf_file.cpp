// Whole-file reads of source PDF files.

#include "pdf/interactive/pdf_file.h"

#include <cstdio>
#include <filesystem>
#include <memory>

#include "pdf/PdfWriter.h"
#include "pdf/interactive/pdf_xref.h"

namespace pdf {

PdfStatus ReadPdfFile(const std::string& path, Bytes& out) {
  out.clear();
  std::error_code ec;
  if (path.empty() || !std::filesystem::is_regular_file(path, ec)) return {53, PdfError::DescriptionOf(53)};
  const auto size = std::filesystem::file_size(path, ec);
  if (ec) return {75, PdfError::DescriptionOf(75)};
  if (size > kMaxPdfFileSize) return PdfStatus::Format("the file is larger than 2 GiB");
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> f(std::fopen(path.c_str(), "rb"), &std::fclose);
  if (!f) return {75, PdfError::DescriptionOf(75)};
  out.resize(static_cast<std::size_t>(size));
  if (size != 0 && std::fread(out.data(), 1, out.size(), f.get()) != out.size()) {
    out.clear();
    return {75, PdfError::DescriptionOf(75)};
  }
  return PdfStatus::Ok();
}

bool PdfFileStamp(const std::string& path, std::int64_t& size, std::int64_t& time) {
  std::error_code ec;
  const auto bytes = std::filesystem::file_size(path, ec);
  if (ec) return false;
  const auto when = std::filesystem::last_write_time(path, ec);
  if (ec) return false;
  size = static_cast<std::int64_t>(bytes);
  time = static_cast<std::int64_t>(when.time_since_epoch().count());
  return true;
}

}  // namespace pdf
