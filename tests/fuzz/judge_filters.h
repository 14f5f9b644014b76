#pragma once
// The judge's own decoders of the stream filters the writer writes, each
// over bytes of a file that may hold anything: every read is bounds-checked,
// the output stops at a cap, and a stream that does not decode gives a
// fault text instead of data. They take what the real readers all read
// alike: whitespace between the digits of the ASCII filters, a missing end
// marker where the data ends on a whole group, byte or code, and nothing
// read past one (">", "~>", the LZW end-of-data code). Where readers part
// (MuPDF drops a last odd hexadecimal digit or base-85 group that no end
// marker follows, and warns of LZW data that stops inside a code; qpdf reads
// on past RunLength's end code) the stream does not decode here. Flate goes
// through our inflate decoder.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "pdf/core/inflate.h"

namespace judge_filters {

// The decoded data, or the reason the stream does not decode (Fault not
// empty, Data then meaningless).
struct Decoding {
  std::string Data;
  std::string Fault;
};

namespace detail {

inline bool IsWhite(unsigned char c) {
  return c == 0 || c == '\t' || c == '\n' || c == '\f' || c == '\r' || c == ' ';
}

inline std::string Byte(unsigned char c, std::size_t at) {
  static const char kDigits[] = "0123456789ABCDEF";
  return std::string("the byte 0x") + kDigits[c >> 4] + kDigits[c & 15] + " at " + std::to_string(at);
}

inline Decoding Fail(std::string why) { return Decoding{std::string(), std::move(why)}; }

inline std::string Over(std::size_t cap) { return "it decodes to more than " + std::to_string(cap) + " bytes"; }

}  // namespace detail

// Pairs of hexadecimal digits in either case, whitespace anywhere, up to
// ">"; an odd last digit before ">" stands for its high half (a 0 follows
// it), one without ">" does not decode.
inline Decoding AsciiHex(std::string_view in, std::size_t cap) {
  Decoding r;
  int high = -1;
  bool ended = false;
  for (std::size_t i = 0; i < in.size() && !ended; ++i) {
    const unsigned char c = static_cast<unsigned char>(in[i]);
    if ((ended = c == '>')) continue;
    if (detail::IsWhite(c)) continue;
    const int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10
                      : c >= 'A' && c <= 'F'   ? c - 'A' + 10
                                               : -1;
    if (digit < 0) return detail::Fail(detail::Byte(c, i) + " is no hexadecimal digit");
    if (high < 0) {
      high = digit;
      continue;
    }
    if (r.Data.size() >= cap) return detail::Fail(detail::Over(cap));
    r.Data.push_back(static_cast<char>(high << 4 | digit));
    high = -1;
  }
  if (high >= 0 && !ended) return detail::Fail("an odd last digit without \">\"");
  if (high >= 0 && r.Data.size() >= cap) return detail::Fail(detail::Over(cap));
  if (high >= 0) r.Data.push_back(static_cast<char>(high << 4));
  return r;
}

// Groups of five digits "!" to "u" in base 85 for four bytes each, "z" for
// four zero bytes at a group's start, whitespace anywhere, up to "~>"; a
// last group of two to four digits before "~>" gives one byte fewer. A
// group above 2^32 - 1, a last group of one digit or without "~>", and "~"
// without ">" do not decode.
inline Decoding Ascii85(std::string_view in, std::size_t cap) {
  Decoding r;
  std::uint64_t value = 0;
  int digits = 0;
  // The group's bytes, or why it has none.
  const auto put = [&](int bytes, const std::string& group) -> std::string {
    if (value > 0xFFFFFFFFu) return group + " exceeds 2^32 - 1";
    if (r.Data.size() + static_cast<std::size_t>(bytes) > cap) return detail::Over(cap);
    for (int k = 0; k < bytes; ++k) r.Data.push_back(static_cast<char>(value >> (24 - 8 * k) & 0xFF));
    return "";
  };
  bool ended = false;
  for (std::size_t i = 0; i < in.size() && !ended; ++i) {
    const unsigned char c = static_cast<unsigned char>(in[i]);
    if (detail::IsWhite(c)) continue;
    if ((ended = c == '~')) {
      if (i + 1 >= in.size() || in[i + 1] != '>')
        return detail::Fail("\"~\" at " + std::to_string(i) + " without \">\"");
      continue;
    }
    if (c == 'z' && digits == 0) {
      if (std::string fault = put(4, ""); !fault.empty()) return detail::Fail(fault);  // value is 0
      continue;
    }
    if (c == 'z') return detail::Fail("\"z\" at " + std::to_string(i) + " inside a group");
    if (c < '!' || c > 'u') return detail::Fail(detail::Byte(c, i) + " is no base-85 digit");
    value = value * 85 + (c - '!');
    if (++digits < 5) continue;
    if (std::string fault = put(4, "the group ending at " + std::to_string(i)); !fault.empty())
      return detail::Fail(fault);
    value = 0;
    digits = 0;
  }
  if (digits == 1) return detail::Fail("the last group has one digit");
  if (digits > 1 && !ended) return detail::Fail("the last group is cut short without \"~>\"");
  if (digits > 1) {
    for (int k = digits; k < 5; ++k) value = value * 85 + 84;
    if (std::string fault = put(digits - 1, "the last group"); !fault.empty()) return detail::Fail(fault);
  }
  return r;
}

// Codes from 9 to 12 bits wide, most significant bit first: 256 clears the
// table, 257 ends the data, 258 on name the strings met so far. A code is
// one bit wider from the moment the table reaches 511 (1023, 2047) entries
// with EarlyChange (the default), 512 (1024, 2048) without. A code beyond
// the next entry, or the next entry with no string before it, does not
// decode, nor does a code that would add a 4097th entry (a full table
// must be cleared: readers stop or warn there), nor data without the end
// code but for data that ends right after a whole code.
inline Decoding Lzw(std::string_view in, std::size_t cap, bool EarlyChange = true) {
  Decoding r;
  // Each entry: the entry it extends, its last and first byte, its length.
  std::array<std::uint16_t, 4096> prefix{};
  std::array<std::uint8_t, 4096> last{}, first{};
  std::array<std::uint16_t, 4096> length{};
  for (unsigned c = 0; c < 256; ++c) {
    last[c] = first[c] = static_cast<std::uint8_t>(c);
    length[c] = 1;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(in.data());
  const std::size_t bits = in.size() * 8;
  const unsigned early = EarlyChange ? 1 : 0;
  unsigned next = 258, width = 9;
  int previous = -1;  // the code before, -1 right after a clear
  std::size_t at = 0;
  for (;;) {
    if (at + width > bits) {
      if (at == bits) break;
      return detail::Fail("the data ends " + std::to_string(bits - at) + " bits into a code, without the end code");
    }
    const std::size_t byte = at / 8;
    std::uint32_t window = static_cast<std::uint32_t>(bytes[byte]) << 16;
    if (byte + 1 < in.size()) window |= static_cast<std::uint32_t>(bytes[byte + 1]) << 8;
    if (byte + 2 < in.size()) window |= bytes[byte + 2];
    const unsigned code = window >> (24 - at % 8 - width) & ((1u << width) - 1);
    at += width;
    if (code == 257) break;
    if (code == 256) {
      next = 258;
      width = 9;
      previous = -1;
      continue;
    }
    if (previous >= 0 && next == 4096)
      return detail::Fail("the code at bit " + std::to_string(at - width) +
                          " would make a 4097th entry: no clear code came when the table was full");
    const bool repeat = code == next && previous >= 0;  // the string before and its first byte
    if (code > 257 && code >= next && !repeat)
      return detail::Fail("the code " + std::to_string(code) + " at bit " + std::to_string(at - width) +
                          " names no entry of the table (" + std::to_string(next) + " entries)");
    const auto add = [&](std::uint8_t byte_last) {
      if (previous < 0) return;
      prefix[next] = static_cast<std::uint16_t>(previous);
      last[next] = byte_last;
      first[next] = first[static_cast<std::size_t>(previous)];
      length[next] = static_cast<std::uint16_t>(length[static_cast<std::size_t>(previous)] + 1);
      ++next;
    };
    if (repeat) add(first[static_cast<std::size_t>(previous)]);
    const std::size_t size = length[code];
    if (r.Data.size() + size > cap) return detail::Fail(detail::Over(cap));
    r.Data.resize(r.Data.size() + size);
    std::size_t put = r.Data.size();
    for (unsigned c = code;; c = prefix[c]) {
      r.Data[--put] = static_cast<char>(last[c]);
      if (c < 256) break;
    }
    if (!repeat) add(first[code]);
    previous = static_cast<int>(code);
    width = next + early >= 2048 ? 12 : next + early >= 1024 ? 11 : next + early >= 512 ? 10 : 9;
  }
  return r;
}

// A length byte 0 to 127 followed by that many bytes plus one, 129 to 255
// followed by one byte repeated 257 minus it times, 128 ending the data.
// A run cut short by the data's end, or data after 128, does not decode.
inline Decoding RunLength(std::string_view in, std::size_t cap) {
  Decoding r;
  for (std::size_t i = 0; i < in.size();) {
    const unsigned length = static_cast<unsigned char>(in[i]);
    if (length == 128 && i + 1 < in.size())
      return detail::Fail("the end code at " + std::to_string(i) + " has " + std::to_string(in.size() - i - 1) +
                          " bytes after it");
    if (length == 128) break;
    const std::size_t count = length < 128 ? length + 1 : 257 - length, need = length < 128 ? count : 1;
    if (in.size() - i - 1 < need)
      return detail::Fail("the run at " + std::to_string(i) + " needs " + std::to_string(need) +
                          " bytes, the data has " + std::to_string(in.size() - i - 1));
    if (r.Data.size() + count > cap) return detail::Fail(detail::Over(cap));
    if (length < 128) r.Data.append(in.substr(i + 1, count));
    else r.Data.append(count, in[i + 1]);
    i += 1 + need;
  }
  return r;
}

// A zlib stream (header, deflate data, Adler-32), through our inflate.
inline Decoding Flate(std::string_view in, std::size_t cap) {
  const pdf::InflateResult inflated =
      pdf::InflateZlib(pdf::ByteSpan(reinterpret_cast<const std::uint8_t*>(in.data()), in.size()), cap);
  if (inflated.status != pdf::InflateStatus::kOk)
    return detail::Fail(std::string(pdf::InflateStatusText(inflated.status)));
  return Decoding{std::string(inflated.data.begin(), inflated.data.end()), std::string()};
}

// Whether the filter of this /Filter name has a decoder here.
inline bool Reads(std::string_view Name) {
  return Name == "ASCIIHexDecode" || Name == "ASCII85Decode" || Name == "LZWDecode" || Name == "RunLengthDecode" ||
         Name == "FlateDecode";
}

// The filter of this /Filter name undone; EarlyChange is LZW's. A name
// these decoders do not know (Reads) is a fault that says so.
inline Decoding Undo(std::string_view Name, std::string_view in, std::size_t cap, bool EarlyChange = true) {
  if (Name == "ASCIIHexDecode") return AsciiHex(in, cap);
  if (Name == "ASCII85Decode") return Ascii85(in, cap);
  if (Name == "LZWDecode") return Lzw(in, cap, EarlyChange);
  if (Name == "RunLengthDecode") return RunLength(in, cap);
  if (Name == "FlateDecode") return Flate(in, cap);
  return detail::Fail("the judge does not read this filter");
}

}  // namespace judge_filters
