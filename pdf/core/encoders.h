#pragma once
// The stream encoders other than deflate, as free functions over bytes.
// Each returns the encoded bytes; the writer prepends the matching filter
// name (see PdfWriter::WriteStream).

#include "pdf/core/bytes.h"

namespace pdf {

// Hexadecimal, upper case, without the closing ">".
Bytes EncodeAsciiHex(ByteSpan data);
// Base-85 with "z" for whole zero groups and the "~>" end marker.
Bytes EncodeAscii85(ByteSpan data);
// LZW with the early code-width change; `quality` 0..3 sets the largest code.
Bytes EncodeLzw(ByteSpan data, int quality);
// PackBits-style run lengths with the 128 end-of-data code.
Bytes EncodeRunLength(ByteSpan data);

}  // namespace pdf
