#include "core/files/AtomicFile.h"

#include "support/TempDir.h"

#include <cerrno>
#include <cstring>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tolvane;
using tolvane::testing::readBytes;
namespace fs = std::filesystem;

namespace {

long filesIn(const fs::path& folder)
{
    return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

// Folder permissions do not stop root, so as root the write runs in a child
// process as nobody; the child reports the result and the error text.
bool writesAsAnOrdinaryUser(const fs::path& path, std::string_view bytes, std::string& error)
{
    if (::geteuid() != 0)
        return writeFileAtomically(path, bytes, &error);
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return false;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        std::string why;
        const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
        const bool ok = dropped && writeFileAtomically(path, bytes, &why);
        [[maybe_unused]] const auto n = ::write(pipeFds[1], why.data(), why.size());
        ::_exit(ok ? 0 : 1);
    }
    ::close(pipeFds[1]);
    char buffer[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;)
        error.append(buffer, static_cast<std::size_t>(n));
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST(AtomicFile, ReplacesTheWholeFileAndLeavesNothingElse)
{
    tolvane::testing::TempDir dir;
    const fs::path file = dir.file("out.csv");
    ASSERT_TRUE(writeFileAtomically(file, "first, longer text"));
    ::chmod(file.c_str(), 0640);
    ASSERT_TRUE(writeFileAtomically(file, "second"));
    EXPECT_EQ(readBytes(file), "second");
    EXPECT_EQ(fs::status(file).permissions() & fs::perms::all, fs::perms(0640));
    EXPECT_EQ(filesIn(dir.path()), 1);

    std::string error;
    EXPECT_FALSE(writeFileAtomically(dir.path(), "x", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(writeFileAtomically(dir.file("no-such-folder") / "out.csv", "x", &error));
    EXPECT_EQ(filesIn(dir.path()), 1);
}

TEST(AtomicFile, AReadOnlyFolderGetsAReasonAndNoFile)
{
    tolvane::testing::TempDir dir;
    const fs::path folder = dir.file("locked");
    fs::create_directories(folder);
    tolvane::testing::writeBytes(folder / "old.csv", "old");
    fs::permissions(folder, fs::perms(0555));
    std::string error;
    EXPECT_FALSE(writesAsAnOrdinaryUser(folder / "new.csv", "data", error));
    EXPECT_FALSE(writesAsAnOrdinaryUser(folder / "old.csv", "data", error));
    EXPECT_NE(error.find("Permission denied"), std::string::npos) << error;
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(filesIn(folder), 1);
    EXPECT_EQ(readBytes(folder / "old.csv"), "old");
}

TEST(AtomicFile, ALinkIsWrittenWhereItLeadsAndALoopIsRefused)
{
    tolvane::testing::TempDir dir;
    // A dangling link: the file it names is made, and the link stays a link.
    const fs::path link = dir.file("out.csv");
    fs::create_symlink("target.csv", link);
    ASSERT_TRUE(writeFileAtomically(link, "through"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(dir.file("target.csv")), "through");

    fs::create_symlink("b", dir.file("a"));
    fs::create_symlink("a", dir.file("b"));
    std::string error;
    EXPECT_FALSE(writeFileAtomically(dir.file("a"), "x", &error));
    EXPECT_NE(error.find(std::strerror(ELOOP)), std::string::npos) << error;
    EXPECT_TRUE(fs::is_symlink(dir.file("a")) && fs::is_symlink(dir.file("b")));
    EXPECT_EQ(filesIn(dir.path()), 4);
}

TEST(AtomicFile, ANameAsLongAsTheFolderAllowsIsSaved)
{
    tolvane::testing::TempDir dir;
    const fs::path longest = dir.file(std::string(251, 'n') + ".csv");
    std::string error;
    ASSERT_TRUE(writeFileAtomically(longest, "long", &error)) << error;
    EXPECT_EQ(readBytes(longest), "long");
    EXPECT_EQ(filesIn(dir.path()), 1);
}
