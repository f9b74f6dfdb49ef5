// The profile functions over a file: one value read or written per call, the
// file opened anew every time (nothing is cached).
#pragma once

#include <cstddef>
#include <filesystem>

#include "text/ustring.h"

namespace qp::app {

// Bytes a value may have, as a 255-byte buffer with its terminating NUL
// leaves them.
constexpr std::size_t kProfileValueLimit = 254;

// The value of `key` in `section` of `file`, at most kProfileValueLimit bytes
// of its code page 932 form (a two-byte character is never split), or
// `fallback` when the file, the section or the key is missing or the file
// cannot be read.
Text ReadProfileString(const std::filesystem::path& file, TextView section, TextView key,
                       TextView fallback);

// Writes key=value into `section` of `file`, creating the file, the section
// or the key when missing. The file is replaced as a whole (a temporary file
// in the same folder, then a rename), so a crash leaves either the old or
// the new file, never part of one. False when it could not be written.
bool WriteProfileString(const std::filesystem::path& file, TextView section, TextView key,
                        TextView value);

}  // namespace qp::app
