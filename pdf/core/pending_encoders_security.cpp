// Placeholder definitions until the encoders, MD5 and RC4 land; the helper
// that builds them deletes this file.
#include <stdexcept>

#include "pdf/core/encoders.h"
#include "pdf/core/md5.h"
#include "pdf/core/rc4.h"

namespace pdf {
Bytes EncodeAsciiHex(ByteSpan) { throw std::logic_error("EncodeAsciiHex not built yet"); }
Bytes EncodeAscii85(ByteSpan) { throw std::logic_error("EncodeAscii85 not built yet"); }
Bytes EncodeLzw(ByteSpan, int) { throw std::logic_error("EncodeLzw not built yet"); }
Bytes EncodeRunLength(ByteSpan) { throw std::logic_error("EncodeRunLength not built yet"); }
Md5Digest Md5(ByteSpan) { throw std::logic_error("Md5 not built yet"); }
Rc4Schedule Rc4Prepare(ByteSpan) { throw std::logic_error("Rc4 not built yet"); }
void Rc4Apply(const Rc4Schedule&, std::span<std::uint8_t>) { throw std::logic_error("Rc4 not built yet"); }
void Rc4(ByteSpan, std::span<std::uint8_t>) { throw std::logic_error("Rc4 not built yet"); }
}  // namespace pdf
