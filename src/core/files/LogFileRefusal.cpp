#include "core/files/LogFileRefusal.h"

#include <system_error>

namespace tolvane {

std::optional<std::string> logFileRefusal(const std::filesystem::path& path)
{
    namespace fs = std::filesystem;
    std::error_code error;
    // The file a link points to is what would be read.
    const fs::file_status status = fs::status(path, error);
    if (error)
        return std::nullopt;
    const char* what = nullptr;
    switch (status.type()) {
    case fs::file_type::directory: what = "フォルダーです"; break;
    case fs::file_type::block:
    case fs::file_type::character: what = "デバイスです"; break;
    case fs::file_type::fifo: what = "名前付きパイプ (FIFO) です"; break;
    case fs::file_type::socket: what = "ソケットです"; break;
    case fs::file_type::regular:
    case fs::file_type::not_found:
    case fs::file_type::none: return std::nullopt;
    default: what = "通常のファイルではありません"; break;
    }
    return "「" + path.string() + "」は" + std::string(what) + "。プレイログのファイルを選んでください。";
}

} // namespace tolvane
