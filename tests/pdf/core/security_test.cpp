// The standard security handler: the bytes of the encryption dictionary,
// and protected documents as real readers see them (pdfinfo, qpdf, mutool,
// Ghostscript).

#include <sys/wait.h>
#include <unistd.h>

#include <set>

#include "platform/text/cp1252.h"
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
// of the document's own identifier, 16 bytes, from which the key is
// worked out.
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
    EXPECT_EQ(w.Security.FileIdText.size(), 16u);
    EXPECT_NE(raw.find("/Encrypt " + number + " 0 R /ID [<" + hex + "><" + hex + ">]\n"), std::string::npos);
  }
}

// The document key qpdf works out from a protected file (its own /ID, /O
// and /P), in hexadecimal; "" when it cannot.
std::string KeyOfFile(const std::string& path) {
  const pdftest::ToolResult shown =
      pdftest::Qpdf({"--password=" + std::string(kOwner), "--show-encryption-key", "--show-encryption", path});
  const std::string line = LineStarting(shown.out, "Encryption key = ");
  return line.empty() ? "" : line.substr(17);
}

// One page with the given text, protected as the program protects its
// documents (the same passwords and permissions every time). Abort readies
// a writer for its next document.
void WriteTextPage(pdf::PdfWriter& w, const std::string& path, const std::string& text) {
  w.Abort();
  w.SetProtection(4100, kOwner, "");
  w.BeginDoc(path);
  w.BeginPage();
  w.SetFont("Arial", 12);
  w.DrawText(50, 50, text);
  w.EndDoc();
}

// Documents protected with the same passwords and permissions get keys of
// their own, as their readers work them out from the files, whether one
// writer wrote them one after another, two writers side by side, or two
// processes started from the same state at the same moment: no two share
// the RC4 keystream of an object number, so a page known in one reveals
// nothing of another's.
TEST(ProtectedDocument, EachDocumentHasAKeyOfItsOwn) {
  pdftest::TempDir dir;
  std::vector<std::string> files;
  std::vector<std::string> writer_keys;
  Probe one;
  for (int i = 0; i < 3; ++i) {
    files.push_back(dir.file("uno" + std::to_string(i) + ".pdf"));
    WriteTextPage(one, files.back(), "Documento " + std::to_string(i));
    writer_keys.push_back(Hex(one.Security.DocumentKey.data(), one.Security.DocumentKey.size()));
  }
  for (int i = 0; i < 2; ++i) {
    Probe other;
    files.push_back(dir.file("altro" + std::to_string(i) + ".pdf"));
    WriteTextPage(other, files.back(), "Documento B");
    writer_keys.push_back(Hex(other.Security.DocumentKey.data(), other.Security.DocumentKey.size()));
  }
  // Two children of this process, each writing at once.
  std::vector<pid_t> children;
  for (int i = 0; i < 2; ++i) {
    files.push_back(dir.file("processo" + std::to_string(i) + ".pdf"));
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      pdf::PdfWriter w;
      WriteTextPage(w, files.back(), "Documento B");
      _exit(w.ErrNumber() == 0 ? 0 : 1);
    }
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }

  std::set<std::string> keys;
  for (std::size_t i = 0; i < files.size(); ++i) {
    SCOPED_TRACE(files[i]);
    pdftest::ExpectReadersAccept(files[i]);
    const std::string key = KeyOfFile(files[i]);
    ASSERT_EQ(key.size(), 32u);
    // The key the writer encrypted with is the one its own file gives.
    if (i < writer_keys.size()) { EXPECT_EQ(key, writer_keys[i]); }
    keys.insert(key);
    const std::string text = pdftest::PdfToText(files[i]).out;
    EXPECT_NE(text.find("Documento"), std::string::npos) << text;
  }
  EXPECT_EQ(keys.size(), files.size());
}

// Passwords as a user types them: MuPDF converts what is typed into
// PDFDocEncoding, where the euro sign and the curly quotes stand at other
// codes than in Windows-1252. Each file opens in MuPDF with its user
// password typed, and qpdf takes the owner password typed as the owner's.
// Passwords of ASCII or Latin-1 letters keep the owner entries they always
// had (it depends on the passwords alone).
TEST(ProtectedDocument, PasswordsOpenAsTyped) {
  const struct {
    const char *owner, *user;
    std::int32_t mode;
    const char* owner_entry;  // hexadecimal; "" where none is pinned
  } rows[] = {
      {"ravoduzorude", "", 4, "eb7e0eaa536e359789c3ce68f41096295de25cfb154e7eca2d59d12e06b72738"},
      {"ravoduzorude", "", 4100, "dadf70fdddbc2fe4c95b87da5574932fe7f8e12e0b697693bcd0c43330cafd4e"},
      {"perché", "città", 4, "99dc6830a592e049497c5581efb85c2f1ed3b46cdb8e735dee30f7987a616686"},
      {"perché", "città", 4100, "9631a25624bab28278ffc33f850590171eb6351f4da5675a262b88e703b2cec9"},
      {"proprietà €", "prezzo€", 4, ""},
      {"proprietà €", "prezzo€", 4100, ""},
      {"  ", "“citato” – ‘sì’", 4, ""},
      {"Œuvre™ «ß»", "€", 4100, ""},
  };
  pdftest::TempDir dir;
  for (const auto& row : rows) {
    SCOPED_TRACE(std::string(row.owner) + " / " + row.user + " / " + std::to_string(row.mode));
    const std::string path = dir.file("protetto.pdf");
    Probe w;
    w.SetProtection(row.mode, cp1252::from_utf8(row.owner), cp1252::from_utf8(row.user));
    w.BeginDoc(path);
    w.BeginPage();
    w.SetFont("Arial", 12);
    w.DrawText(50, 50, "Testo protetto");
    w.EndDoc();
    ASSERT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
    if (*row.owner_entry != 0) { EXPECT_EQ(Hex(w.Security.OwnerEntry.data(), 32), row.owner_entry); }

    const bool blank_owner = std::string(row.owner).find_first_not_of(' ') == std::string::npos;
    const std::string owner = blank_owner ? row.user : row.owner;
    auto mupdf_text = [&](const std::string& typed) {
      return pdftest::RunTool({"mutool", "draw", "-q", "-F", "txt", "-o", "-", "-p", typed, path});
    };
    for (const std::string& typed : {std::string(row.user), owner}) {
      const pdftest::ToolResult text = mupdf_text(typed);
      EXPECT_EQ(text.exit_code, 0) << typed << ": " << text.err;
      EXPECT_NE(text.out.find("Testo protetto"), std::string::npos) << typed << ": " << text.out;
    }
    if (*row.user != 0) {
      const pdftest::ToolResult wrong = mupdf_text(std::string(row.user) + "x");
      EXPECT_NE(wrong.exit_code, 0);
      EXPECT_NE(wrong.err.find("cannot authenticate password"), std::string::npos) << wrong.err;
    }
    const pdftest::ToolResult shown = pdftest::Qpdf({"--password=" + owner, "--show-encryption", path});
    EXPECT_NE(shown.out.find("Supplied password is owner password"), std::string::npos) << shown.out << shown.err;
  }
}

}  // namespace
