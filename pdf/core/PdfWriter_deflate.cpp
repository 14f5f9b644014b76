// The writer's public deflate member: a thin wrapper over the free encoder
// (pdf/core/deflate.cpp), which holds all of the algorithm.
#include "pdf/PdfWriter.h"
#include "pdf/core/deflate.h"

namespace pdf {

void PdfWriter::zzToFlateDecode(Bytes& ByteArray, std::int32_t& BufCount,
                                std::uint8_t CompressionQuality) {
  // The member is public, so any quality can arrive here; the effort table
  // has rows for 0 to 3 only, and a higher quality means the most effort.
  const int quality = CompressionQuality > 3 ? 3 : CompressionQuality;
  ByteArray = DeflateEncode(ByteArray, quality);
  BufCount = static_cast<std::int32_t>(ByteArray.size());
}

}  // namespace pdf
