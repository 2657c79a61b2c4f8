#pragma once

#include <string>
#include <vector>

namespace tolvane::FileTexts {

// A recent file that is gone: the message, after which it leaves the list.
std::vector<std::string> recentMissing(const std::string& path);
// Something dropped on the window that is not one file.
std::vector<std::string> dropNotOneFile();
std::vector<std::string> dropFolder(const std::string& path);
// A save that failed; nothing was left behind.
std::vector<std::string> saveFailed(const std::string& path, const std::string& reason);
// The status bar after plays were added to an open log.
std::string playsAdded(long count);
// The open log is gone (it is read again in full if it comes back).
std::string logGone();

} // namespace tolvane::FileTexts
