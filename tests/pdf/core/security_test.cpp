// The standard security handler: the values SetProtection computes, the
// object keys, the writer's RC4 with its cached key schedule, and protected
// documents as real readers see them (pdfinfo, qpdf, mutool, Ghostscript).

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "pdf/PdfWriter.h"
#include "pdf/core/md5.h"
#include "tests/pdf/pdf_tools.h"

namespace {

constexpr const char* kOwner = "ravoduzorude";

class Probe : public pdf::PdfWriter {
 public:
  using PdfWriter::AppendContent;
  using PdfWriter::Objects;
  using PdfWriter::Properties;
  using PdfWriter::Security;
  using PdfWriter::WriteStreamObject;
};

std::string Hex(const std::string& bytes) {
  static const char* digits = "0123456789abcdef";
  std::string s;
  for (unsigned char b : bytes) {
    s += digits[b >> 4];
    s += digits[b & 15];
  }
  return s;
}

// ---- values of SetProtection ----------------------------------------------

TEST(SetProtection, PermissionValueKeyLengthsAndVersion) {
  const struct {
    std::int32_t mode;
    std::int32_t permission;
    std::size_t document_key;
    int object_key;
    std::int32_t version;
  } cases[] = {
      {4, -60, 5, 10, 0},             // the program's documents: print only
      {0, -64, 5, 10, 0},             // nothing allowed
      {4 + 8 + 16 + 32, -4, 5, 10, 0},
      {4 + 64, -60, 5, 10, 0},        // bits 7 and 8 already set: no carry
      {4 + 128, -60, 5, 10, 0},
      {4 + 64 + 128, -60, 5, 10, 0},
      {4 + 256, -60, 5, 10, 0},       // 128-bit permissions mean nothing at 40 bits
      {4100, -3900, 16, 16, 1},
      {4096, -3904, 16, 16, 1},
      {4096 + 3900, -4, 16, 16, 1},   // every permission of the table
      {4100 + 64, -3900, 16, 16, 1},  // no carry into "fill in form fields"
      {4100 + 128, -3900, 16, 16, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("Mode " + std::to_string(c.mode));
    Probe w;
    w.SetProtection(c.mode, kOwner, "");
    EXPECT_TRUE(w.Security.Encrypted);
    EXPECT_EQ(w.Security.PermissionValue, c.permission);
    EXPECT_EQ(w.Security.DocumentKey.size(), c.document_key);
    EXPECT_EQ(w.Security.ObjectKeyLength, c.object_key);
    EXPECT_EQ(w.Security.OwnerEntry.size(), 32u);
    EXPECT_EQ(w.Security.UserEntry.size(), 32u);
    EXPECT_EQ(w.Objects.VersionIncrement, c.version);
    if (c.object_key == 16) {
      EXPECT_EQ(w.Security.UserEntry.substr(16), std::string(16, ' '));
    }
  }
}

struct Entries {
  std::string owner, user, key;
  bool operator==(const Entries&) const = default;
};

Entries Protect(std::int32_t mode, const std::string& owner, const std::string& user) {
  Probe w;
  w.SetProtection(mode, owner, user);
  return {w.Security.OwnerEntry, w.Security.UserEntry, w.Security.DocumentKey};
}

TEST(SetProtection, PasswordRules) {
  for (std::int32_t mode : {4, 4100}) {
    SCOPED_TRACE("Mode " + std::to_string(mode));
    // A blank owner password stands for the user password.
    EXPECT_EQ(Protect(mode, "   ", "segreto"), Protect(mode, "segreto", "segreto"));
    EXPECT_EQ(Protect(mode, "", "segreto"), Protect(mode, "segreto", "segreto"));
    EXPECT_NE(Protect(mode, "altro", "segreto"), Protect(mode, "segreto", "segreto"));
    // Only the first 32 characters of a password count.
    const std::string forty = "0123456789012345678901234567890123456789";
    EXPECT_EQ(Protect(mode, kOwner, forty), Protect(mode, kOwner, forty.substr(0, 32)));
    EXPECT_EQ(Protect(mode, forty, ""), Protect(mode, forty.substr(0, 32), ""));
    EXPECT_NE(Protect(mode, kOwner, forty.substr(0, 31)), Protect(mode, kOwner, forty.substr(0, 32)));
  }
}

TEST(SetProtection, FileIdentifierIsTheProducerAtTheCall) {
  Probe w;
  const std::string producer = w.Properties.Producer;
  w.SetProtection(4, kOwner, "");
  EXPECT_EQ(w.Security.FileIdText, producer + "2.4.4");
  w.SetDocProperty("", "", "", "", "Altro produttore");
  EXPECT_EQ(w.Security.FileIdText, producer + "2.4.4");
  // A second call recomputes everything, with the producer of that moment.
  const std::string old_key = w.Security.DocumentKey;
  w.SetProtection(4, kOwner, "");
  EXPECT_EQ(w.Security.FileIdText, "Altro produttore2.4.4");
  EXPECT_NE(w.Security.DocumentKey, old_key);
  w.SetProtection(4100, kOwner, "");
  EXPECT_EQ(w.Security.DocumentKey.size(), 16u);
  w.SetProtection(4, kOwner, "");
  EXPECT_EQ(w.Security.DocumentKey.size(), 5u);
  EXPECT_EQ(w.Security.ObjectKeyLength, 10);
}

// ---- object keys ----------------------------------------------------------

TEST(GetObjectKey, DigestOfDocumentKeyAndObjectNumber) {
  for (std::int32_t mode : {4, 4100}) {
    SCOPED_TRACE("Mode " + std::to_string(mode));
    Probe w;
    w.SetProtection(mode, kOwner, "");
    const std::size_t length = mode == 4 ? 10 : 16;
    for (std::int32_t n : {1, 7, 255, 256, 65536 + 258, 0x123456}) {
      std::int32_t number = n;
      const std::string key = w.GetObjectKey(number);
      EXPECT_EQ(number, n);
      std::string input = w.Security.DocumentKey;
      input += static_cast<char>(n & 255);
      input += static_cast<char>((n >> 8) & 255);
      input += static_cast<char>((n >> 16) & 255);
      input += std::string(2, '\0');
      const pdf::Md5Digest d = pdf::Md5(pdf::as_bytes(input));
      EXPECT_EQ(Hex(key), Hex(std::string(d.begin(), d.begin() + length))) << "object " << n;
    }
    // Only the three lowest bytes of the number count.
    std::int32_t a = 5, b = 5 + (1 << 24);
    EXPECT_EQ(w.GetObjectKey(a), w.GetObjectKey(b));
    std::int32_t c = 6;
    EXPECT_NE(w.GetObjectKey(a), w.GetObjectKey(c));
    // 0 stands for the object being written, and the caller learns its number.
    w.Objects.CurrentObjectNumber = 42;
    std::int32_t zero = 0, fortytwo = 42;
    EXPECT_EQ(w.GetObjectKey(zero), w.GetObjectKey(fortytwo));
    EXPECT_EQ(zero, 42);
  }
}

// ---- the writer's RC4 -----------------------------------------------------

TEST(WriterRc4, CachedScheduleLastIndexAndSymmetry) {
  Probe w;
  const std::string key = "\x01\x02\x03\x04\x05";
  pdf::Bytes data(40);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * 3);
  const pdf::Bytes original = data;

  std::int32_t last = 0;  // the whole array
  const pdf::Bytes first = w.Rc4(key, data, last);
  EXPECT_EQ(data, original);
  EXPECT_EQ(first.size(), data.size());
  EXPECT_EQ(w.Security.Rc4Cache.Key, key);
  // RFC 6229's keystream for this key starts b2 39 63 05.
  EXPECT_EQ(first[0], 0xb2 ^ data[0]);
  EXPECT_EQ(first[3], 0x05 ^ data[3]);

  // The same key again: the cached schedule has not been used up.
  EXPECT_EQ(w.Rc4(key, data, last), first);
  // Another key in between, then the first again.
  pdf::Bytes other = w.Rc4("otherkey", data, last);
  EXPECT_NE(other, first);
  EXPECT_EQ(w.Rc4(key, data, last), first);
  // Applied twice it gives the bytes back.
  EXPECT_EQ(w.Rc4(key, first, last), original);

  std::int32_t nine = 9;
  EXPECT_EQ(w.Rc4(key, data, nine), pdf::Bytes(first.begin(), first.begin() + 10));
  std::int32_t none = -1;
  EXPECT_TRUE(w.Rc4(key, data, none).empty());
  std::int32_t zero = 0;
  EXPECT_TRUE(w.Rc4(key, pdf::Bytes{}, zero).empty());

  std::int32_t beyond = 40;
  EXPECT_THROW(w.Rc4(key, data, beyond), pdf::PdfError);
  EXPECT_THROW(w.Rc4("", data, last), pdf::PdfError);
}

TEST(WriterRc4, AbortTurnsProtectionOffAndForgetsTheCachedKey) {
  Probe w;
  w.SetProtection(4, kOwner, "");
  std::int32_t last = 0;
  w.Rc4("chiave", pdf::Bytes(8, 1), last);
  w.Abort();
  EXPECT_FALSE(w.Security.Encrypted);
  EXPECT_EQ(w.Security.Rc4Cache.Key, "");
}

// ---- protected documents in real readers ---------------------------------

pdf::Bytes RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 rng(seed);
  pdf::Bytes out(n);
  for (auto& b : out) b = static_cast<std::uint8_t>(rng());
  return out;
}

std::string PageText(std::size_t n) {
  std::string s;
  for (int k = 0; s.size() < n; ++k)
    s += "\rBT /F1 10 Tf 1 0 0 -1 56 " + std::to_string(100 + k % 700) +
         " Tm (Il sottoscritto \\(amministratore\\) " + std::to_string(k) + ") Tj ET\r0.5 w";
  s.resize(n);
  return s;
}

std::vector<std::pair<std::string, std::string>> StreamInputs() {
  const pdf::Bytes random = RandomBytes(20000, 3);
  std::string runs;
  for (int r = 0; r < 30; ++r) runs += std::string(1 + (r * 41) % 300, static_cast<char>(r * 9));
  return {
      {"empty", ""},
      {"one byte", "A"},
      {"long runs", runs},
      {"text", PageText(20000)},
      {"random", std::string(random.begin(), random.end())},
  };
}

// The title and the other strings carry every byte that escaping or a
// careless encryption could disturb.
const std::string kTitle = "Modello 1.a (prova) \\ fine\r\nriga \xE8 \x01";

struct Written {
  std::string name;
  std::string data;
  std::int32_t object;
};

// A document as the program writes one (protection before BeginDoc, a
// recorded page, text in the information dictionary), plus stream objects
// with the given inputs under the given compression.
struct Document {
  std::vector<Written> streams;
  std::string document_key;
};

Document WriteDocument(const std::string& path, std::int32_t protection, std::int32_t compression) {
  Probe w;
  if (protection >= 0) w.SetProtection(protection, kOwner, "");
  w.SetDocProperty(kTitle, "Oggetto: contributo (ORTESA 3)", "Amministratore \xE8", "Sevrina", "",
                   "parole; chiave");
  w.BeginDoc(path);
  EXPECT_EQ(w.ErrNumber(), 0) << w.ErrDescription();
  // Fixed, so that two runs give the same document.
  w.Properties.CreationDate = "D:20261206120000Z+01'00'";
  w.SetCompression(compression);
  w.BeginPage();
  w.AppendContent("0.5 w");
  w.AppendContent("56.693 100 m 538.583 100 l S");
  w.AddBookmark("Capitolo (primo) \\ \xE8", 0);
  w.SetLabel(1, "A-(1)");
  w.BeginPage();
  w.AppendContent("10 10 100 100 re S");
  Document d;
  for (const auto& [name, data] : StreamInputs()) d.streams.push_back({name, data, w.WriteStreamObject(data)});
  w.EndDoc();
  d.document_key = w.Security.DocumentKey;
  return d;
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
    const Document d = WriteDocument(file, c.mode, 0);
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
    EXPECT_EQ(LineStarting(shown.out, "Encryption key = "), "Encryption key = " + Hex(d.document_key));
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
    for (char c : text) {
      if (c == '\\' || c == '(' || c == ')') out += '\\';
      if (c == '\r') out += "\\r";
      else if (c == '\n') out += "\\n";
      else out += c;
    }
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
    std::string hex;
    for (unsigned char c : w.Security.FileIdText) {
      hex += "0123456789ABCDEF"[c >> 4];
      hex += "0123456789ABCDEF"[c & 15];
    }
    EXPECT_EQ(w.Security.FileIdText, w.Properties.Producer + "2.4.4");
    EXPECT_NE(raw.find("/Encrypt " + number + " 0 R /ID [<" + hex + "><" + hex + ">]\n"), std::string::npos);
  }
}

// qpdf's normalised form of a file: objects renumbered in order of use,
// streams decoded where it can.
std::string Normalised(const std::string& from, const std::string& out, std::vector<std::string> extra) {
  std::vector<std::string> args = {"--qdf", "--object-streams=disable", "--static-id",
                                    "--force-version=1.4", "--decode-level=specialized"};
  args.insert(args.end(), extra.begin(), extra.end());
  args.push_back(from);
  args.push_back(out);
  const pdftest::ToolResult r = pdftest::Qpdf(args);
  EXPECT_EQ(r.exit_code, 0) << r.out << r.err;
  // Leave out what differs by the objects' original numbers only: the
  // comments that name them, and the cross-reference table and trailer
  // with the offsets (the writer gives only protected files an /ID).
  std::istringstream qdf(pdftest::ReadFile(out));
  std::string text, line;
  while (std::getline(qdf, line)) {
    if (line == "xref") break;
    if (line.rfind("%% Original object ID", 0) == 0) continue;
    text += line + "\n";
  }
  return text;
}

// Decrypted with the owner password, a protected document is the same
// document as the one written without protection: every string and every
// stream comes back as written.
TEST(ProtectedDocument, DecryptsToTheUnprotectedDocument) {
  for (std::int32_t mode : {4, 4100}) {
    for (std::int32_t compression : {0, pdf::CompressLzw | pdf::CompressAscii85,
                                     pdf::CompressRunLength | pdf::CompressAsciiHex}) {
      SCOPED_TRACE("Mode " + std::to_string(mode) + ", compression " + std::to_string(compression));
      pdftest::TempDir dir;
      WriteDocument(dir.file("chiaro.pdf"), -1, compression);
      WriteDocument(dir.file("protetto.pdf"), mode, compression);
      const pdftest::ToolResult decrypt = pdftest::Qpdf(
          {"--password=" + std::string(kOwner), "--decrypt", dir.file("protetto.pdf"), dir.file("decifrato.pdf")});
      ASSERT_EQ(decrypt.exit_code, 0) << decrypt.err;
      const std::string plain = Normalised(dir.file("chiaro.pdf"), dir.file("a.pdf"), {});
      const std::string decrypted = Normalised(dir.file("decifrato.pdf"), dir.file("b.pdf"), {});
      EXPECT_TRUE(plain == decrypted) << "the decrypted document differs from the unprotected one";
      EXPECT_NE(decrypted.find("Oggetto: contributo (ORTESA 3)"), std::string::npos);
      EXPECT_EQ(decrypted.find("/Encrypt"), std::string::npos);
      // The protected file itself shows none of the texts in clear.
      const std::string raw = pdftest::ReadFile(dir.file("protetto.pdf"));
      EXPECT_EQ(raw.find("Oggetto"), std::string::npos);
      EXPECT_EQ(raw.find("Capitolo"), std::string::npos);
      EXPECT_EQ(raw.find("538.583"), std::string::npos);
    }
  }
}

// Every encoder, alone and chained, with encryption after it: both readers
// give back the stream's bytes.
TEST(ProtectedDocument, EncodedStreamsDecryptAndDecodeInReaders) {
  const std::int32_t all = pdf::CompressRunLength | pdf::CompressFlate | pdf::CompressLzw |
                           pdf::CompressAscii85 | pdf::CompressAsciiHex;
  for (std::int32_t mode : {4, 4100}) {
    for (std::int32_t compression :
         {0, int(pdf::CompressRunLength), int(pdf::CompressLzw), int(pdf::CompressAscii85),
          int(pdf::CompressAsciiHex), pdf::CompressRunLength | pdf::CompressLzw | pdf::CompressAscii85 |
          pdf::CompressAsciiHex, all}) {
      SCOPED_TRACE("Mode " + std::to_string(mode) + ", compression " + std::to_string(compression));
      pdftest::TempDir dir;
      const std::string file = dir.file("flussi.pdf");
      const Document d = WriteDocument(file, mode, compression);
      for (const auto& s : d.streams) {
        SCOPED_TRACE(s.name);
        const std::string n = std::to_string(s.object);
        const pdftest::ToolResult q =
            pdftest::Qpdf({"--password=" + std::string(kOwner), "--decode-level=specialized",
                           "--show-object=" + n, "--filtered-stream-data", file});
        EXPECT_EQ(q.exit_code, 0) << q.err;
        EXPECT_EQ(q.err, "");
        EXPECT_TRUE(q.out == s.data) << "qpdf gave " << q.out.size() << " bytes of " << s.data.size();
        const pdftest::ToolResult m = pdftest::RunTool({"mutool", "show", "-b", file, n});
        EXPECT_EQ(m.exit_code, 0) << m.err;
        EXPECT_EQ(m.err, "");
        EXPECT_TRUE(m.out == s.data) << "mutool gave " << m.out.size() << " bytes of " << s.data.size();
      }
    }
  }
}

}  // namespace
