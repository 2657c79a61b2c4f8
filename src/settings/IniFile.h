#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// The settings file's INI text, read the way the Windows profile calls read
// it: section and key names ignore letter case; the first of two sections or
// keys of one name wins; blanks around names and values go, and so does one
// pair of quotes around a value; lines starting with ";" are comments.
class IniFile final {
public:
    // Nothing when the file cannot be read; an absent file reads as empty.
    static std::optional<IniFile> load(const std::filesystem::path& path, std::string* error = nullptr);
    static IniFile fromText(std::string text);

    // The value of key in section, or defaultValue (less its trailing spaces)
    // when the section or key is missing, cut to its first maxChars characters.
    // A key present with an empty value is not missing.
    std::string getString(
        std::string_view section, std::string_view key, std::string_view defaultValue, std::size_t maxChars) const;

    const std::string& text() const { return text_; }

private:
    explicit IniFile(std::string text);
    std::optional<std::string_view> find(std::string_view section, std::string_view key) const;

    std::string text_;
};

} // namespace tolvane
