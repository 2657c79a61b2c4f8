#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tolvane {

// The logs opened last, most recent first: at most kMax, each path once.
// Paths are kept absolute and without "." or ".." parts, so two spellings of
// one path count as the same.
class RecentFiles final {
public:
    static constexpr std::size_t kMax = 5;

    RecentFiles() = default;
    // Takes a stored list in its order; empty entries, repeats and entries
    // past kMax go.
    explicit RecentFiles(const std::vector<std::string>& paths);

    // Puts path first, removing an earlier mention of it.
    void add(const std::string& path);
    // False when path was not in the list.
    bool remove(const std::string& path);

    const std::vector<std::string>& paths() const { return paths_; }
    bool empty() const { return paths_.empty(); }

    // The form in which the list keeps a path.
    static std::string normalised(const std::string& path);

private:
    std::vector<std::string> paths_;
};

struct FileSettings;

// The log to open at start without dialogs: the most recent one, when the
// option is on and the file is still there; empty otherwise.
std::string logToReopen(const FileSettings& files);

// True when path names a regular file (through links) that exists now.
bool isExistingFile(const std::string& path);

// The folder a file lies in, for the next Open dialog to start from.
std::string folderOf(const std::string& path);

} // namespace tolvane
