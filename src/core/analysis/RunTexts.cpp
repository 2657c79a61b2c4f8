#include "core/analysis/RunTexts.h"

#include "core/log/DateText.h"

#include <cerrno>
#include <cstring>

namespace tolvane::RunTexts {

namespace {

std::string grouped(std::int64_t n)
{
    const std::string digits = std::to_string(n < 0 ? -n : n);
    std::string out = n < 0 ? std::string(1, '-') : std::string();
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.push_back(',');
        out.push_back(digits[i]);
    }
    return out;
}

std::string withPercent(std::string_view text, int percent)
{
    return std::string(text) + std::to_string(percent) + "%";
}

// The answer after a filter's label; a side none of the three leaves the label alone.
std::string sideAnswer(bool on, std::int16_t side)
{
    if (!on)
        return "いいえ";
    switch (side) {
    case 0: return "はい  1P";
    case 1: return "はい  2P";
    case 2: return "はい  1P+2P";
    default: return {};
    }
}

std::string_view causeText(AnalysisFailure::Cause cause)
{
    using Cause = AnalysisFailure::Cause;
    switch (cause) {
    case Cause::CannotOpen: return "ファイルを開けません。";
    case Cause::ShortDateLine: return "日時の行が短すぎます。";
    case Cause::BadDate: return "日付を読み取れません。";
    case Cause::BadTime: return "時刻を読み取れません。";
    case Cause::ScoreTooLarge: return "スコアが大きすぎます。";
    case Cause::NumberTooLarge: return "数値が大きすぎます。";
    case Cause::EndsInsideEntry: return "エントリーの途中でファイルが終わっています。";
    case Cause::LineTooLong: return "行が長すぎます（1行1MBまで）。";
    case Cause::OutOfMemory: return "メモリが足りません。";
    case Cause::MaxComboTooLarge: return "MaxComboが大きすぎます。";
    case Cause::NoPlays: return "読み込みの設定に合うプレイがありません。";
    case Cause::NoEntries: return "このファイルにはプレイの記録がありません。プレイログではないかもしれません。";
    }
    return {};
}

// Why a file could not be opened or read, in the window's words, from the
// system's words the reader kept (in whatever language the system spoke
// them); the system's words themselves for a reason not named here.
std::string openReason(const std::string& detail)
{
    static constexpr std::pair<int, std::string_view> kReasons[] = {
        {EACCES, "アクセスが拒否されました"},
        {EPERM, "アクセスが拒否されました"},
        {EISDIR, "ファイルではなくフォルダーです"},
        {ELOOP, "シンボリックリンクが循環しています"},
        {ENAMETOOLONG, "ファイル名が長すぎます"},
        {ENOTDIR, "パスの途中にフォルダーでないものがあります"},
        {EIO, "読み取り中に入出力エラーが起きました"},
    };
    for (const auto& [err, reason] : kReasons) {
        if (detail == std::strerror(err))
            return std::string(reason);
    }
    if (detail == kNotRegularFile)
        return "通常のファイルではありません（デバイスや名前付きパイプなど）";
    return detail;
}

} // namespace

std::string readingStatus(int percent)
{
    return withPercent("スコアファイル解析中です…   ", percent);
}

std::string readingCaption(int percent)
{
    return withPercent("解析中…  ", percent);
}

std::string rankingStartStatus()
{
    return "ランキング計測中…     0%";
}

std::string rankingStatus(int percent)
{
    return withPercent("ランキング計測中…    ", percent);
}

std::string rankingCaption(int percent)
{
    return withPercent("計測中…\u3000", percent);
}

std::vector<std::string> confirmation(std::string_view path, const Filter& filter)
{
    std::vector<std::string> lines;
    lines.emplace_back("以下の設定で解析を始めます。よろしいですか。");
    lines.push_back("ファイル名 " + std::string(path));
    lines.push_back("オートプレイを除く        " + sideAnswer(filter.IgnoreAutoplay, filter.optIgnoreAuto));
    lines.push_back("オートスクラッチを除く        " + sideAnswer(filter.IgnoreScrach, filter.optIgnoreScr));
    lines.push_back(
        filter.ScoreFilter ? std::to_string(filter.MinScore) + "点未満を読み込まない" : std::string("スコア制限なし"));
    lines.push_back(filter.SpanFilter
            ? "期間設定  " + dateTimeText(filter.Mintime) + "から" + dateTimeText(filter.Maxtime) + "まで"
            : std::string("期間設定なし"));
    return lines;
}

std::vector<std::string> completion(std::uint64_t sizeBytes, std::string_view history)
{
    return {"解析が完了しました。", "ファイルサイズ     " + std::to_string(sizeBytes / 1024) + "KB",
        "自分が誇れるBM98歴(笑) ", "   " + std::string(history)};
}

std::vector<std::string> failure(const AnalysisFailure& f)
{
    if (f.kind == AnalysisFailure::Kind::Open && f.cause != AnalysisFailure::Cause::OutOfMemory) {
        // A file that is not there is what the message says; anything else
        // that is there but cannot be read gets its reason on a second line.
        if (f.detail.empty() || f.detail == std::strerror(ENOENT))
            return {std::string(kCannotOpen)};
        return {std::string(kCannotOpen), "（" + openReason(f.detail) + "）"};
    }
    std::string cause(causeText(f.cause));
    if (f.line > 0)
        cause = std::to_string(f.line) + "行目: " + cause;
    return {std::string(kCannotAnalyse), cause};
}

std::string countsStatus(std::int64_t entriesRead, std::int64_t accepted)
{
    return grouped(accepted) + " 件 (" + grouped(entriesRead - accepted) + " 件除外)";
}

} // namespace tolvane::RunTexts
