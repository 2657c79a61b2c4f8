#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace tolvane {

// Why a path chosen to open cannot be a play log before anything is read:
// a folder, a device, a named pipe or a socket. The message names the path
// and what it is. nullopt for a regular file, and for a path that does not
// exist or cannot be looked at: opening it then fails as usual.
std::optional<std::string> logFileRefusal(const std::filesystem::path& path);

} // namespace tolvane
