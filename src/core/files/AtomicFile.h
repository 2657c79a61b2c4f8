#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace tolvane {

// Writes bytes to path as a whole or not at all: they go to a temporary file
// in the same folder, reach the disk, and only then replace path by a rename.
// A path through a link is written where the link points, also where that
// file is not there yet (a dangling link); links that lead round in a loop
// fail with ELOOP. On failure path is untouched, the temporary file is gone,
// and error says why in the system's words.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr);

// Writes all of bytes to fd, going on after a signal; false on any other error
// (errno says which).
bool writeAll(int fd, std::string_view bytes);

// Where a path leads once every symbolic link on its last part is followed.
struct LinkTarget {
    std::filesystem::path path; // the file itself, which need not be there
    bool throughLink = false; // path was reached through at least one link
    int error = 0; // ELOOP for links in a loop, or why a link could not be read
};
LinkTarget followLinks(const std::filesystem::path& path);

} // namespace tolvane
