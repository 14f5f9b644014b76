// Placeholder until the deflate member lands: forwards to the free encoder.
#include "pdf/PdfWriter.h"
#include "pdf/core/deflate.h"

namespace pdf {

void PdfWriter::zzToFlateDecode(Bytes& ByteArray, std::int32_t& BufCount,
                                std::uint8_t CompressionQuality) {
  ByteArray = DeflateEncode(ByteArray, CompressionQuality);
  BufCount = static_cast<std::int32_t>(ByteArray.size());
}

}  // namespace pdf
