#pragma once

#include "core/analysis/AnalysisFailure.h"
#include "core/log/Filter.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tolvane {

// The words an Open command shows, built once for the window and the
// command-line report alike. Messages are lists of lines.
namespace RunTexts {

inline constexpr std::string_view kTitle = "Tolvane";
inline constexpr std::string_view kIdleStatus = "ｽﾃｰﾀｽ";
inline constexpr std::string_view kDrawingStatus = "グラフ描画中…";
inline constexpr std::string_view kSavingStatus = "設定を保存中です…";
inline constexpr std::string_view kCannotOpen = "Score.txtがみつかりません。";
inline constexpr std::string_view kCannotAnalyse = "スコアファイルを解析できませんでした。";
// The reader's words for a path that is there but is no file to read (a
// device, a named pipe).
inline constexpr std::string_view kNotRegularFile = "not a regular file";

// "スコアファイル解析中です…   P%" and, while minimised, the caption "解析中…  P%".
std::string readingStatus(int percent);
std::string readingCaption(int percent);
// The ranking phase's first text has one more blank than the ones after it.
std::string rankingStartStatus();
std::string rankingStatus(int percent);
std::string rankingCaption(int percent);

// The status after a completed run: the plays in the data list, then the
// entries the load filters left out (read minus accepted), with thousands
// separators: "20,000 件 (948 件除外)".
std::string countsStatus(std::int64_t entriesRead, std::int64_t accepted);

// The six lines that ask whether to start with these filters.
std::vector<std::string> confirmation(std::string_view path, const Filter& filter);
// The completion message: size in KB and the play-history text.
std::vector<std::string> completion(std::uint64_t sizeBytes, std::string_view history);
// The message of a failed Open command. A file that is there but cannot be
// read (no permission, a folder, a device) gets "Score.txtがみつかりません。"
// with the reason on a second line: "（アクセスが拒否されました）".
std::vector<std::string> failure(const AnalysisFailure& failure);

} // namespace RunTexts

} // namespace tolvane
