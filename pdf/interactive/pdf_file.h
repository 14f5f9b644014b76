#pragma once
// Reading a source PDF file whole into memory, for the reader's pure
// functions over its bytes.

#include <string>

#include "pdf/core/bytes.h"
#include "pdf/interactive/pdf_objects.h"

namespace pdf {

// The file's bytes: 53 when no regular file of that name exists, 75 when it
// cannot be read, 321 when it is larger than the reader takes.
PdfStatus ReadPdfFile(const std::string& path, Bytes& out);

}  // namespace pdf
