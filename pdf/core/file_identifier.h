#pragma once
// The file identifier of a protected document: 16 bytes of its own, from
// which, with the passwords and permissions, the document key is worked
// out. An identifier that other documents share would give documents
// protected by the same passwords and permissions one key, and so one RC4
// keystream for each object number: a page known in one would reveal the
// other's.
//
// Alone in its source file, so that a program may link a definition of its
// own in its place (the fuzz targets make every run of an input repeat).

#include <array>
#include <cstdint>
#include <string_view>

namespace pdf {

using FileIdentifier = std::array<std::uint8_t, 16>;

// A new identifier, different for each call, each writer and each process:
// the MD5 digest of the producer text, the time to the nanosecond, the
// writer's address, a count of the calls in this process and 16 bytes of
// the system's random source.
FileIdentifier NewFileIdentifier(std::string_view Producer, const void* Writer);

}  // namespace pdf
