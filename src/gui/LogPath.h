#pragma once

#include <QFile>
#include <QString>

#include <filesystem>

namespace tolvane {

// A log's path as the reader and the follower open it: the bytes the file
// system holds, whatever the locale. Every path from a dialog, a drop, the
// command line or the recent list goes through here.
inline std::filesystem::path logPath(const QString& path)
{
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

// The other way, for the window's texts and the settings.
inline QString logPathText(const std::filesystem::path& path)
{
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
}

} // namespace tolvane
