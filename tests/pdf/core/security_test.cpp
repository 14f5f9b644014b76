// The standard security handler: the bytes of the encryption dictionary,
// and protected documents as real readers see them (pdfinfo, qpdf, mutool,
// Ghostscript).

#include "tests/pdf/core/core_probe.h"

namespace {

constexpr const char* kOwner = "ravoduzorude";

using namespace core_test;

// The title and the other strings carry every byte that escaping or a
// careless encryption could disturb.
const std::string kTitle = "Modello 1.a (prova) \\ fine\r\nriga \xE8 \x01";

// A document as the program writes one (protection before BeginDoc, two
// pages, text in the information dictionary, a bookmark, a label and a
// stream object).
void WriteDocument(Probe& w, const std::string& path, std::int32_t protection) {
  w.SetProtection(protection, kOwner, "");
  w.SetDocProperty(kTitle, "Oggetto: contributo (ORTESA 3)", "Amministratore \xE8", "Sevrina", "",
                   "parole; chiave");
  w.BeginDoc(path);
  EXPECT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
  w.BeginPage();
  w.AppendContent("56.693 100 m 538.583 100 l S");
  w.AddBookmark("Capitolo (primo) \\ \xE8", 0);
  w.SetLabel(1, "A-(1)");
  w.BeginPage();
  std::string text;
  for (int k = 0; k < 400; ++k) text += "\rBT (Il sottoscritto \\(amministratore\\) " + std::to_string(k) + ") Tj ET";
  w.WriteStreamObject(text);
  w.EndDoc();
}

std::string LineStarting(const std::string& text, const std::string& start) {
  const std::size_t p = text.find(start);
  return p == std::string::npos ? "" : text.substr(p, text.find('\n', p) - p);
}

// Opens without a password, with exactly the permissions of the mode, and
// the owner password is recognised as such. The encryption dictionary is an
// object of its own, its entries escaped but not encrypted, ending as the
// revision requires; the trailer's identifier is twice the hexadecimal form
// of the producer followed by "2.4.4".
TEST(ProtectedDocument, RevisionPermissionsAndKeyInReaders) {
  auto escape = [](const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c != 0 && std::strchr("\\()", c) ? std::string{'\\', c} : std::string(1, c);
    return out;
  };
  const std::string no_copy = "print:yes copy:no change:no addNotes:no";
  const struct {
    std::int32_t mode;
    const char* revision;
    const char* permission;
    std::string pdfinfo_flags;
    std::vector<const char*> qpdf_lines;
  } cases[] = {
      {4, "R = 2", "P = -60", no_copy, {"print low resolution: allowed", "extract for any purpose: not allowed", "modify annotations: not allowed", "modify other: not allowed"}},
      {0, "R = 2", "P = -64", "print:no copy:no change:no addNotes:no", {"print low resolution: not allowed"}},
      {4 + 8 + 16 + 32, "R = 2", "P = -4", "print:yes copy:yes change:yes addNotes:yes", {"extract for any purpose: allowed", "modify annotations: allowed"}},
      {4 + 64, "R = 2", "P = -60", no_copy, {"modify annotations: not allowed"}},
      {4100, "R = 3", "P = -3900", no_copy, {"print low resolution: allowed", "print high resolution: not allowed", "modify forms: not allowed", "extract for accessibility: not allowed"}},
      {4100 + 128, "R = 3", "P = -3900", no_copy, {"modify forms: not allowed"}},
      {4096 + 4 + 256 + 2048, "R = 3", "P = -1596", no_copy, {"print high resolution: allowed", "modify forms: allowed"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("Mode " + std::to_string(c.mode));
    const bool r2 = std::string(c.revision) == "R = 2";
    pdftest::TempDir dir;
    const std::string file = dir.file("protetto.pdf");
    Probe w;
    WriteDocument(w, file, c.mode);
    pdftest::ExpectReadersAccept(file);
    const std::string raw = pdftest::ReadFile(file);
    EXPECT_EQ(raw.substr(0, 9), r2 ? "%PDF-1.3\n" : "%PDF-1.4\n");

    const pdftest::ToolResult info = pdftest::Pdfinfo(file);
    ASSERT_EQ(info.exit_code, 0) << info.err;
    EXPECT_EQ(pdftest::PdfinfoValue(info.out, "Encrypted"), "yes (" + c.pdfinfo_flags + " algorithm:RC4)");
    // The strings decrypt with the empty user password.
    EXPECT_EQ(pdftest::PdfinfoValue(info.out, "Subject"), "Oggetto: contributo (ORTESA 3)");

    const pdftest::ToolResult shown = pdftest::Qpdf(
        {"--password=" + std::string(kOwner), "--show-encryption", "--show-encryption-key", file});
    EXPECT_EQ(shown.exit_code, 0) << shown.err;
    EXPECT_EQ(LineStarting(shown.out, "R = "), c.revision);
    EXPECT_EQ(LineStarting(shown.out, "P = "), c.permission);
    const std::string& key = w.Security.DocumentKey;
    EXPECT_EQ(LineStarting(shown.out, "Encryption key = "), "Encryption key = " + Hex(key.data(), key.size()));
    EXPECT_NE(shown.out.find("Supplied password is owner password"), std::string::npos) << shown.out;
    for (const char* line : c.qpdf_lines) EXPECT_NE(shown.out.find(line), std::string::npos) << line;

    // Another password is not taken for the owner's.
    const pdftest::ToolResult wrong = pdftest::Qpdf({"--password=sbagliata", "--show-encryption", file});
    EXPECT_NE(wrong.out.find("Incorrect password supplied"), std::string::npos) << wrong.out;
    EXPECT_EQ(wrong.out.find("Supplied password is owner password"), std::string::npos) << wrong.out;

    const std::string dictionary = "<< /Filter /Standard \r/O (" + escape(w.Security.OwnerEntry) + ")\r/U (" +
                                   escape(w.Security.UserEntry) + ")\r/P " + std::string(c.permission + 4) +
                                   (r2 ? "\r/V 1 /R 2 >>" : "\r/V 2 /R 3 /Length 128 >>");
    const std::size_t at = raw.find(dictionary);
    ASSERT_NE(at, std::string::npos);
    const std::size_t head = raw.rfind(" 0 obj\n", at);
    ASSERT_NE(head, std::string::npos);
    EXPECT_EQ(head + 7, at);
    const std::string number = raw.substr(raw.rfind('\n', head) + 1, head - raw.rfind('\n', head) - 1);
    const std::string hex = Hex(w.Security.FileIdText.data(), w.Security.FileIdText.size(), "0123456789ABCDEF");
    EXPECT_EQ(w.Security.FileIdText, w.Properties.Producer + "2.4.4");
    EXPECT_NE(raw.find("/Encrypt " + number + " 0 R /ID [<" + hex + "><" + hex + ">]\n"), std::string::npos);
  }
}

}  // namespace
