#include "settings/IniFile.h"

#include "model/AsciiText.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace tolvane {

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v';
}

std::string_view trimBlanks(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Calls f(line) for each line; CR LF, CR and LF all end a line. Stops when f returns true.
template <class F> void forEachLine(std::string_view text, F&& f)
{
    while (!text.empty()) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = text.substr(0, end);
        if (f(line))
            return;
        if (end == std::string_view::npos)
            return;
        std::size_t next = end + 1;
        if (text[end] == '\r' && next < text.size() && text[next] == '\n')
            ++next;
        text.remove_prefix(next);
    }
}

// The first n characters of UTF-8 text (a cut never splits a character).
std::string_view firstChars(std::string_view s, std::size_t n)
{
    std::size_t i = 0;
    for (std::size_t count = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (count == n)
                break;
            ++count;
        }
    }
    return s.substr(0, i);
}

} // namespace

IniFile::IniFile(std::string text)
    : text_(std::move(text))
{
    // A byte order mark is no part of the first line.
    if (text_.rfind("\xEF\xBB\xBF", 0) == 0)
        text_.erase(0, 3);
}

IniFile IniFile::fromText(std::string text)
{
    return IniFile(std::move(text));
}

std::optional<IniFile> IniFile::load(const std::filesystem::path& path, std::string* error)
{
    std::error_code ec;
    if (!std::filesystem::exists(path, ec) && !ec)
        return IniFile(std::string());
    if (std::filesystem::is_directory(path, ec)) {
        if (error)
            *error = std::strerror(EISDIR);
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error)
            *error = std::strerror(errno);
        return std::nullopt;
    }
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) {
        if (error)
            *error = "read error";
        return std::nullopt;
    }
    return IniFile(std::move(content).str());
}

std::optional<std::string_view> IniFile::find(std::string_view section, std::string_view key) const
{
    // The calls strip spaces, and only spaces, from the names they are given.
    section = trimSpaces(section);
    key = trimSpaces(key);
    enum class State { BeforeSection, InSection, OtherSection };
    State state = State::BeforeSection;
    bool sectionSeen = false;
    std::optional<std::string_view> found;
    forEachLine(text_, [&](std::string_view line) {
        const std::string_view body = trimBlanks(line);
        if (!body.empty() && body.front() == '[') {
            // A name ends at the first "]", or at the line's end when there is none.
            const std::string_view name = trimBlanks(body.substr(1, body.find(']', 1) - 1));
            if (state == State::InSection)
                return true; // only the first section of a name counts
            if (!sectionSeen && equalsIgnoringAsciiCase(name, section)) {
                state = State::InSection;
                sectionSeen = true;
            } else {
                state = State::OtherSection;
            }
            return false;
        }
        if (state != State::InSection || body.empty() || body.front() == ';')
            return false;
        const std::size_t eq = body.find('=');
        if (eq == std::string_view::npos)
            return false;
        if (equalsIgnoringAsciiCase(trimBlanks(body.substr(0, eq)), key)) {
            found = trimBlanks(body.substr(eq + 1));
            return true;
        }
        return false;
    });
    return found;
}

std::string IniFile::getString(
    std::string_view section, std::string_view key, std::string_view defaultValue, std::size_t maxChars) const
{
    std::string_view value;
    if (const auto stored = find(section, key)) {
        value = *stored;
        // One pair of matching quotes around the whole value goes before the cut.
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
            value = value.substr(1, value.size() - 2);
    } else {
        value = defaultValue;
        while (!value.empty() && value.back() == ' ')
            value.remove_suffix(1);
    }
    return std::string(firstChars(value, maxChars));
}

} // namespace tolvane
