#include "core/settings/IniFile.h"
#include "core/files/AtomicFile.h"

#include "core/log/AsciiText.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstring>
#include <fstream>
#include <limits>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {

namespace fs = std::filesystem;

// One line of the text: its characters are [begin, end); the next line starts at next.
struct IniFile::Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

// Where a key is, or would go.
struct IniFile::Place {
    std::optional<Line> header; // the first section of the name
    std::optional<Line> key; // the first key of the name in it
    std::size_t valueBegin = 0; // past "=" and the blanks after it
    std::string_view value; // without the blanks around it
    Line lastKey; // a new key goes after this line: the section's last key, or its header
};

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";

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

enum class LineKind { Other, Header, Key };

struct ParsedLine {
    LineKind kind = LineKind::Other;
    std::string_view name;
    std::string_view value;
    std::size_t valueOffset = 0; // from the start of the line
};

// Blank lines, comments and lines without "=" are Other: no lookup sees them.
ParsedLine parseLine(std::string_view line)
{
    const std::string_view body = trimBlanks(line);
    if (body.empty() || body.front() == ';')
        return {};
    if (body.front() == '[') {
        // A name ends at the first "]", or at the line's end when there is none.
        return {LineKind::Header, trimBlanks(body.substr(1, body.find(']', 1) - 1)), {}, 0};
    }
    const std::size_t eq = body.find('=');
    if (eq == std::string_view::npos)
        return {};
    std::size_t offset = static_cast<std::size_t>(body.data() - line.data()) + eq + 1;
    while (offset < line.size() && isBlank(line[offset]))
        ++offset;
    return {LineKind::Key, trimBlanks(body.substr(0, eq)), trimBlanks(body.substr(eq + 1)), offset};
}

std::string keyLine(std::string_view key, std::string_view value)
{
    std::string line;
    line.reserve(key.size() + value.size() + 3);
    line.append(key).append("=").append(value).append(kLineEnd);
    return line;
}

std::string reason(const std::string& what, int err)
{
    return what + ": " + std::strerror(err);
}

// A temporary file that is removed again unless it was renamed into place.
class TemporaryFile final {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile()
    {
        closeFile();
        if (!path_.empty())
            ::unlink(path_.c_str());
    }

    // Creates a new file beside target; false with errno set when none can be made.
    bool create(const fs::path& target)
    {
        const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
        std::string stem = ".";
        stem += target.filename().string();
        stem += '.';
        stem += std::to_string(::getpid());
        stem += '.';
        for (int attempt = 0; attempt < 100; ++attempt) {
            const fs::path candidate = folder / (stem + std::to_string(attempt) + ".tmp");
            fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0) {
                path_ = candidate;
                return true;
            }
            if (errno != EEXIST)
                return false;
        }
        return false;
    }

    int fd() const { return fd_; }
    const fs::path& path() const { return path_; }

    bool closeFile()
    {
        if (fd_ < 0)
            return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

    // The file is in place now; it must not be removed.
    void keep() { path_.clear(); }

private:
    int fd_ = -1;
    fs::path path_;
};

// The process id in the name of a temporary file of ours beside target
// (".<name>.<pid>.<n>.tmp"); nothing for any other name.
std::optional<pid_t> temporaryFileOwner(std::string_view name, std::string_view targetName)
{
    constexpr std::string_view kSuffix = ".tmp";
    if (name.size() < targetName.size() + 2 || name[0] != '.' || !name.substr(1).starts_with(targetName)
        || !name.ends_with(kSuffix))
        return std::nullopt;
    name.remove_prefix(1 + targetName.size());
    name.remove_suffix(kSuffix.size());
    // What is left is ".<pid>.<n>".
    const auto digits = [](std::string_view s) {
        return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
    };
    const std::size_t dot = name.find('.', 1);
    if (!name.starts_with('.') || dot == std::string_view::npos || !digits(name.substr(1, dot - 1))
        || !digits(name.substr(dot + 1)))
        return std::nullopt;
    long long pid = 0;
    const std::string_view pidText = name.substr(1, dot - 1);
    const auto [end, ec] = std::from_chars(pidText.data(), pidText.data() + pidText.size(), pid);
    // 0 and -1 would name a process group or every process to kill().
    if (ec != std::errc() || pid <= 0 || pid > std::numeric_limits<pid_t>::max())
        return std::nullopt;
    return static_cast<pid_t>(pid);
}

// A save killed between making its temporary file and renaming it leaves the
// file behind. Those whose process is gone are removed; one of a process that
// still runs may be a save under way, and ours is never stale.
void removeStaleTemporaryFiles(const fs::path& target)
{
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const std::string targetName = target.filename().string();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const std::optional<pid_t> owner = temporaryFileOwner(it->path().filename().string(), targetName);
        if (owner && *owner != ::getpid() && ::kill(*owner, 0) == -1 && errno == ESRCH)
            ::unlink(it->path().c_str());
    }
}

// Writes the file where it stands, for a folder that lets no new file be
// made but holds one that may be written. The old bytes are written over
// before the file is cut to its new length, so a disk that fills up stops
// the write where the old file still had room. A crash midway leaves a part
// of the new text; without a file beside it there is nothing better.
bool writeInPlace(const fs::path& target, std::string_view text, std::string* why)
{
    // Not blocking, so that a pipe put there cannot hold the save up.
    const int fd = ::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        *why = reason(target.string(), errno);
        return false;
    }
    struct stat status { };
    bool written = ::fstat(fd, &status) == 0;
    if (written && !S_ISREG(status.st_mode)) {
        written = false;
        errno = EINVAL;
    }
    written
        = written && writeAll(fd, text) && ::ftruncate(fd, static_cast<off_t>(text.size())) == 0 && ::fsync(fd) == 0;
    const int err = errno;
    if (::close(fd) != 0 && written) {
        *why = reason(target.string(), errno);
        return false;
    }
    if (!written)
        *why = reason(target.string(), err);
    return written;
}

} // namespace

IniFile::IniFile(std::string text)
    : text_(std::move(text))
{
}

IniFile IniFile::fromText(std::string text)
{
    return IniFile(std::move(text));
}

std::optional<IniFile> IniFile::load(const fs::path& path, std::string* error)
{
    const auto fail = [error](std::string why) -> std::optional<IniFile> {
        if (error)
            *error = std::move(why);
        return std::nullopt;
    };
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found)
        return IniFile();
    if (ec)
        return fail(ec.message());
    if (fs::is_directory(status))
        return fail(std::strerror(EISDIR));
    // A pipe or a device could hold the start up for ever.
    if (!fs::is_regular_file(status))
        return fail("not a regular file");
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return fail(std::strerror(errno));
    std::string content(static_cast<std::size_t>(kMaxFileSize) + 1, '\0');
    in.read(content.data(), static_cast<std::streamsize>(content.size()));
    if (in.bad())
        return fail("read error");
    content.resize(static_cast<std::size_t>(in.gcount()));
    if (content.size() > kMaxFileSize)
        return fail("larger than 1 MiB, too large for a settings file");
    return IniFile(std::move(content));
}

std::size_t IniFile::bodyStart() const
{
    // A byte order mark is no part of the first line, but it stays in the file.
    return std::string_view(text_).starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0;
}

IniFile::Line IniFile::lineAt(std::size_t pos) const
{
    // CR LF, CR and LF all end a line. Short lines are walked; a long one
    // goes to memchr, in a growing window so that a file with one kind of line
    // end is not searched to its end for the other kind on every line.
    const std::size_t size = text_.size();
    const char* const data = text_.data();
    std::size_t end = pos;
    const std::size_t walked = std::min(size, pos + 64);
    while (end < walked && data[end] != '\r' && data[end] != '\n')
        ++end;
    if (end == walked) {
        for (std::size_t window = 256; end < size; window *= 2) {
            const char* const from = data + end;
            const std::size_t length = std::min(window, size - end);
            const auto* lf = static_cast<const char*>(std::memchr(from, '\n', length));
            const std::size_t beforeLf = lf ? static_cast<std::size_t>(lf - from) : length;
            const auto* cr = static_cast<const char*>(std::memchr(from, '\r', beforeLf));
            if (cr || lf) {
                end += cr ? static_cast<std::size_t>(cr - from) : beforeLf;
                break;
            }
            end += length;
        }
    }
    Line line{pos, end, end};
    if (end < size)
        line.next += text_[end] == '\r' && end + 1 < size && text_[end + 1] == '\n' ? 2 : 1;
    return line;
}

IniFile::Place IniFile::locate(std::string_view section, std::string_view key) const
{
    // The calls strip spaces, and only spaces, from the names they are given.
    section = trimSpaces(section);
    key = trimSpaces(key);
    const std::string_view text = text_;
    Place place;
    for (std::size_t pos = bodyStart(); pos < text.size();) {
        const Line line = lineAt(pos);
        pos = line.next;
        const std::string_view content = text.substr(line.begin, line.end - line.begin);
        const ParsedLine parsed = parseLine(content);
        if (parsed.kind == LineKind::Header) {
            if (place.header)
                break; // only the first section of a name counts
            if (equalsIgnoringAsciiCase(parsed.name, section)) {
                place.header = line;
                place.lastKey = line;
            }
            continue;
        }
        if (!place.header || parsed.kind != LineKind::Key)
            continue;
        if (equalsIgnoringAsciiCase(parsed.name, key)) {
            place.key = line;
            place.valueBegin = line.begin + parsed.valueOffset;
            place.value = parsed.value;
            break;
        }
        place.lastKey = line;
    }
    return place;
}

std::string IniFile::getString(
    std::string_view section, std::string_view key, std::string_view defaultValue, std::size_t maxChars) const
{
    const Place place = locate(section, key);
    std::string_view value;
    if (place.key) {
        value = place.value;
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

void IniFile::setString(std::string_view section, std::string_view key, std::string_view value)
{
    section = trimSpaces(section);
    key = trimSpaces(key);
    const Place place = locate(section, key);
    if (place.key) {
        std::string rest(value);
        rest.append(kLineEnd);
        text_.replace(place.valueBegin, place.key->next - place.valueBegin, rest);
        return;
    }
    if (place.header) {
        const Line after = place.lastKey;
        // Only the text's last line can lack its line end.
        const std::string_view lineEnd = after.next == after.end ? kLineEnd : std::string_view();
        text_.insert(after.next, std::string(lineEnd) + keyLine(key, value));
        return;
    }
    if (text_.size() > bodyStart() && text_.back() != '\r' && text_.back() != '\n')
        text_.append(kLineEnd);
    text_.append("[").append(section).append("]").append(kLineEnd).append(keyLine(key, value));
}

bool IniFile::save(const fs::path& path, std::string* error) const
{
    const auto fail = [error](std::string why) {
        if (error)
            *error = std::move(why);
        return false;
    };
    // A file the loader would refuse must not replace one it reads.
    if (text_.size() > kMaxFileSize)
        return fail("設定が1 MiBを超えるため保存しませんでした。超えると次の起動で読み込めません。");
    std::error_code ec;
    fs::path target = path;
    // Replacing a link would cut it from the file it stands for.
    if (fs::is_symlink(path, ec)) {
        fs::path resolved = fs::canonical(path, ec);
        if (ec)
            return fail(path.string() + ": " + ec.message());
        target = std::move(resolved);
    }
    if (fs::is_directory(target, ec))
        return fail(reason(target.string(), EISDIR));
    // A file made read-only stays as it is, as it would under Windows.
    if (::access(target.c_str(), W_OK) != 0 && errno != ENOENT)
        return fail(reason(target.string(), errno));

    removeStaleTemporaryFiles(target);
    TemporaryFile temp;
    if (!temp.create(target)) {
        const int err = errno;
        // A folder closed to new files may still hold a file open to writing.
        std::string why;
        if ((err == EACCES || err == EPERM) && ::access(target.c_str(), W_OK) == 0)
            return writeInPlace(target, text_, &why) || fail(std::move(why));
        return fail(reason("cannot create a file beside " + target.string(), err));
    }
    struct stat old { };
    if (::stat(target.c_str(), &old) == 0 && ::fchmod(temp.fd(), old.st_mode & 07777) != 0)
        return fail(reason(temp.path().string(), errno));
    if (!writeAll(temp.fd(), text_) || ::fsync(temp.fd()) != 0 || !temp.closeFile())
        return fail(reason(temp.path().string(), errno));
    if (::rename(temp.path().c_str(), target.c_str()) != 0)
        return fail(reason("cannot replace " + target.string(), errno));
    temp.keep();

    // The rename reaches the disk with the folder's entry; a failure here leaves
    // a complete file either way, so it is not reported.
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

} // namespace tolvane
