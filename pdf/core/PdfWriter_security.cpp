// The standard security handler: RC4 with 40-bit keys (revision 2) or
// 128-bit keys (revision 3), MD5 as its hash. SetProtection computes once
// per document the owner and user entries, the permission value, the
// document key and the file identifier; GetObjectKey and Rc4 then serve
// every literal string (FormatTextString) and every stream (WriteStream).

#include <algorithm>
#include <cstring>

#include "pdf/PdfWriter.h"
#include "pdf/core/file_identifier.h"
#include "pdf/core/md5.h"
#include "pdf/core/rc4.h"
#include "pdf/core/text_string.h"

namespace pdf {
namespace {

// The 32-byte padding string of the standard security handler.
constexpr std::uint8_t kPadding[32] = {
    0x28, 0xBF, 0x4E, 0x5E, 0x4E, 0x75, 0x8A, 0x41, 0x64, 0x00, 0x4E, 0x56, 0xFF, 0xFA, 0x01, 0x08,
    0x2E, 0x2E, 0x00, 0xB6, 0xD0, 0x68, 0x3E, 0x80, 0x2F, 0x0C, 0xA9, 0xFE, 0x64, 0x53, 0x69, 0x7A};

// The release text, after the producer text in what the file identifier is
// made from.
constexpr char kRelease[] = "2.4.4";

// A password in PDFDocEncoding, which readers convert what the user types
// into, cut to 32 bytes and completed with the padding string.
Bytes PadPassword(const std::string& text) {
  const std::string password = PdfDocEncodingBytes(text);
  Bytes out(32);
  const std::size_t n = std::min<std::size_t>(password.size(), 32);
  std::memcpy(out.data(), password.data(), n);
  std::memcpy(out.data() + n, kPadding, 32 - n);
  return out;
}

void Append(Bytes& out, ByteSpan more) { out.insert(out.end(), more.begin(), more.end()); }

Bytes ToBytes(const Md5Digest& d, std::size_t n) { return Bytes(d.begin(), d.begin() + n); }

// RC4 under the key, then 19 more passes with every key byte XORed with
// the pass number (revision 3).
void Rc4TwentyPasses(const Bytes& key, Bytes& data) {
  pdf::Rc4(key, data);
  Bytes k(key.size());
  for (std::uint8_t i = 1; i <= 19; ++i) {
    for (std::size_t b = 0; b < key.size(); ++b) k[b] = key[b] ^ i;
    pdf::Rc4(k, data);
  }
}

// 50 more rounds of MD5 over the whole 16-byte digest (revision 3).
Md5Digest Md5FiftyRounds(Md5Digest h) {
  for (int i = 0; i < 50; ++i) h = Md5(h);
  return h;
}

bool IsBlank(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return c == ' '; });
}

}  // namespace

void PdfWriter::SetProtection(std::int32_t Mode, const std::string& OwnerPwd,
                              const std::string& UserPwd) {
  // The objects written so far are plain: turning protection on now would
  // make readers decrypt them into garbage.
  if (Output.Handle != nullptr) throw PdfError(5);
  // Made now, once for the document: a later change of the producer leaves
  // it alone.
  Security.FileIdText = to_string(NewFileIdentifier(Properties.Producer + kRelease, this));
  // A blank owner password means the user password serves as both.
  const std::string& owner = IsBlank(OwnerPwd) ? UserPwd : OwnerPwd;
  Security.Encrypted = true;

  const Bytes user_pad = PadPassword(UserPwd);
  const Bytes owner_pad = PadPassword(owner);
  const ByteSpan file_id = as_bytes(Security.FileIdText);
  const std::uint32_t mode = static_cast<std::uint32_t>(Mode);

  Bytes owner_entry, user_entry, document_key, permission_bytes;
  std::uint8_t key_length;
  if (mode & 4096) {  // 128-bit RC4, revision 3
    key_length = 16;
    RequireVersion(1);
    // The reserved bits 7 and 8 (and 13 to 16) are always set; the caller's
    // bits 1 to 12 are kept as given. Setting them with an or, rather than
    // adding, keeps a caller's own 64 or 128 from carrying into bit 9.
    const std::uint16_t p16 = static_cast<std::uint16_t>((mode & 4095) | 0xF0C0);
    permission_bytes = {static_cast<std::uint8_t>(p16 & 255), static_cast<std::uint8_t>(p16 >> 8),
                        255, 255};

    const Md5Digest owner_hash = Md5FiftyRounds(Md5(owner_pad));
    const Bytes owner_key(owner_hash.begin(), owner_hash.end());
    owner_entry = user_pad;
    Rc4TwentyPasses(owner_key, owner_entry);

    Bytes input = user_pad;
    Append(input, owner_entry);
    Append(input, permission_bytes);
    Append(input, file_id);
    document_key = ToBytes(Md5FiftyRounds(Md5(input)), 16);

    Bytes seed(kPadding, kPadding + 32);
    Append(seed, file_id);
    const Md5Digest d = Md5(seed);
    user_entry.assign(d.begin(), d.end());
    Rc4TwentyPasses(document_key, user_entry);
    user_entry.resize(32, ' ');
  } else {  // 40-bit RC4, revision 2
    key_length = 10;
    // Bits 7 and 8 are set with an or: adding 192 would carry when the
    // caller already set 64 or 128, and clear permission bits it never asked
    // to clear.
    const std::uint8_t low = static_cast<std::uint8_t>((mode | 192) & 255);
    permission_bytes = {low, 255, 255, 255};

    const Bytes owner_key = ToBytes(Md5(owner_pad), 5);
    owner_entry = user_pad;
    pdf::Rc4(owner_key, owner_entry);

    Bytes input = user_pad;
    Append(input, owner_entry);
    Append(input, permission_bytes);
    Append(input, file_id);
    document_key = ToBytes(Md5(input), 5);

    user_entry.assign(kPadding, kPadding + 32);
    pdf::Rc4(document_key, user_entry);
  }

  Security.ObjectKeyLength = key_length;
  Security.OwnerEntry = to_string(owner_entry);
  Security.UserEntry = to_string(user_entry);
  Security.DocumentKey = to_string(document_key);
  // The four permission bytes, lowest first, read as a signed number.
  Security.PermissionValue = static_cast<std::int32_t>(
      std::uint32_t(permission_bytes[0]) | std::uint32_t(permission_bytes[1]) << 8 |
      std::uint32_t(permission_bytes[2]) << 16 | std::uint32_t(permission_bytes[3]) << 24);
}

std::string PdfWriter::GetObjectKey(std::int32_t& ObjectNumber) {
  if (ObjectNumber == 0) ObjectNumber = Objects.CurrentObjectNumber;
  // Only the three lowest bytes of the number count, lowest first, then the
  // generation number 0 in two bytes.
  const std::uint32_t n = static_cast<std::uint32_t>(ObjectNumber);
  Bytes input(as_bytes(Security.DocumentKey).begin(), as_bytes(Security.DocumentKey).end());
  const std::uint8_t tail[5] = {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                static_cast<std::uint8_t>(n >> 16), 0, 0};
  Append(input, tail);
  const Md5Digest h = Md5(input);
  const std::size_t length = std::min<std::size_t>(Security.ObjectKeyLength, 16);
  return std::string(reinterpret_cast<const char*>(h.data()), length);
}

Bytes PdfWriter::Rc4(const std::string& Key, const Bytes& Data, std::int32_t& LastIndex) {
  // An empty key has no bytes to schedule with (and would match the emptied
  // cache key after Abort).
  if (Key.empty()) throw PdfError(5);
  const std::int64_t upper = static_cast<std::int64_t>(Data.size()) - 1;
  const std::int64_t last = LastIndex == 0 ? upper : LastIndex;
  if (last < -1 || last > upper) throw PdfError(9);
  if (last == -1) return {};

  if (Key != Security.Rc4Cache.Key) {
    Security.Rc4Cache.Schedule = Rc4Prepare(as_bytes(Key)).s;
    Security.Rc4Cache.Key = Key;
  }
  Rc4Schedule schedule;
  schedule.s = Security.Rc4Cache.Schedule;
  Bytes out(Data.begin(), Data.begin() + (last + 1));
  Rc4Apply(schedule, out);
  return out;
}

}  // namespace pdf
