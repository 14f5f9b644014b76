// Stream objects: the compression settings and the one routine through
// which every stream is encoded, encrypted and written.

#include "pdf/PdfWriter.h"
#include "pdf/core/encoders.h"
#include "pdf/core/text_string.h"

namespace pdf {

void PdfWriter::SetCompression(std::int32_t CompressionMode, std::uint8_t Quality) {
  Settings.CompressionMode = CompressionMode;
  Settings.CompressionQuality = Quality > 3 ? 3 : Quality;
}

void PdfWriter::WriteStream(Bytes& Data, std::int32_t ObjectNumber, const std::string& Filter,
                            std::int32_t Length1) {
  std::string names = Filter;
  const std::int32_t mode = Settings.CompressionMode;
  if (Filter.empty()) {
    if (mode & CompressRunLength) {
      names = "/RunLengthDecode " + names;
      Data = EncodeRunLength(Data);
    }
    if (mode & CompressFlate) {
      names = "/FlateDecode " + names;
      std::int32_t count = 0;
      zzToFlateDecode(Data, count, Settings.CompressionQuality);
      if (count < 0 || static_cast<std::size_t>(count) > Data.size()) throw PdfError(9);
      Data.resize(static_cast<std::size_t>(count));
    }
    if (mode & CompressLzw) {
      names = "/LZWDecode " + names;
      Data = EncodeLzw(Data, Settings.CompressionQuality);
    }
  }
  if (mode & CompressAscii85) {
    names = "/ASCII85Decode " + names;
    Data = EncodeAscii85(Data);
  }
  if (mode & CompressAsciiHex) {
    names = "/ASCIIHexDecode " + names;
    Data = EncodeAsciiHex(Data);
    // The end-of-data marker: without it a strict reader runs past the data.
    Data.push_back('>');
  }
  if (Security.Encrypted && !Data.empty()) {
    const std::string key = GetObjectKey(ObjectNumber);
    std::int32_t last = static_cast<std::int32_t>(Data.size()) - 1;
    Bytes encrypted = Rc4(key, Data, last);
    if (encrypted.size() != Data.size()) throw PdfError(9);
    Data = std::move(encrypted);
  }
  if (!names.empty()) WriteLine("/Filter [" + names + "]");
  if (Length1 > 0) WriteLine("/Length1 " + std::to_string(Length1));
  const std::string head = "/Length " + std::to_string(Data.size()) + " >>\rstream\n";
  WriteBytes(head.data(), head.size());
  WriteBytes(reinterpret_cast<const char*>(Data.data()), Data.size());
  WriteBytes("\nendstream\n", 11);
}

std::int32_t PdfWriter::WriteStreamObject(const std::string& Text) {
  const std::int32_t n = BeginIndirectObject(0);
  WriteLine("<<");
  const std::string text = PdfTextBytes(Text);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  Bytes data(bytes, bytes + text.size());
  WriteStream(data, 0, std::string(), 0);
  EndIndirectObject();
  return n;
}

}  // namespace pdf
