#include "core/files/FileTexts.h"

namespace tolvane::FileTexts {

std::vector<std::string> recentMissing(const std::string& path)
{
    return {"ファイルが見つかりません。", path, "最近使ったファイルの一覧から削除しました。"};
}

std::vector<std::string> dropNotOneFile()
{
    return {"ファイルを1つだけドロップしてください。"};
}

std::vector<std::string> dropFolder(const std::string& path)
{
    return {"フォルダは開けません。スコアファイルをドロップしてください。", path};
}

std::vector<std::string> saveFailed(const std::string& path, const std::string& reason)
{
    return {"保存できませんでした。", path, reason};
}

std::string playsAdded(long count)
{
    return std::to_string(count) + " 件追加";
}

std::string logGone()
{
    return "スコアファイルが見つかりません。";
}

} // namespace tolvane::FileTexts
