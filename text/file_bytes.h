// A whole file's bytes in one piece: sized from the file itself, so a large
// document is read in a few system calls without copying or regrowing.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <system_error>

namespace qp {

// The file's bytes, or nothing with `error` set when it cannot be opened or
// read (missing, a folder, no permission). A file that grows or shrinks
// while it is read gives the bytes actually there.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file, std::error_code& error);

}  // namespace qp
