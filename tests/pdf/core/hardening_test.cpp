// Whatever a caller passes, a valid file: name escapes, the checked-in
// scripts of hostile calls through the real readers, and texts and dates as
// readers decode them.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <regex>
#include <sstream>

#include <zlib.h>

#include "pdf/core/pdf_name.h"
#include "tests/fuzz/pdf_judge.h"
#include "tests/fuzz/writer_script.h"
#include "tests/pdf/core/core_probe.h"

namespace {

using pdftest::Count;

TEST(Hardening, NameTokens) {
  const char* cases[][2] = {{"Arial,Bold", "/Arial,Bold"}, {"", "/"}, {"My/Font(1)", "/My#2FFont#281#29"},
                            {"a b\tc#", "/a#20b#09c#23"}, {"<>[]{}%", "/#3C#3E#5B#5D#7B#7D#25"},
                            {"\x7F\x80\xFF", "/#7F#80#FF"}, {"~!'*-.", "/~!'*-."}};
  for (const auto& c : cases) EXPECT_EQ(pdf::NameToken(c[0]), c[1]) << c[0];
  EXPECT_EQ(pdf::NameToken(std::string("a\0b", 3)), "/a#2300b");  // readers refuse #00
  const std::string a = pdf::NameToken(std::string(200, 'a')), b = pdf::NameToken(std::string(201, 'a'));
  EXPECT_EQ(a.size(), 127u);  // every reader takes 126 bytes
  EXPECT_NE(a, b);
}

// Each script's file holds up to our reader's judgement, passes qpdf
// --check, Ghostscript, MuPDF and poppler without a message and holds the
// bytes its expectation lines ask for ("#= text" at least once, "#N text"
// N times, "#~ a|b" as often as b; "#i text" in what pdfinfo shows).
TEST(Hardening, ScriptsOfHostileCallsGiveValidFiles) {
  const std::filesystem::path scripts = SEVRINA_SOURCE_DIR "/tests/fuzz/corpus/writer_calls_fuzz";
  for (const auto& entry : std::filesystem::directory_iterator(scripts)) {
    if (entry.path().extension() != ".txt") continue;
    SCOPED_TRACE(entry.path().filename().string());
    const std::string script = pdftest::ReadFile(entry.path().string()), path = core_test::TempPdf(entry.path().stem().string());
    ASSERT_EQ(writer_script::RunScript(script, path), 1);
    const std::string file = pdftest::ReadFile(path);
    EXPECT_EQ(pdf_judge::JudgeFile(pdf::as_bytes(file)), "");
    std::istringstream lines(script);
    for (std::string line; std::getline(lines, line);) {
      const std::size_t blank = line.find(' ');
      if (line[0] != '#' || blank < 2 || blank == std::string::npos) continue;
      const std::string tag = line.substr(1, blank - 1), text = writer_script::Text({line.substr(blank + 1)}, 0);
      const std::size_t bar = tag == "~" ? text.find('|') : text.size();
      const int found = Count(tag == "i" ? pdftest::Pdfinfo(path).out : file, text.substr(0, bar));
      EXPECT_EQ(found, tag == "=" || tag == "i" ? std::max(found, 1) : tag == "~" ? Count(file, text.substr(bar + 1)) : std::atoi(tag.c_str())) << line;
    }
    pdftest::ExpectReadersAccept(path);
    const pdftest::ToolResult drawn = pdftest::RunTool({"mutool", "draw", "-q", "-o", "/dev/null", "-F", "pgm", path});
    EXPECT_EQ(std::regex_replace(drawn.err, std::regex("warning: ICC support is not available\n"), ""), "");
    const pdftest::ToolResult rendered = pdftest::RunTool({"pdftoppm", "-r", "9", "-gray", path, path + ".page"});
    EXPECT_EQ(rendered.err, "") << "pdftoppm";
  }
}

// A file of these objects, numbered from 1 (the first the catalog), with
// its cross-reference table.
std::string FileOf(const std::vector<std::string>& objects) {
  const std::string size = std::to_string(objects.size() + 1);
  std::string file = "%PDF-1.4\n", xref = "xref\n0 " + size + "\n0000000000 65535 f \n";
  for (std::size_t i = 0; i < objects.size(); ++i) {
    char entry[21];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", file.size());
    xref += entry;
    file += std::to_string(i + 1) + " 0 obj\n" + objects[i] + "\nendobj\n";
  }
  return file + xref + "trailer\n<< /Size " + size + " /Root 1 0 R >>\nstartxref\n" + std::to_string(file.size()) +
         "\n%%EOF\n";
}

// A stream object of this dictionary's entries and data.
std::string StreamObject(const std::string& entries, const std::string& data) {
  return "<< " + entries + " /Length " + std::to_string(data.size()) + " >>\nstream\n" + data + "\nendstream";
}

// The objects of a one-page file around the content (object 4; font /F1
// in its resources), for the judge that replays the scripts. A recorded
// object (object 6, drawn as /X1) holds the form's content; further
// resources and objects, numbered from 7, may follow.
std::vector<std::string> PageObjects(const std::string& content, const std::string& form = "",
                                     const std::string& resources = "/XObject << /X1 6 0 R >>",
                                     const std::vector<std::string>& more = {}) {
  std::vector<std::string> objects = {
      "<< /Type /Catalog /Pages 2 0 R >>", "<< /Type /Pages /Kids [3 0 R] /Count 1 >>",
      "<< /Type /Page /Parent 2 0 R /MediaBox [0 0 200 200] /Contents 4 0 R "
      "/Resources << /Font << /F1 5 0 R >> " + resources + " >> >>",
      StreamObject("", content), "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica >>",
      StreamObject("/Type /XObject /Subtype /Form /BBox [0 0 10 10]", form)};
  objects.insert(objects.end(), more.begin(), more.end());
  return objects;
}

// That file.
std::string PageFile(const std::string& content, const std::string& form = "",
                     const std::string& resources = "/XObject << /X1 6 0 R >>",
                     const std::vector<std::string>& more = {}) {
  return FileOf(PageObjects(content, form, resources, more));
}

// Each rule of the judge on a content that breaks only it, on the page
// and in a recorded object without resources of its own (it takes the
// page's).
TEST(Hardening, JudgeFindsEachFaultOfContent) {
  const char* cases[][2] = {
      {"q BT /F1 12 Tf 1 0 0 1 10 10 Tm (a) Tj ET 10 10 m 20 20 l S Q", ""},
      {"12 Tf", "\"Tf\" has 1 operands"},
      {"/F2 12 Tf", "names the font /F2"},
      {"/Im1 Do", "names the XObject /Im1"},
      {"/P1 scn", "names the pattern /P1"},
      {"10 10 m 20 20 l S 30 30 l S", "\"l\" has no current point"},
      {"h", "no current point"},
      {"0 g b*", "\"b*\" has no current point"},
      {"10 10 m 20 20 l S s", "\"s\" has no current point"},
      {"10 10 m q /X1 Do Q 20 20 l S", "\"q\" stands inside a path"},
      {"10 10 m /X1 Do", "\"Do\" stands inside a path"},
      {"10 10 m BT ET", "\"BT\" stands inside a path"},
      {"10 10 m 1 0 0 1 5 5 cm 20 20 l S", "\"cm\" stands inside a path"},
      {"/Span BMC 10 10 m EMC", "\"EMC\" stands inside a path"},
      {"10 10 m 20 20 l", "ends inside a path"},
      {"10 10 m 20 20 l W h S", "\"h\" follows \"W\""},
      {"10 10 m 20 20 l h W 1 0 0 rg S", "\"rg\" follows \"W\""},
      {"W n", "\"W\" has no current point"},
      {"10 10 m 1 0 0 RG 0 g 2 w [2 1] 0 d 1 J 1 j 2 M 3 Tc 100 Tz 20 20 l h W* n 0 0 5 5 re W f*", ""},
      {"0 J 2 j [] 0 d [0 1] 5 d 0 w 1 M 0 1 -1 0 5 5 cm 10 10 m 20 20 l S", ""},
      {"5 J", "\"J\" has an operand out of its range"},
      {"1.5 J", "\"J\" has an operand out of its range"},
      {"7 j", "\"j\" has an operand out of its range"},
      {"[0 0] 0 d", "\"d\" has an operand out of its range"},
      {"[2 -1] 0 d", "\"d\" has an operand out of its range"},
      {"-1 w", "\"w\" has an operand out of its range"},
      {"0.5 M", "\"M\" has an operand out of its range"},
      {"0 0 0 0.5 100 100 cm", "\"cm\" sets a matrix with no inverse"},
      {"q q Q", "1 saved states never restored"},
      {"Q", "restores a state never saved"},
      {"BT BT ET ET", "opens a text object inside another"},
      {"(a) Tj", "outside a text object"},
      {"BT", "a text object never ended"},
      {"1 2 xx", "\"xx\" is no operator"},
      {"BX 1 2 xx EX", ""},
      {"/Span BMC q /Tag BMC Q EMC EMC", ""},
      {"EMC", "\"EMC\" closes marked content never opened"},
      {"/Span BMC", "1 marked-content sequences never closed"},
      {"/OC /L1 BDC EMC", "names the property list /L1"},
      {"12345678901234567890 0 m", "outside the range readers take"},
      {"1 0 0 1 0 0", "operands without an operator"}};
  for (const auto& c : cases) {
    const std::string fault = pdf_judge::JudgeFile(pdf::as_bytes(PageFile("/X1 Do", c[0])));
    if (*c[1] == '\0') EXPECT_EQ(fault, "") << "recorded: " << c[0];
    else EXPECT_NE(fault.find(c[1]), std::string::npos) << "recorded: " << c[0] << ": " << fault;
  }
  for (const auto& c : cases) {
    const std::string fault = pdf_judge::JudgeFile(pdf::as_bytes(PageFile(c[0])));
    if (*c[1] == '\0') EXPECT_EQ(fault, "") << c[0];
    else EXPECT_NE(fault.find(c[1]), std::string::npos) << c[0] << ": " << fault;
  }
  std::string broken = PageFile("");
  broken.replace(broken.find("endobj"), 6, "      ");  // the catalog without "endobj", offsets kept
  EXPECT_EQ(pdf_judge::JudgeFile(pdf::as_bytes(broken)), "object 1: no \"endobj\" after its value");
}

// The judge's rules beyond the content's grammar: an uncoloured tile's
// cell, and the forms it draws (/X1, object 6), carry no colour and no
// picture but a stencil mask, while a coloured tile may; every widget
// is a field with a type and a name, on it or on its parent.
TEST(Hardening, JudgeFindsColourInUncolouredTilesAndWidgetsThatAreNoFields) {
  const std::string picture = StreamObject("/Type /XObject /Subtype /Image /Width 1 /Height 1 /ColorSpace /DeviceGray "
                                           "/BitsPerComponent 8", "x");
  const std::string mask = StreamObject("/Type /XObject /Subtype /Image /Width 1 /Height 1 /ImageMask true "
                                        "/BitsPerComponent 1", "x");
  const struct {
    const char *cell, *form, *fault;
  } tiles[] = {
      {"0 0 5 5 re f q /X1 Do Q q /Mask Do Q", "0 0 2 2 re f", ""},
      {"0.5 g 0 0 5 5 re f", "", "\"g\" sets a colour in an uncoloured tiling pattern's cell"},
      {"1 0 0 RG 0 0 5 5 re S", "", "\"RG\" sets a colour"},
      {"/DeviceRGB cs 1 0 0 sc", "", "\"cs\" sets a colour"},
      {"0 0 0 1 k", "", "\"k\" sets a colour"},
      {"q /Picture Do Q", "", "\"Do\" draws a picture"},
      {"q /X1 Do Q", "0 0 1 rg 0 0 2 2 re f", "object 6, drawn in an uncoloured tiling pattern: content at 6: \"rg\""},
      {"q /X1 Do Q", "q /Picture Do Q", "object 6, drawn in an uncoloured tiling pattern: content at 11: \"Do\" draws"}};
  for (const auto& t : tiles) {
    for (const int paint : {1, 2}) {
      const std::string file = PageFile(
          "", t.form, "/Pattern << /Tile 7 0 R >> /XObject 8 0 R",
          {StreamObject("/Type /Pattern /PatternType 1 /PaintType " + std::to_string(paint) +
                            " /TilingType 1 /BBox [0 0 10 10] /XStep 10 /YStep 10 /Resources << /XObject 8 0 R >>",
                        t.cell),
           "<< /X1 6 0 R /Picture 9 0 R /Mask 10 0 R >>", picture, mask});
      const std::string fault = pdf_judge::JudgeFile(pdf::as_bytes(file));
      if (paint == 1 || *t.fault == '\0') EXPECT_EQ(fault, "") << paint << ": " << t.cell << " | " << t.form;
      else EXPECT_NE(fault.find(t.fault), std::string::npos) << t.cell << " | " << t.form << ": " << fault;
    }
  }
  const struct {
    const char *widget, *fault;
  } widgets[] = {{"/FT /Tx /T (a)", ""},
                 {"/T (a)", "object 7: a widget of no field type"},
                 {"/FT /Tx", "object 7: a widget of no field name"},
                 {"/Parent 8 0 R", ""}};
  for (const auto& w : widgets) {
    const std::string file =
        PageFile("", "", "/XObject << /X1 6 0 R >>", {"<< /Type /Annot /Subtype /Widget /Rect [0 0 10 10] " + std::string(w.widget) + " >>",
                              "<< /FT /Btn /T (group) /Kids [7 0 R] >>"});
    const std::string fault = pdf_judge::JudgeFile(pdf::as_bytes(file));
    if (*w.fault == '\0') EXPECT_EQ(fault, "") << w.widget;
    else EXPECT_EQ(fault.rfind(w.fault, 0), 0u) << w.widget << ": " << fault;
  }
}

// LZW codes packed most significant bit first, each as wide as a reader
// with this EarlyChange reads it when every code after the first that
// follows the opening clear adds an entry (as codes of one byte do): 9
// bits, one more from the code read when the table holds 511 entries
// (EarlyChange 1) or 512 (EarlyChange 0), again at 1023 or 1024 and 2047
// or 2048.
std::string LzwCodes(const std::vector<unsigned>& codes, int early_change = 1) {
  std::string out;
  std::uint32_t pending = 0;
  int bits = 0;
  for (std::size_t i = 0; i < codes.size(); ++i) {
    const std::size_t entries = (i < 2 ? 258 : 256 + i) + early_change;
    const int width = entries >= 2048 ? 12 : entries >= 1024 ? 11 : entries >= 512 ? 10 : 9;
    pending = pending << width | codes[i];
    for (bits += width; bits >= 8;) out.push_back(static_cast<char>(pending >> (bits -= 8)));
    pending &= (1u << bits) - 1;
  }
  if (bits > 0) out.push_back(static_cast<char>(pending << (8 - bits)));
  return out;
}

// The text as LZW codes of one byte each, between a clear and the end code.
std::string LzwLiterals(const std::string& text, int early_change) {
  std::vector<unsigned> codes = {256};
  for (const char c : text) codes.push_back(static_cast<unsigned char>(c));
  codes.push_back(257);
  return LzwCodes(codes, early_change);
}

std::string Zlib(const std::string& text) {
  uLongf size = compressBound(text.size());
  std::string out(size, '\0');
  compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(text.data()), text.size(), 9);
  return out.substr(0, size);
}

std::string HexOf(const std::string& bytes) { return core_test::Hex(bytes.data(), bytes.size()) + ">"; }

// The judge undoes every filter the writer writes, by its own decoders,
// in the order /Filter lists them, and judges the content like any other:
// an open path or a text object never ended is found under each filter and
// chain, the same content made right passes, and a stream that does not
// decode is a fault naming its filter. Every stream made by hand here is
// read by qpdf as the row says (Plain), where it decodes.
TEST(Hardening, JudgeReadsContentUnderEveryFilter) {
  const std::string good = "0 0 5 5 re f", open = "0 0 5 5 re", text = "BT /F1 9 Tf";
  const std::string spaces = good + std::string(300, ' ');  // an LZW table past 511 entries
  // 3839 codes of one byte fill the LZW table's 4096 entries; one more needs a clear.
  const std::string full = good + std::string(3839 - good.size(), ' '), over = full + " ";
  const char* kOpen = "content: ends inside a path";
  const char* kText = "content: a text object never ended";
  const std::optional<std::string> none;
  const struct {
    std::string entries, data;
    // What the stream decodes to, read back by qpdf and MuPDF too (empty:
    // not read back); none when it does not decode.
    std::optional<std::string> plain;
    std::string fault;
  } rows[] = {
      {"/Filter /ASCIIHexDecode", "302030\n2035203520\t72 65 2066>", good, ""},
      {"/Filter [/ASCIIHexDecode]", "302030203520352072652066", good, ""},  // no ">"
      {"/Filter /ASCIIHexDecode", "302030203520352072652066 2>", good + " ", ""},  // an odd last digit
      {"/Filter /ASCIIHexDecode", "302030203520352072652066 2", none,
       "content under /ASCIIHexDecode does not decode: an odd last digit without \">\""},
      {"/Filter /ASCIIHexDecode", "3020302035203520726 5>", open, kOpen},
      {"/Filter /ASCIIHexDecode", "4254>4554", "BT", kText},  // nothing is read after ">"
      {"/Filter /ASCIIHexDecode", "3020G0>", none,
       "content under /ASCIIHexDecode does not decode: the byte 0x47 at 4 is no hexadecimal digit"},
      {"/Filter /ASCII85Decode", "0H`%l2'=b!\nEb-A*z~>", good + std::string(4, '\0'), ""},
      {"/Filter /ASCII85Decode", "0H`%l2'=b!Eb-@9", open + "  ", kOpen},  // no "~>" after whole groups
      {"/Filter /ASCII85Decode", "0H`%l2'=b!Eb,", none, "/ASCII85Decode does not decode: the last group is cut short"},
      {"/Filter /ASCII85Decode", "6<#'\\7PQ#G+B2q~>", text, kText},
      {"/Filter /ASCII85Decode", "6<!~>6<!", "BT", kText},
      {"/Filter /ASCII85Decode", "0H`%l2'=b!Eb-A*~", none, "/ASCII85Decode does not decode: \"~\" at 15 without \">\""},
      {"/Filter /ASCII85Decode", "s8W-\"~>", none, "/ASCII85Decode does not decode: the group ending at 4 exceeds 2^32 - 1"},
      {"/Filter /ASCII85Decode", "0H`%lv~>", none, "/ASCII85Decode does not decode: the byte 0x76 at 5 is no base-85 digit"},
      {"/Filter /ASCII85Decode", "0H`%l2~>", none, "/ASCII85Decode does not decode: the last group has one digit"},
      {"/Filter /ASCII85Decode", "0H`z%l~>", none, "/ASCII85Decode does not decode: \"z\" at 3 inside a group"},
      // 258 = "  " comes before the decoder has it: the string before and its first byte.
      {"/Filter /LZWDecode", LzwCodes({256, 32, 258, 48, 32, 260, 53, 32, 263, 114, 101, 32, 102, 257}), "   " + good, ""},
      {"/Filter /LZWDecode", LzwCodes({256, 48, 32, 258, 53, 32, 261, 114, 101, 257}), open, kOpen},
      // A clear in the middle, and no end code after the last whole byte.
      {"/Filter /LZWDecode", LzwCodes({256, 48, 32, 256, 48, 32, 53, 32, 53, 32, 114, 101, 32, 102, 32, 32}), good + "  ", ""},
      {"/Filter /LZWDecode", LzwCodes({256, 48, 32, 256, 48, 32, 53, 32, 53, 32, 114, 101, 32, 102}), none,
       "/LZWDecode does not decode: the data ends 2 bits into a code, without the end code"},
      {"/Filter /LZWDecode", LzwCodes({256, 66, 84, 257, 32, 69, 84}), "BT", kText},
      {"/Filter /LZWDecode", LzwCodes({256, 48, 300, 257}), none,
       "/LZWDecode does not decode: the code 300 at bit 18 names no entry of the table (258 entries)"},
      {"/Filter /LZWDecode", LzwCodes({256, 258, 257}), none, "/LZWDecode does not decode: the code 258 at bit 9"},
      {"/Filter /LZWDecode", LzwLiterals(spaces, 1), spaces, ""},
      {"/Filter /LZWDecode /DecodeParms << /EarlyChange 1 >>", LzwLiterals(spaces + "BT", 1), spaces + "BT", kText},
      {"/Filter /LZWDecode /DecodeParms << /EarlyChange 0 >>", LzwLiterals(spaces, 0), spaces, ""},
      {"/Filter [/LZWDecode] /DecodeParms [<< /EarlyChange 0 >>]", LzwLiterals(spaces + "BT", 0), spaces + "BT", kText},
      {"/Filter /LZWDecode", LzwLiterals(spaces, 0), "", "/LZWDecode does not decode"},  // 10 bits one code early
      {"/Filter /LZWDecode", LzwLiterals(full, 1), full, ""},
      {"/Filter /LZWDecode /DecodeParms << /EarlyChange 0 >>", LzwLiterals(full, 0), full, ""},
      {"/Filter /LZWDecode", LzwLiterals(over, 1), none,
       "/LZWDecode does not decode: the code at bit 43267 would make a 4097th entry"},
      {"/Filter /LZWDecode /DecodeParms << /EarlyChange 2 >>", LzwLiterals(spaces, 1), "", "/EarlyChange is neither"},
      {"/Filter /RunLengthDecode", "\xfe \x0b" + good + "\x80", "   " + good, ""},
      {"/Filter /RunLengthDecode", "\x09" + open, open, kOpen},  // no end code
      {"/Filter /RunLengthDecode", std::string("\x01" "BT\x80\x02 ET"), none,
       "/RunLengthDecode does not decode: the end code at 3 has 4 bytes after it"},
      {"/Filter /RunLengthDecode", "\x0b" "0 0 5", none, "/RunLengthDecode does not decode: the run at 0 needs 12 bytes"},
      {"/Filter /RunLengthDecode", "\x01" "BT\xfe", none, "/RunLengthDecode does not decode: the run at 3 needs 1 bytes"},
      {"/Filter /FlateDecode", Zlib(good), good, ""},
      {"/Filter [/FlateDecode]", Zlib(text), text, kText},
      {"/Filter /FlateDecode", "x\x9c\x03garbage", none, "content under /FlateDecode does not decode"},
      {"/Filter [/ASCIIHexDecode /RunLengthDecode]", "0b302030203520352072652066 80>", good, ""},
      {"/Filter [/ASCIIHexDecode /RunLengthDecode]", "0b3020302035203520726520>", none,
       "content under /RunLengthDecode (filter 2 of 2) does not decode: the run at 0 needs 12 bytes, the data has 11"},
      {"/Filter [/ASCII85Decode /FlateDecode]", "GapQd0MjG,_P1!0$,lri~>", open, kOpen},  // zlib's bytes of the open path
      {"/Filter [/ASCII85Decode /FlateDecode]", "GapQd0MjG,_P1\"`1]S#h!iQ~", none, "/ASCII85Decode (filter 1 of 2) does not"},
      {"/Filter [/ASCII85Decode /ASCIIHexDecode /RunLengthDecode]", "0Ocgl1,(L<1,(LA1,(LA1,(XB2Dm6D2E!NK4o~>", good, ""},
      {"/Filter [/ASCIIHexDecode /LZWDecode] /DecodeParms [null << /EarlyChange 0 >>]", HexOf(LzwLiterals(spaces, 0)),
       spaces, ""},
      {"/Filter [/ASCIIHexDecode /LZWDecode /RunLengthDecode]",
       HexOf(LzwCodes({256, 9, 48, 32, 48, 32, 53, 32, 53, 32, 114, 101, 257})), open, kOpen},
      {"/Filter /DCTDecode", good, "", "content under /DCTDecode, a filter the judge does not read"},
      {"/Filter [/ASCIIHexDecode /AHx]", "00>", "", "content under /AHx (filter 2 of 2), a filter the judge does not"},
      {"/Filter /FlateDecode /DecodeParms << /Predictor 12 /Columns 4 >>", Zlib(good), "", "a /Predictor the judge"},
      {"/Filter [/ASCIIHexDecode 5]", "00>", "", "/Filter holds something other than a filter's name"}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.entries + " | " + row.data.substr(0, 40));
    std::vector<std::string> page = PageObjects(""), recorded = PageObjects("/X1 Do");
    page[3] = StreamObject(row.entries, row.data);
    recorded[5] = StreamObject("/Type /XObject /Subtype /Form /BBox [0 0 10 10] " + row.entries, row.data);
    for (const std::string& file : {FileOf(page), FileOf(recorded)}) {
      const std::string fault = pdf_judge::JudgeFile(pdf::as_bytes(file));
      if (row.fault.empty()) EXPECT_EQ(fault, "");
      else EXPECT_NE(fault.find(row.fault), std::string::npos) << fault;
    }
    if (!row.plain || row.plain->empty()) continue;
    const std::string path = core_test::TempPdf("filtered");
    pdftest::WriteFile(path, FileOf(page));
    const pdftest::ToolResult shown = pdftest::Qpdf({"--show-object=4", "--filtered-stream-data", path});
    EXPECT_EQ(shown.out, *row.plain) << shown.err;
    const pdftest::ToolResult mu = pdftest::RunTool({"mutool", "show", "-b", path, "4"});
    EXPECT_EQ(mu.out, *row.plain) << "mutool " << mu.err;
  }
}

// The writer's own files under every compression mode and both ends of
// the quality, read back by the judge: content drawn right passes, and an
// open path is found in each mode (what the writer's encoders wrote, the
// judge's decoders read), however long the content. A handful of the seed scripts of hostile calls
// are replayed with each mode set after BeginDoc.
TEST(Hardening, JudgeReadsTheWriterUnderEveryCompressionMode) {
  const char* seeds[] = {"uncoloured_tile_drawings", "texts", "patterns_layers", "open_path_across_drawings",
                         "tile_plays_object_with_pattern", "duplicates"};
  std::vector<std::string> scripts;
  for (const char* seed : seeds)
    scripts.push_back(
        pdftest::ReadFile(SEVRINA_SOURCE_DIR "/tests/fuzz/corpus/writer_calls_fuzz/" + std::string(seed) + ".txt"));
  const std::string path = core_test::TempPdf("mode");
  for (int mode = 0; mode < 32; ++mode) {
    for (const int quality : {0, 3}) {
      const std::string set = "SetCompression " + std::to_string(mode) + "|" + std::to_string(quality) + "\n";
      for (std::size_t i = 0; i < scripts.size(); ++i) {
        std::string script = scripts[i];
        const std::size_t begin = script.find("BeginDoc\n");
        ASSERT_NE(begin, std::string::npos) << seeds[i];
        script.insert(begin + 9, set);
        ASSERT_EQ(writer_script::RunScript(script, path), 1) << seeds[i];
        EXPECT_EQ(pdf_judge::JudgeFile(pdf::as_bytes(pdftest::ReadFile(path))), "") << seeds[i] << " " << set;
      }
      // Content long enough for LZW to clear its table again and again at
      // either quality, and an open path at its end: the first fault is
      // there, so everything before it was read as it was written.
      core_test::Probe w;
      w.BeginDoc(path);
      w.SetCompression(mode, static_cast<std::uint8_t>(quality));
      w.BeginPage();
      for (int i = 0; i < 2500; ++i)
        w.AppendContent(std::to_string(i % 97) + " " + std::to_string(i % 89) + " 5 5 re f");
      w.AppendContent("0 0 5 5 re");
      w.EndDoc();
      const std::string fault = pdf_judge::JudgeFile(pdf::as_bytes(pdftest::ReadFile(path)));
      EXPECT_EQ(fault, "page 1: content: ends inside a path") << set;
    }
  }
}

// An uncoloured tile whose cell is one rectangle, under ASCII85 (and every
// other mode): readers draw it without a word, and so the judge passes it.
// Its cell's content is judged by the rule of such cells under any filter.
TEST(Hardening, JudgeReadsUncolouredTilesUnderFilters) {
  for (int mode = 0; mode < 32; ++mode) {
    const std::string path = core_test::TempPdf("tile" + std::to_string(mode));
    pdf::PdfWriter w;
    w.BeginDoc(path);
    w.SetCompression(mode);
    w.BeginTiling("cell", 0, 0, 20, 20, 20, 20, 2);
    w.DrawRect(2, 2, 16, 16, 5);
    w.EndTiling();
    w.BeginPage();
    w.SetColorFill("cell;#CC0000");
    w.DrawRect(0, 0, 100, 100, 5);
    w.EndDoc();
    const std::string file = pdftest::ReadFile(path);
    EXPECT_EQ(pdf_judge::JudgeFile(pdf::as_bytes(file)), "") << mode;
    if (mode != 8) continue;
    EXPECT_EQ(Count(file, "/PaintType 2"), 1);
    EXPECT_EQ(Count(file, "/Filter [/ASCII85Decode ]"), 3);  // the tile, the page, the metadata
    pdftest::ExpectReadersAccept(path);
  }
  const struct {
    const char *entries, *cell, *fault;
  } cells[] = {
      {"/Filter /ASCIIHexDecode", "302030203520352072652066>", ""},  // 0 0 5 5 re f
      {"/Filter /ASCIIHexDecode", "302e35206720302030203520352072652066>",  // 0.5 g 0 0 5 5 re f
       "object 7: content at 4: \"g\" sets a colour in an uncoloured"},
      {"/Filter /RunLengthDecode", "\x80", ""},
      {"/Filter /DCTDecode", "x", "object 7: content under /DCTDecode, a filter the judge does not read"}};
  for (const auto& c : cells) {
    const std::string file = PageFile(
        "", "", "/Pattern << /Tile 7 0 R >>",
        {StreamObject(std::string("/Type /Pattern /PatternType 1 /PaintType 2 /TilingType 1 /BBox [0 0 10 10] "
                                  "/XStep 10 /YStep 10 /Resources << >> ") + c.entries,
                      c.cell)});
    const std::string fault = pdf_judge::JudgeFile(pdf::as_bytes(file));
    if (*c.fault == '\0') EXPECT_EQ(fault, "") << c.cell;
    else EXPECT_EQ(fault.rfind(c.fault, 0), 0u) << c.cell << ": " << fault;
  }
}

TEST(Hardening, CreationDateInTheLocalZone) {
  const char* kept = std::getenv("TZ");
  const std::string saved = kept ? kept : "";
  setenv("TZ", "IST-5:30", 1);
  tzset();
  core_test::Probe w;
  const std::string& d = w.Properties.CreationDate;
  EXPECT_TRUE(std::regex_match(d, std::regex(R"(D:\d{14}\+05'30')"))) << d;
  const std::string iso = d.substr(2, 4) + "-" + d.substr(6, 2) + "-" + d.substr(8, 2) + "T" + d.substr(10, 2) + ":" +
                          d.substr(12, 2) + ":" + d.substr(14, 2) + "+05:30";
  EXPECT_EQ(Count(w.BuildXmpMetadata(), ">" + iso + "<"), 5);  // ISO 8601 in XMP
  kept ? setenv("TZ", saved.c_str(), 1) : unsetenv("TZ");
  tzset();
}

}  // namespace
