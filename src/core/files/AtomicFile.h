#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tolvane {

// Writes bytes to path as a whole or not at all: they go to a temporary file
// in the same folder, reach the disk, and only then replace path by a rename.
// A path through a link is written where the link points. On failure path is
// untouched, the temporary file is gone, and error says why in the system's
// words.
// Writes all of bytes to fd, going on after a signal; false on any other error
// (errno says which).
bool writeAll(int fd, std::string_view bytes);

bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr);

} // namespace tolvane
