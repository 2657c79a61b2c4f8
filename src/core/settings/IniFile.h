#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tolvane {

// The settings file's INI text, read and edited the way the Windows profile
// calls read and edit it: section and key names ignore letter case; the first
// of two sections or keys of one name wins; blanks around names and values go,
// and so does one pair of quotes around a value; lines starting with ";" are
// comments. Edits change the text in place: every line an edit does not touch
// keeps its bytes, line ends included.
class IniFile final {
public:
    // No settings file of ours comes near this; a bigger file is neither read nor written.
    static constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{1} << 20;

    IniFile() = default;

    // Nothing when the file cannot be read, is not a regular file or is larger
    // than kMaxFileSize; an absent file reads as empty.
    static std::optional<IniFile> load(const std::filesystem::path& path, std::string* error = nullptr);
    static IniFile fromText(std::string text);

    // The value of key in section, or defaultValue (less its trailing spaces)
    // when the section or key is missing, cut to its first maxChars characters.
    // A key present with an empty value is not missing.
    std::string getString(
        std::string_view section, std::string_view key, std::string_view defaultValue, std::size_t maxChars) const;

    // Sets key in section to value, written as given. Spaces around the names
    // go. An existing key (the first of that name, in the first section of
    // that name) keeps its line, its spelling and everything before its value;
    // a new key follows the last key of its section; a new section goes at the
    // end of the text. What is written ends with CR LF.
    void setString(std::string_view section, std::string_view key, std::string_view value);

    // Writes the text to a temporary file beside path, flushes it to the disk
    // and renames it over path, so path holds either the old text or the new,
    // never a part. A file through a link is written where the link points.
    // Temporary files of earlier saves whose process is gone are removed. A
    // folder where no file can be made but whose file may be written gets the
    // text written over that file in place, its permission bits kept. A text
    // larger than kMaxFileSize, which load() would refuse, is not saved. On
    // failure, path is untouched (short of a crash during an in-place write)
    // and error says why.
    bool save(const std::filesystem::path& path, std::string* error = nullptr) const;

    // The bytes save() writes (a byte order mark the file began with included).
    const std::string& text() const { return text_; }

private:
    struct Line;
    struct Place;

    explicit IniFile(std::string text);
    std::size_t bodyStart() const;
    Line lineAt(std::size_t pos) const;
    Place locate(std::string_view section, std::string_view key) const;

    std::string text_;
};

} // namespace tolvane
