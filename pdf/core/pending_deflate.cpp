// Placeholder definition until the deflate encoder lands; the helper that
// builds it deletes this file.
#include <stdexcept>

#include "pdf/core/deflate.h"

namespace pdf {
Bytes DeflateEncode(ByteSpan, int) { throw std::logic_error("DeflateEncode not built yet"); }
}  // namespace pdf
