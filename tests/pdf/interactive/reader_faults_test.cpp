// GetInfo and ImportPage on small hand-made files, one fault each: the row
// names the fault, the file is a sound two-page document with that one
// change, and the row says what the reader must make of it.

#include <zlib.h>

#include <cstdio>
#include <functional>

#include "pdf/PdfWriter.h"
#include "tests/pdf/pdf_tools.h"

namespace {

std::string Replace(std::string s, const std::string& from, const std::string& to) {
  const std::size_t at = s.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) s.replace(at, from.size(), to);
  return s;
}

std::string Padded(std::size_t v) {
  char b[16];
  std::snprintf(b, sizeof b, "%010zu", v);
  return b;
}

// Objects 1 to n with their bodies, a cross-reference table and a trailer
// "<< /Size n+1 /Root 1 0 R /Info 7 0 R" + extra + " >>". "{XREF}" in extra
// becomes the table's own offset, ten digits wide.
std::string Build(const std::vector<std::string>& bodies, const std::string& extra = "",
                  const std::string& eol = "\n", const std::string& header = "%PDF-1.4",
                  const std::string& before_endobj = "\n") {
  std::string f = header + eol;
  std::vector<std::size_t> offsets;
  for (std::size_t i = 0; i < bodies.size(); ++i) {
    offsets.push_back(f.size());
    f += std::to_string(i + 1) + " 0 obj" + eol + bodies[i] + before_endobj + "endobj" + eol;
  }
  const std::size_t xref = f.size();
  f += "xref\n0 " + std::to_string(bodies.size() + 1) + "\n0000000000 65535 f\r\n";
  for (std::size_t o : offsets) f += Padded(o) + " 00000 n\r\n";
  std::string trailer = extra;
  if (trailer.find("{XREF}") != std::string::npos) trailer = Replace(trailer, "{XREF}", Padded(xref));
  f += "trailer\n<< /Size " + std::to_string(bodies.size() + 1) + " /Root 1 0 R /Info 7 0 R" + trailer +
       " >>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  return f;
}

const char kContent[] = "BT /F1 12 Tf 10 10 Td (Hi) Tj ET";

std::vector<std::string> Bodies() {
  return {"<< /Type /Catalog /Pages 2 0 R >>",
          "<< /Type /Pages /Kids [3 0 R 4 0 R] /Count 2 /MediaBox [0 0 200 100] >>",
          "<< /Type /Page /Parent 2 0 R /Resources << /Font << /F1 6 0 R >> >> /Contents 5 0 R >>",
          "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 300 300] >>",
          "<< /Length " + std::to_string(sizeof kContent - 1) + " >>\nstream\n" + kContent + "\nendstream",
          "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
          "<< /Title (A (nested) title) /Author (Me) >>"};
}

// The sound file followed by an update that gives object 7 a new title; the
// first trailer's /Prev points at the update, closing a loop.
std::string LoopedUpdate() {
  std::string f = Build(Bodies(), " /Prev XXXXXXXXXX");
  const std::size_t first_xref = f.find("xref\n0 ");
  const std::size_t seven = f.size();
  f += "7 0 obj\n<< /Title (Updated) >>\nendobj\n";
  const std::size_t second_xref = f.size();
  f += "xref\n7 1\n" + Padded(seven) + " 00000 n\r\ntrailer\n<< /Size 8 /Root 1 0 R /Info 7 0 R /Prev " +
       std::to_string(first_xref) + " >>\nstartxref\n" + std::to_string(second_xref) + "\n%%EOF\n";
  return Replace(f, "XXXXXXXXXX", Padded(second_xref));
}

struct InfoRow {
  const char* name;
  std::function<std::string()> file;
  std::int32_t pages;
  std::string title;
  std::int32_t error;
};

TEST(ReaderFaults, GetInfoOnHandMadeFiles) {
  const std::string base = Build(Bodies());
  auto with = [](std::function<std::string(std::vector<std::string>&)> change) {
    return [change] {
      std::vector<std::string> b = Bodies();
      return change(b);
    };
  };
  auto edit = [base](const std::string& from, const std::string& to) {
    return [base, from, to] { return Replace(base, from, to); };
  };
  const std::string seventh = Padded(base.find("7 0 obj")) + " 00000 n";
  std::string deep(200, '[');
  const std::vector<InfoRow> rows = {
      {"sound file, LF after endobj", [base] { return base; }, 2, "A (nested) title", 0},
      {"CR LF line ends", [] { return Build(Bodies(), "", "\r\n"); }, 2, "A (nested) title", 0},
      {"endobj right after >>", [] { return Build(Bodies(), "", "\n", "%PDF-1.4", ""); }, 2, "A (nested) title", 0},
      {"/Prev to its own section", [] { return Build(Bodies(), " /Prev {XREF}"); }, 2, "A (nested) title", 0},
      {"/Prev loop through an update", LoopedUpdate, 2, "Updated", 0},
      {"/Prev beyond 32 bits", [] { return Build(Bodies(), " /Prev 99999999999999999999"); }, 2, "A (nested) title", 0},
      {"lying /Size", edit("/Size 8", "/Size 2147483647"), 2, "A (nested) title", 0},
      {"info entry free", edit(seventh, seventh.substr(0, 17) + "f"), 2, "", 0},
      {"info entry at offset 0", edit(seventh, "0000000000 00000 n"), 2, "", 0},
      {"UTF-16 title", with([](auto& b) { b[6] = "<< /Title <FEFF00410042> >>"; return Build(b); }), 2, "AB", 0},
      {"escapes in the title", with([](auto& b) { b[6] = "<< /Title (a\\)b\\\\c\\101\\\nd) >>"; return Build(b); }), 2, "a)b\\cAd", 0},
      {"title by reference", with([](auto& b) { b[6] = "<< /Title 8 0 R >>"; b.push_back("(Referred)"); return Build(b); }), 2, "Referred", 0},
      {"/Kids cycle", edit("/Kids [3 0 R 4 0 R]", "/Kids [3 0 R 2 0 R]"), 1, "A (nested) title", 321},
      {"kid missing", edit("/Kids [3 0 R 4 0 R]", "/Kids [3 0 R 9 0 R]"), 1, "A (nested) title", 321},
      {"nesting too deep", with([deep](auto& b) { b[6] = "<< /Title " + deep + " >>"; return Build(b); }), 2, "", 321},
      {"string without its end", with([](auto& b) { b[6] = "<< /Title (abc >>"; return Build(b); }), 2, "", 321},
      {"no startxref", edit("startxref", "startxrex"), 0, "", 321},
      {"startxref past the end", edit("\n%%EOF", "999\n%%EOF"), 0, "", 321},
      {"subsection count lies", edit("xref\n0 8", "xref\n0 9"), 0, "", 321},
      {"subsection too large", edit("xref\n0 8", "xref\n0 99999999"), 0, "", 321},
      {"encrypted", [] { return Build(Bodies(), " /Encrypt 7 0 R"); }, 0, "", 321},
      {"hybrid with /XRefStm", [] { return Build(Bodies(), " /XRefStm 9"); }, 0, "", 321},
      {"cross-reference stream", [base] { return Replace(base, "startxref\n" + std::to_string(base.find("xref\n0 ")), "startxref\n9"); }, 0, "", 321},
  };
  pdftest::TempDir dir;
  for (const InfoRow& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir.file("f.pdf");
    pdftest::WriteFile(path, row.file());
    pdf::PdfWriter w;
    std::string title = "unchanged";
    EXPECT_EQ(w.GetInfo(path, &title), row.pages);
    EXPECT_EQ(w.ErrNumber(), row.error) << w.ErrDescription();
    if (row.error == 0 || row.pages > 0) EXPECT_EQ(title, row.title);
    else EXPECT_EQ(title, "unchanged");
    // A failed parse is not kept: asking again reports the failure again.
    if (row.error != 0) {
      pdf::PdfWriter again;
      again.GetInfo(path);
      again.GetInfo(path);
      EXPECT_EQ(again.ErrNumber(), row.error);
    }
  }
  pdf::PdfWriter w;
  EXPECT_EQ(w.GetInfo(dir.file("none.pdf")), 0);
  EXPECT_EQ(w.ErrNumber(), 53);
  EXPECT_EQ(w.ErrDescription(), dir.file("none.pdf") + " - File not found");
}

std::string Deflate(const std::string& s) {
  uLongf n = compressBound(static_cast<uLong>(s.size()));
  std::string out(n, '\0');
  compress(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(s.data()),
           static_cast<uLong>(s.size()));
  out.resize(n);
  return out;
}

// The number of the object whose text starts with `head` in a written file.
std::string ObjectWith(const std::string& file, const std::string& head) {
  const std::size_t at = file.find(" 0 obj\n" + head);
  if (at == std::string::npos) return "";
  const std::size_t start = file.rfind('\n', at) + 1;
  return file.substr(start, at - start);
}

struct ImportRow {
  const char* name;
  std::function<std::string(std::vector<std::string>&)> file;
  std::int32_t page;
  bool protect;
  std::int32_t error;  // the PdfError ImportPage fails with; 0 = none
  std::function<void(const std::string& path, const std::string& bytes)> check;
};

TEST(ReaderFaults, ImportPageOnHandMadeFiles) {
  const std::string second = "0 0 1 rg 0 0 50 50 re f";
  auto contains = [](std::string what) {
    return [what](const std::string&, const std::string& bytes) {
      EXPECT_NE(bytes.find(what), std::string::npos) << what;
    };
  };
  auto form_stream = [second](const std::string& path, const std::string& bytes) {
    const std::string n = ObjectWith(bytes, "<< /Type /XObject /Subtype /Form");
    const pdftest::ToolResult r = pdftest::Qpdf({"--show-object=" + n, "--filtered-stream-data", path});
    EXPECT_EQ(r.out, std::string(kContent) + "\n" + second);
  };
  const std::vector<ImportRow> rows = {
      {"sound file: the copied font, then the form", [](auto& b) { return Build(b); }, 1, false, 0,
       contains("4 0 obj\n<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>\nendobj\n"
                "5 0 obj\n<< /Type /XObject /Subtype /Form /FormType 1\n   /BBox [0 0 200 100 ]\n"
                "   /Resources << /Font << /F1 4 0 R >> >>\n   /Length 32\n>>\n"
                "stream\r\nBT /F1 12 Tf 10 10 Td (Hi) Tj ET\rendstream\nendobj\n")},
      {"copied stream with an indirect /Length", [](auto& b) {
         b[2] = Replace(b[2], ">> >>", ">> /XObject << /X 8 0 R >> >>");
         b.push_back("<< /Subtype /Form /BBox [0 0 1 1] /Length 9 0 R >>\nstream\nabc\nendstream");
         b.push_back("3");
         return Build(b); }, 1, false, 0,
       contains("4 0 obj\n<< /Subtype /Form /BBox [0 0 1 1] /Length  3  >>\nstream\r\nabc\rendstream\nendobj\n")},
      {"media box not at 0 0", [](auto& b) { b[3] = Replace(b[3], "[0 0 300 300]", "[100 100 300 400]"); return Build(b); }, 2, false, 0,
       contains("1 0 0 -1 -100 400 cm")},
      {"source version 1.6", [](auto& b) { return Build(b, "", "\n", "%PDF-1.6"); }, 1, false, 0, contains("%PDF-1.6")},
      {"two streams, deflated and plain, array filter", [second](auto& b) {
         const std::string z = Deflate(kContent);
         b[4] = "<< /Length " + std::to_string(z.size()) + " /Filter [/FlateDecode] >>\nstream\n" + z + "\nendstream";
         b.push_back("<< /Length " + std::to_string(second.size()) + " >>\nstream\n" + second + "\nendstream");
         b[2] = Replace(b[2], "/Contents 5 0 R", "/Contents [5 0 R 8 0 R]");
         return Build(b); }, 1, false, 0, form_stream},
      {"contents through an array object", [second](auto& b) {
         b.push_back("<< /Length " + std::to_string(second.size()) + " >>\nstream\n" + second + "\nendstream");
         b.push_back("\n[5 0 R 8 0 R]");
         b[2] = Replace(b[2], "/Contents 5 0 R", "/Contents 9 0 R");
         return Build(b); }, 1, false, 0, form_stream},
      {"reference cycle among resources", [](auto& b) { b[5] = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Self 6 0 R /Again [6 0 R] >>"; return Build(b); }, 1, false, 0,
       contains("/Self")},
      {"strings of copies encrypted", [](auto& b) { b[5] = "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Note (Secret words) >>"; return Build(b); }, 1, true, 0,
       [](const std::string& path, const std::string& bytes) {
         EXPECT_EQ(bytes.find("Secret words"), std::string::npos);
         const std::string n = ObjectWith(bytes, "<< /Type /Font");
         EXPECT_NE(pdftest::Qpdf({"--show-object=" + n, path}).out.find("Secret words"), std::string::npos);
       }},
      {"lying /Length", [](auto& b) { b[4] = Replace(b[4], "/Length 32", "/Length 40"); return Build(b); }, 1, false, 321, nullptr},
      {"/Length past the end", [](auto& b) { b[4] = Replace(b[4], "/Length 32", "/Length 999999"); return Build(b); }, 1, false, 321, nullptr},
      {"negative /Length", [](auto& b) { b[4] = Replace(b[4], "/Length 32", "/Length -5"); return Build(b); }, 1, false, 321, nullptr},
      {"zero-size media box", [](auto& b) { b[3] = Replace(b[3], "[0 0 300 300]", "[0 0 0 300]"); return Build(b); }, 2, false, 321, nullptr},
      {"/Parent cycle without a media box", [](auto& b) { b[3] = "<< /Type /Page /Parent 4 0 R >>"; return Build(b); }, 2, false, 321, nullptr},
      {"deflated content that does not decode", [](auto& b) {
         b[4] = "<< /Length 6 /Filter /FlateDecode >>\nstream\nx\x9c\xff\xff\xff\xff\nendstream";
         b.push_back(b[4]);
         b[2] = Replace(b[2], "/Contents 5 0 R", "/Contents [5 0 R 8 0 R]");
         return Build(b); }, 1, false, 321, nullptr},
  };
  pdftest::TempDir dir;
  for (const ImportRow& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<std::string> bodies = Bodies();
    const std::string src = dir.file("src.pdf");
    pdftest::WriteFile(src, row.file(bodies));
    const std::string out = pdftest::TempPdf("out");
    pdf::PdfWriter w;
    if (row.protect) w.SetProtection(4, "owner", "");
    w.BeginDoc(out);
    w.BeginPage();
    std::int32_t error = 0;
    try {
      w.ImportPage(src, row.page, 0, 0);
      // The same page again is drawn from the same form XObject.
      w.ImportPage(src, row.page, 10, 10, 5);
    } catch (const pdf::PdfError& e) {
      error = e.Number();
    }
    EXPECT_EQ(error, row.error);
    w.EndDoc();
    const std::string bytes = pdftest::ReadFile(out);
    const pdftest::ToolResult check = pdftest::QpdfCheck(out);
    EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
    EXPECT_EQ(pdftest::Count(bytes, "/Subtype /Form /FormType 1"), row.error == 0 ? 1 : 0);
    if (!row.protect) {
      EXPECT_EQ(pdftest::Count(bytes, "/_PDF_1." + std::to_string(row.page) + " Do"), row.error == 0 ? 2 : 0);
    }
    if (row.check) row.check(out, bytes);
  }
}

// An import that fails (here: no output file yet) keeps nothing reserved:
// the same page imported once the document is open copies its objects.
TEST(ReaderFaults, FailedImportLeavesNothingBehind) {
  pdftest::TempDir dir;
  const std::string src = dir.file("src.pdf");
  pdftest::WriteFile(src, Build(Bodies()));
  const std::string out = pdftest::TempPdf("out");
  pdf::PdfWriter w;
  std::int32_t error = 0;
  try {
    w.ImportPage(src, 1, 0, 0);
  } catch (const pdf::PdfError& e) {
    error = e.Number();
  }
  EXPECT_EQ(error, 52);
  w.BeginDoc(out);
  w.BeginPage();
  w.ImportPage(src, 1, 0, 0);
  w.EndDoc();
  const pdftest::ToolResult check = pdftest::QpdfCheck(out);
  EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
  EXPECT_NE(pdftest::ReadFile(out).find("/BaseFont /Helvetica"), std::string::npos);
}

}  // namespace
