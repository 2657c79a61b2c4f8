#pragma once

#include "core/log/Filter.h"
#include "core/settings/IniFile.h"
#include "core/trends/ChartStyle.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace tolvane {

// The main window's placement and the data list's column widths, in twips.
struct WindowSettings final {
    double MainLeft = 1000;
    double MainTop = 1000;
    double MainWidth = 6500;
    double MainHeight = 6500;
    int WindowState = 0; // as stored; only 2 means maximised
    std::array<double, 10> columnWidths{2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000, 2000};
};

// The logs opened last and how the window treats the open log.
struct FileSettings final {
    bool reopenLast = true; // open the last log at start, without dialogs
    bool followLog = true; // read the plays the game appends to the open log
    std::string lastFolder; // where the Open dialog starts
    std::array<std::string, 5> recent; // most recent first; empty slots unused
};

// How the sessions page splits plays into sittings.
struct SessionSettings final {
    std::int32_t gapMinutes = 30; // a longer pause starts a new session; 1..1440
};

// Everything the settings file holds.
struct ProgramSettings final {
    WindowSettings window;
    Filter filter;
    GraphSettings graph;
    FileSettings files;
    SessionSettings sessions;
};

// The main window's state when it closes.
enum class WindowPlacement { Normal, Maximised, Minimised };

// Every setting of the file. A missing key, or one whose text cannot be
// converted or lies outside its setting's range, takes its default; a key
// present with an empty value is not missing (an empty number reads as 0).
ProgramSettings readSettings(const IniFile& ini);

// Writes every setting, changed or not, in the file's order. The placement
// decides the window's keys: normal writes the edges and sizes, then
// WindowState 0; maximised writes only WindowState 2, so the window comes
// back maximised over its last normal placement; minimised writes neither.
// settings.window.WindowState is not written; the placement stands for it.
void writeSettings(IniFile& ini, const ProgramSettings& settings, WindowPlacement placement);

// "Tolvane.ini" in the program's folder when it is there already or the
// folder is writable; otherwise, and always for a program installed under
// /usr, /bin, /sbin or /opt, Tolvane/Tolvane.ini under $XDG_CONFIG_HOME
// (~/.config when that is unset or not an absolute path).
std::filesystem::path settingsPath(const std::filesystem::path& programFolder);

// The settings file; a missing one reads as empty. Nothing when it cannot be
// read (see IniFile::load), and error says why.
std::optional<IniFile> loadSettingsFile(const std::filesystem::path& path, std::string* error = nullptr);

// Reads the file afresh, writes the settings into it and saves it (see
// IniFile::save), making its folder first when there is none, so lines and
// keys the program does not know survive, hand edits made while it ran
// included. A file that cannot be read is left alone: the result is false, as
// for any failure, and error says why.
bool saveSettingsFile(const std::filesystem::path& path, const ProgramSettings& settings, WindowPlacement placement,
    std::string* error = nullptr);

} // namespace tolvane
