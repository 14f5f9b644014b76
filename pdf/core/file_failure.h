#pragma once
// The failure recorded when the system refuses the output file. The user
// must act differently on a full disk (61, "Disk full": make room) and on
// refused access (70, "Permission denied": a folder or file that may not be
// written), so these two are told apart; every other cause keeps the
// member's own number (52 when the file cannot be opened, 57 when a write
// fails).

#include <cerrno>
#include <cstdint>

#include "pdf/PdfWriter.h"

namespace pdf {

inline PdfError FileFailure(int system_error, std::int32_t otherwise) {
  switch (system_error) {
    case ENOSPC:
    case EDQUOT:
      return PdfError(61);
    case EACCES:
    case EPERM:
    case EROFS:
      return PdfError(70);
    default:
      return PdfError(otherwise);
  }
}

}  // namespace pdf
