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
// stream object); returns the document key.
std::string WriteDocument(const std::string& path, std::int32_t protection) {
  Probe w;
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
  return w.Security.DocumentKey;
}

std::string LineStarting(const std::string& text, const std::string& start) {
  const std::size_t p = text.find(start);
  if (p == std::string::npos) return "";
  return text.substr(p, text.find('\n', p) - p);
}

// Opens without a password, with exactly the permissions of the mode, and
// the owner password is recognised as such.
TEST(ProtectedDocument, RevisionPermissionsAndKeyInReaders) {
  const struct {
    std::int32_t mode;
    const char* revision;
    const char* permission;
    const char* pdfinfo_flags;
    const char* version;
    std::vector<const char*> qpdf_lines;
  } cases[] = {
      {4, "R = 2", "P = -60", "print:yes copy:no change:no addNotes:no", "%PDF-1.3\n",
       {"print low resolution: allowed", "extract for any purpose: not allowed",
        "modify annotations: not allowed", "modify other: not allowed"}},
      {0, "R = 2", "P = -64", "print:no copy:no change:no addNotes:no", "%PDF-1.3\n",
       {"print low resolution: not allowed"}},
      {4 + 8 + 16 + 32, "R = 2", "P = -4", "print:yes copy:yes change:yes addNotes:yes", "%PDF-1.3\n",
       {"extract for any purpose: allowed", "modify annotations: allowed"}},
      {4 + 64, "R = 2", "P = -60", "print:yes copy:no change:no addNotes:no", "%PDF-1.3\n",
       {"modify annotations: not allowed"}},
      {4100, "R = 3", "P = -3900", "print:yes copy:no change:no addNotes:no", "%PDF-1.4\n",
       {"print low resolution: allowed", "print high resolution: not allowed",
        "modify forms: not allowed", "extract for accessibility: not allowed"}},
      {4100 + 128, "R = 3", "P = -3900", "print:yes copy:no change:no addNotes:no", "%PDF-1.4\n",
       {"modify forms: not allowed"}},
      {4096 + 4 + 256 + 2048, "R = 3", "P = -1596", "print:yes copy:no change:no addNotes:no",
       "%PDF-1.4\n", {"print high resolution: allowed", "modify forms: allowed"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("Mode " + std::to_string(c.mode));
    pdftest::TempDir dir;
    const std::string file = dir.file("protetto.pdf");
    const std::string key = WriteDocument(file, c.mode);
    pdftest::ExpectReadersAccept(file);
    EXPECT_EQ(pdftest::ReadFile(file).substr(0, 9), c.version);

    const pdftest::ToolResult info = pdftest::Pdfinfo(file);
    ASSERT_EQ(info.exit_code, 0) << info.err;
    EXPECT_EQ(pdftest::PdfinfoValue(info.out, "Encrypted"),
              std::string("yes (") + c.pdfinfo_flags + " algorithm:RC4)");
    // The strings decrypt with the empty user password.
    EXPECT_EQ(pdftest::PdfinfoValue(info.out, "Subject"), "Oggetto: contributo (ORTESA 3)");

    const pdftest::ToolResult shown = pdftest::Qpdf(
        {"--password=" + std::string(kOwner), "--show-encryption", "--show-encryption-key", file});
    EXPECT_EQ(shown.exit_code, 0) << shown.err;
    EXPECT_EQ(LineStarting(shown.out, "R = "), c.revision);
    EXPECT_EQ(LineStarting(shown.out, "P = "), c.permission);
    EXPECT_EQ(LineStarting(shown.out, "User password = "), "User password = ");
    EXPECT_EQ(LineStarting(shown.out, "Encryption key = "), "Encryption key = " + Hex(key.data(), key.size()));
    EXPECT_NE(shown.out.find("Supplied password is owner password"), std::string::npos) << shown.out;
    for (const char* line : c.qpdf_lines) EXPECT_NE(shown.out.find(line), std::string::npos) << line;

    // Another password is not taken for the owner's.
    const pdftest::ToolResult wrong = pdftest::Qpdf({"--password=sbagliata", "--show-encryption", file});
    EXPECT_NE(wrong.out.find("Incorrect password supplied"), std::string::npos) << wrong.out;
    EXPECT_EQ(wrong.out.find("Supplied password is owner password"), std::string::npos) << wrong.out;
  }
}

// The bytes of the encryption dictionary and of the trailer's identifier:
// the entries escaped but not encrypted, the revision's own ending, and
// twice the hexadecimal form of the producer followed by "2.4.4".
TEST(ProtectedDocument, EncryptionDictionaryAndIdentifierBytes) {
  auto escape = [](const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c != 0 && std::strchr("\\()", c) ? std::string{'\\', c} : std::string(1, c);
    return out;
  };
  for (std::int32_t mode : {4, 4100}) {
    SCOPED_TRACE("Mode " + std::to_string(mode));
    pdftest::TempDir dir;
    const std::string file = dir.file("protetto.pdf");
    Probe w;
    w.SetProtection(mode, kOwner, "");
    w.BeginDoc(file);
    ASSERT_EQ(w.ErrNumber(), 0);
    w.BeginPage();
    w.EndDoc();
    const std::string raw = pdftest::ReadFile(file);
    const std::string dictionary =
        "<< /Filter /Standard \r/O (" + escape(w.Security.OwnerEntry) + ")\r/U (" +
        escape(w.Security.UserEntry) + ")\r/P " + (mode == 4 ? "-60\r/V 1 /R 2 >>" : "-3900\r/V 2 /R 3 /Length 128 >>");
    const std::size_t at = raw.find(dictionary);
    ASSERT_NE(at, std::string::npos);
    // An object of its own, referred to from the trailer.
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
