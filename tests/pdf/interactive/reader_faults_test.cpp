// GetInfo and ImportPage on small hand-made files, one fault each: the row
// names the fault, the file is a sound two-page document with that one
// change, and the row says what the reader must make of it.

#include <zlib.h>

#include <cstdio>
#include <functional>

#include "pdf/PdfWriter.h"
#include "platform/text/cp1252.h"
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
// "<< /Size n+1 /Root 1 0 R /Info 7 0 R" + extra + " >>".
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
  f += "trailer\n<< /Size " + std::to_string(bodies.size() + 1) + " /Root 1 0 R /Info 7 0 R" + extra +
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
std::string LoopedUpdate(std::vector<std::string>& b) {
  std::string f = Build(b, " /Prev XXXXXXXXXX");
  const std::size_t first_xref = f.find("xref\n0 ");
  const std::size_t seven = f.size();
  f += "7 0 obj\n<< /Title (Updated) >>\nendobj\n";
  const std::size_t second_xref = f.size();
  f += "xref\n7 1\n" + Padded(seven) + " 00000 n\r\ntrailer\n<< /Size 8 /Root 1 0 R /Info 7 0 R /Prev " +
       std::to_string(first_xref) + " >>\nstartxref\n" + std::to_string(second_xref) + "\n%%EOF\n";
  return Replace(f, "XXXXXXXXXX", Padded(second_xref));
}

// Makes a row's file from the sound file's bodies.
using FileMaker = std::function<std::string(std::vector<std::string>&)>;

// The sound file with `from` replaced by `to` in body `index` (an empty
// `from`: the whole body), or in the whole file when `index` is -1, and the
// bodies `more` added.
FileMaker Edit(int index, std::string from, std::string to, std::vector<std::string> more = {}) {
  return [=](std::vector<std::string>& b) {
    b.insert(b.end(), more.begin(), more.end());
    if (index < 0) return Replace(Build(b), from, to);
    b[index] = from.empty() ? to : Replace(b[index], from, to);
    return Build(b);
  };
}
const FileMaker kSound = [](std::vector<std::string>& b) { return Build(b); };

// A trailer entry added after /Info.
FileMaker Trailer(const std::string& entry) { return Edit(-1, "/Info 7 0 R", "/Info 7 0 R " + entry); }

struct InfoRow {
  const char* name;
  FileMaker file;
  std::int32_t pages;
  std::string title;
  std::int32_t error;
};

TEST(ReaderFaults, GetInfoOnHandMadeFiles) {
  const std::string base = Build(Bodies());
  const std::string seventh = Padded(base.find("7 0 obj")) + " 00000 n";
  const std::string title = "A (nested) title";
  const std::vector<InfoRow> rows = {
      {"sound file, LF after endobj", kSound, 2, title, 0},
      {"CR LF line ends", [](auto& b) { return Build(b, "", "\r\n"); }, 2, title, 0},
      {"endobj right after >>", [](auto& b) { return Build(b, "", "\n", "%PDF-1.4", ""); }, 2, title, 0},
      {"/Prev to its own section", Trailer("/Prev " + Padded(base.find("xref\n0 "))), 2, title, 0},
      {"/Prev loop through an update", LoopedUpdate, 2, "Updated", 0},
      {"/Prev beyond 32 bits", Trailer("/Prev 99999999999999999999"), 2, title, 0},
      {"lying /Size", Edit(-1, "/Size 8", "/Size 2147483647"), 2, title, 0},
      {"info entry free", Edit(-1, seventh, seventh.substr(0, 17) + "f"), 2, "", 0},
      {"info entry at offset 0", Edit(-1, seventh, "0000000000 00000 n"), 2, "", 0},
      {"UTF-16 title", Edit(6, "", "<< /Title <FEFF00410042> >>"), 2, "AB", 0},
      {"escapes in the title", Edit(6, "", "<< /Title (a\\)b\\\\c\\101\\\nd) >>"), 2, "a)b\\cAd", 0},
      {"octal escapes from 0", Edit(6, "", "<< /Title (a\\053b\\0536\\60) >>"), 2, "a+b+60", 0},
      {"UTF-16 title in octal escapes", Edit(6, "", "<< /Title (\\376\\377\\0\\101\\00\\102) >>"), 2, "AB", 0},
      {"PDFDocEncoding title", Edit(6, "", "<< /Title (\\240 1.250,00 \\205 \\215netto\\216 \\226uvre \\200) >>"), 2,
       cp1252::from_utf8("€ 1.250,00 – “netto” Œuvre •"), 0},
      {"codes without a Windows-1252 letter", Edit(6, "", "<< /Title (a\\237b\\255c\\177d\\030e\\032f) >>"), 2,
       cp1252::from_utf8("abcdeˆf"), 0},
      {"UTF-8 title", Edit(6, "", "<< /Title <EFBBBFE282AC20C592757672652041CE94E282> >>"), 2,
       cp1252::from_utf8("€ Œuvre A"), 0},
      {"title by reference", Edit(6, "", "<< /Title 8 0 R >>", {"(Referred)"}), 2, "Referred", 0},
      {"/Kids cycle", Edit(1, "/Kids [3 0 R 4 0 R]", "/Kids [3 0 R 2 0 R]"), 1, title, 321},
      {"kid missing", Edit(1, "/Kids [3 0 R 4 0 R]", "/Kids [3 0 R 9 0 R]"), 1, title, 321},
      {"nesting too deep", Edit(6, "", "<< /Title " + std::string(200, '[') + " >>"), 2, "", 321},
      {"string without its end", Edit(6, "", "<< /Title (abc >>"), 2, "", 321},
      {"no startxref", Edit(-1, "startxref", "startxrex"), 0, "", 321},
      {"startxref past the end", Edit(-1, "\n%%EOF", "999\n%%EOF"), 0, "", 321},
      {"subsection count lies", Edit(-1, "xref\n0 8", "xref\n0 9"), 0, "", 321},
      {"subsection too large", Edit(-1, "xref\n0 8", "xref\n0 99999999"), 0, "", 321},
      {"encrypted", Trailer("/Encrypt 7 0 R"), 0, "", 321},
      {"hybrid with /XRefStm", Trailer("/XRefStm 9"), 0, "", 321},
      {"cross-reference stream", Edit(-1, "startxref\n" + std::to_string(base.find("xref\n0 ")), "startxref\n9"), 0, "", 321},
  };
  pdftest::TempDir dir;
  for (const InfoRow& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string path = dir.file("f.pdf");
    std::vector<std::string> bodies = Bodies();
    pdftest::WriteFile(path, row.file(bodies));
    pdf::PdfWriter w;
    std::string title = "unchanged";
    EXPECT_EQ(w.GetInfo(path, &title), row.pages);
    EXPECT_EQ(w.ErrNumber(), row.error) << w.ErrDescription();
    EXPECT_EQ(title, row.error == 0 || row.pages > 0 ? row.title : "unchanged");
    if (row.error != 0) {  // a failed parse is not kept: asking again reports the failure again
      pdf::PdfWriter again;
      again.GetInfo(path), again.GetInfo(path);
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
  compress(reinterpret_cast<Bytef*>(out.data()), &n, reinterpret_cast<const Bytef*>(s.data()), static_cast<uLong>(s.size()));
  return out.substr(0, n);
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
  FileMaker file;
  std::int32_t page;
  bool protect;
  std::int32_t error;  // the PdfError ImportPage fails with; 0 = none
  std::function<void(const std::string& path, const std::string& bytes)> check;
};

TEST(ReaderFaults, ImportPageOnHandMadeFiles) {
  const std::string second = "0 0 1 rg 0 0 50 50 re f", z = Deflate(kContent);
  const std::string plain = "<< /Length " + std::to_string(second.size()) + " >>\nstream\n" + second + "\nendstream";
  const std::string bad = "<< /Length 6 /Filter /FlateDecode >>\nstream\nx\x9c\xff\xff\xff\xff\nendstream";
  auto contains = [](std::string what) {
    return [what](const std::string&, const std::string& bytes) { EXPECT_NE(bytes.find(what), std::string::npos) << what; };
  };
  auto form_stream = [second](const std::string& path, const std::string& bytes) {
    const std::string n = ObjectWith(bytes, "<< /Type /XObject /Subtype /Form");
    EXPECT_EQ(pdftest::Qpdf({"--show-object=" + n, "--filtered-stream-data", path}).out, std::string(kContent) + "\n" + second);
  };
  const std::vector<ImportRow> rows = {
      {"sound file: the copied font, then the form", kSound, 1, false, 0,
       contains("4 0 obj\n<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>\nendobj\n"
                "5 0 obj\n<< /Type /XObject /Subtype /Form /FormType 1\n   /BBox [0 0 200 100 ]\n"
                "   /Resources << /Font << /F1 4 0 R >> >>\n   /Length 32\n>>\n"
                "stream\r\nBT /F1 12 Tf 10 10 Td (Hi) Tj ET\rendstream\nendobj\n")},
      {"copied stream with an indirect /Length", Edit(2, ">> >>", ">> /XObject << /X 8 0 R >> >>", {"<< /Subtype /Form /BBox [0 0 1 1] /Length 9 0 R >>\nstream\nabc\nendstream", "3"}), 1, false, 0,
       contains("4 0 obj\n<< /Subtype /Form /BBox [0 0 1 1] /Length  3  >>\nstream\r\nabc\rendstream\nendobj\n")},
      {"media box not at 0 0", Edit(3, "[0 0 300 300]", "[100 100 300 400]"), 2, false, 0, contains("1 0 0 -1 -100 400 cm")},
      {"source version 1.6", Edit(-1, "%PDF-1.4", "%PDF-1.6"), 1, false, 0, contains("%PDF-1.6")},
      {"two streams, deflated and plain, array filter", [=](auto& b) {
         b[4] = "<< /Length " + std::to_string(z.size()) + " /Filter [/FlateDecode] >>\nstream\n" + z + "\nendstream";
         return Edit(2, "/Contents 5 0 R", "/Contents [5 0 R 8 0 R]", {plain})(b); }, 1, false, 0, form_stream},
      {"contents through an array object", Edit(2, "/Contents 5 0 R", "/Contents 9 0 R", {plain, "\n[5 0 R 8 0 R]"}), 1, false, 0, form_stream},
      {"reference cycle among resources", Edit(5, ">>", "/Self 6 0 R /Again [6 0 R] >>"), 1, false, 0, contains("/Self")},
      {"strings of copies encrypted", Edit(5, ">>", "/Note (Secret words) >>"), 1, true, 0,
       [](const std::string& path, const std::string& bytes) {
         EXPECT_EQ(bytes.find("Secret words"), std::string::npos);
         const std::string n = ObjectWith(bytes, "<< /Type /Font");
         EXPECT_NE(pdftest::Qpdf({"--show-object=" + n, path}).out.find("Secret words"), std::string::npos);
       }},
      {"lying /Length", Edit(4, "/Length 32", "/Length 40"), 1, false, 321, nullptr},
      {"/Length past the end", Edit(4, "/Length 32", "/Length 999999"), 1, false, 321, nullptr},
      {"negative /Length", Edit(4, "/Length 32", "/Length -5"), 1, false, 321, nullptr},
      {"zero-size media box", Edit(3, "[0 0 300 300]", "[0 0 0 300]"), 2, false, 321, nullptr},
      {"/Parent cycle without a media box", Edit(3, "", "<< /Type /Page /Parent 4 0 R >>"), 2, false, 321, nullptr},
      {"deflated content that does not decode", [=](auto& b) {
         b[4] = bad;
         return Edit(2, "/Contents 5 0 R", "/Contents [5 0 R 8 0 R]", {bad})(b); }, 1, false, 321, nullptr},
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
    const auto import = [&] {
      try {
        w.ImportPage(src, row.page, 0, 0);
        w.ImportPage(src, row.page, 10, 10, 5);  // drawn again from the same form XObject
      } catch (const pdf::PdfError& e) {
        return e.Number();
      }
      return 0;
    };
    // An import with no output file yet fails and keeps nothing reserved:
    // the objects copied later are numbered from 4 on.
    EXPECT_EQ(import(), 52);
    w.BeginDoc(out);
    w.BeginPage();
    EXPECT_EQ(import(), row.error);
    w.EndDoc();
    const std::string bytes = pdftest::ReadFile(out);
    const pdftest::ToolResult check = pdftest::QpdfCheck(out);
    EXPECT_EQ(check.exit_code, 0) << check.out << check.err;
    EXPECT_EQ(pdftest::Count(bytes, "/Subtype /Form /FormType 1"), row.error == 0 ? 1 : 0);
    if (!row.protect) { EXPECT_EQ(pdftest::Count(bytes, "/_PDF_1." + std::to_string(row.page) + " Do"), row.error == 0 ? 2 : 0); }
    if (row.check) row.check(out, bytes);
  }

  // A file that cannot be opened after another was read: nothing of the
  // other file is drawn in its place.
  std::vector<std::string> bodies = Bodies();
  const std::string src = dir.file("src.pdf"), out = pdftest::TempPdf("out");
  pdftest::WriteFile(src, Build(bodies));
  pdf::PdfWriter w;
  w.BeginDoc(out);
  w.BeginPage();
  EXPECT_EQ(w.GetInfo(src), 2);
  for (const std::string& missing : {dir.file("none.pdf"), dir.path().string()}) {
    w.ImportPage(missing, 1, 0, 0);
    EXPECT_EQ(w.ErrNumber(), 53) << missing;
  }
  w.EndDoc();
  EXPECT_EQ(pdftest::Count(pdftest::ReadFile(out), "/Subtype /Form"), 0);
}

}  // namespace
