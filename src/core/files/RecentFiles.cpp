#include "core/files/RecentFiles.h"

#include "core/settings/SettingsFile.h"

#include <algorithm>
#include <filesystem>

namespace tolvane {

namespace fs = std::filesystem;

RecentFiles::RecentFiles(const std::vector<std::string>& paths)
{
    // The first mention of a path keeps its place; later repeats go.
    std::vector<std::string> ordered;
    for (const std::string& path : paths) {
        if (path.empty())
            continue;
        const std::string n = normalised(path);
        if (std::find(ordered.begin(), ordered.end(), n) == ordered.end())
            ordered.push_back(n);
    }
    if (ordered.size() > kMax)
        ordered.resize(kMax);
    paths_ = std::move(ordered);
}

std::string RecentFiles::normalised(const std::string& path)
{
    if (path.empty())
        return path;
    std::error_code ec;
    fs::path absolute = fs::absolute(fs::path(path), ec);
    if (ec)
        absolute = fs::path(path);
    return absolute.lexically_normal().string();
}

void RecentFiles::add(const std::string& path)
{
    if (path.empty())
        return;
    const std::string n = normalised(path);
    std::erase(paths_, n);
    paths_.insert(paths_.begin(), n);
    if (paths_.size() > kMax)
        paths_.resize(kMax);
}

bool RecentFiles::remove(const std::string& path)
{
    return std::erase(paths_, normalised(path)) > 0;
}

std::string logToReopen(const FileSettings& files)
{
    const std::string& last = files.recent.front();
    return files.reopenLast && isExistingFile(last) ? last : std::string();
}

bool isExistingFile(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(fs::path(path), ec);
}

std::string folderOf(const std::string& path)
{
    return fs::path(RecentFiles::normalised(path)).parent_path().string();
}

} // namespace tolvane
