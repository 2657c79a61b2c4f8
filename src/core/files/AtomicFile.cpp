#include "core/files/AtomicFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tolvane {

namespace fs = std::filesystem;

namespace {

bool fail(std::string* error, const std::string& what, int err)
{
    if (error)
        *error = what + ": " + std::strerror(err);
    return false;
}

// The mode a new file gets from open(2): 0666 less the process's umask.
mode_t newFileMode()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

LinkTarget followLinks(const fs::path& requested)
{
    // As many links as the system itself follows before it gives up (Linux: 40).
    constexpr int kMaxLinks = 40;
    LinkTarget target{requested, false, 0};
    std::error_code ec;
    for (int hops = 0; fs::is_symlink(target.path, ec); ++hops) {
        if (hops == kMaxLinks) {
            target.error = ELOOP;
            return target;
        }
        const fs::path next = fs::read_symlink(target.path, ec);
        if (ec) {
            target.error = ec.value();
            return target;
        }
        target.throughLink = true;
        target.path = next.is_absolute() ? next : target.path.parent_path() / next;
    }
    return target;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool writeFileAtomically(const fs::path& requested, std::string_view bytes, std::string* error)
{
    // A link is written where it leads, even where nothing is yet; the link stays.
    const LinkTarget target = followLinks(requested);
    if (target.error != 0)
        return fail(error, requested.string(), target.error);
    const fs::path& path = target.path;
    std::error_code ec;
    if (fs::is_directory(path, ec))
        return fail(error, path.string(), EISDIR);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");

    // A short name of its own, so a name as long as a folder allows can still be saved.
    std::string pattern = (folder / ".tolvane-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return fail(error, folder.string(), errno);
    const auto abandon = [&](int err) {
        ::close(fd);
        ::unlink(pattern.c_str());
        return fail(error, path.string(), err);
    };

    // A file saved over keeps its permission bits; a new one gets the usual ones.
    struct stat existing { };
    const mode_t mode = ::stat(path.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : newFileMode();
    if (::fchmod(fd, mode) != 0)
        return abandon(errno);
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        return abandon(errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(pattern.c_str());
        return fail(error, path.string(), err);
    }
    if (::rename(pattern.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(pattern.c_str());
        return fail(error, path.string(), err);
    }
    return true;
}

} // namespace tolvane
