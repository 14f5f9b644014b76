#pragma once
// A writer whose internals the core tests can reach, and small helpers for
// reading back the files it writes.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pdf/PdfWriter.h"
#include "tests/pdf/pdf_tools.h"

namespace core_test {

class Probe : public pdf::PdfWriter {
 public:
  using PdfWriter::AppendContent;
  using PdfWriter::BeginIndirectObject;
  using PdfWriter::BufferText;
  using PdfWriter::BuildXmpMetadata;
  using PdfWriter::Colours;
  using PdfWriter::EndIndirectObject;
  using PdfWriter::FormatNumber;
  using PdfWriter::GrowTable;
  using PdfWriter::ParseColor;
  using PdfWriter::RoundValue;
  using PdfWriter::SetLastRect;
  using PdfWriter::WriteLine;
  using PdfWriter::WriteStreamObject;

  using PdfWriter::Content;
  using PdfWriter::Forms;
  using PdfWriter::Labels;
  using PdfWriter::Navigation;
  using PdfWriter::Objects;
  using PdfWriter::Pages;
  using PdfWriter::Properties;
  using PdfWriter::Resources;
  using PdfWriter::Security;
  using PdfWriter::Text;

  std::string PageText() const { return BufferText(Content.PageContent); }

  // Adds a field record to the open page, as the interactive features do.
  void AddFieldRecord(const pdf::FieldRecord& f) {
    Forms.FieldCount += 1;
    GrowTable(Forms.Fields, Forms.FieldCount);
    Forms.Fields[static_cast<std::size_t>(Forms.FieldCount)] = f;
  }
};

using pdftest::Count;
using pdftest::ReadFile;
using pdftest::TempPdf;

// Bytes as hexadecimal text, two digits each.
inline std::string Hex(const void* data, std::size_t size, const char* digits = "0123456789abcdef") {
  std::string s;
  for (std::size_t i = 0; i < size; ++i) {
    const unsigned b = static_cast<const unsigned char*>(data)[i];
    s += {digits[b >> 4], digits[b & 15]};
  }
  return s;
}

// The byte offset at which object n begins ("n 0 obj"), -1 when absent.
inline long ObjectOffset(const std::string& file, int n) {
  const std::string head = std::to_string(n) + " 0 obj\n";
  std::size_t at = 0;
  for (;;) {
    at = file.find(head, at);
    if (at == std::string::npos) return -1;
    if (at == 0 || file[at - 1] == '\n') return static_cast<long>(at);
    at += head.size();
  }
}

// The bytes of object n as the file holds them: from "n 0 obj\n" to
// "endobj\n" inclusive ("" when absent).
inline std::string ObjectBytes(const std::string& file, int n) {
  const long start = ObjectOffset(file, n);
  if (start < 0) return "";
  const auto at = static_cast<std::size_t>(start);
  const std::size_t end = file.find("endobj\n", at);
  if (end == std::string::npos) return "";
  return file.substr(at, end + 7 - at);
}

}  // namespace core_test
