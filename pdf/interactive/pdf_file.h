#pragma once
// Reading a source PDF file whole into memory, for the reader's pure
// functions over its bytes.

#include <cstdint>
#include <string>

#include "pdf/core/bytes.h"
#include "pdf/interactive/pdf_objects.h"

namespace pdf {

// The file's bytes: 53 when no regular file of that name exists, 75 when it
// cannot be read, 321 when it is larger than the reader takes.
PdfStatus ReadPdfFile(const std::string& path, Bytes& out);

// The file's size and modification time, which tell whether bytes read
// before are still the file's; false when it cannot be looked at.
bool PdfFileStamp(const std::string& path, std::int64_t& size, std::int64_t& time);

}  // namespace pdf
