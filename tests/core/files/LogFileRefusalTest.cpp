#include "core/files/LogFileRefusal.h"
#include "support/TempDir.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sys/stat.h>

using tolvane::logFileRefusal;

// A folder, a device or a named pipe is refused with words that say what it
// is; a regular file, a link to one and a missing path are left to the read.
TEST(LogFileRefusal, RefusesWhatIsNoFileAndSaysWhatItIs)
{
    tolvane::testing::TempDir dir;
    const std::filesystem::path file = dir.file("score.txt");
    std::ofstream(file) << "x";
    const std::filesystem::path link = dir.file("link.txt");
    std::filesystem::create_symlink(file, link);
    const std::filesystem::path fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);

    EXPECT_FALSE(logFileRefusal(file));
    EXPECT_FALSE(logFileRefusal(link));
    EXPECT_FALSE(logFileRefusal(dir.file("missing.txt")));
    const auto folder = logFileRefusal(dir.path());
    ASSERT_TRUE(folder);
    EXPECT_NE(folder->find("フォルダー"), std::string::npos) << *folder;
    EXPECT_NE(logFileRefusal("/dev/null").value_or("").find("デバイス"), std::string::npos);
    const auto pipe = logFileRefusal(fifo);
    ASSERT_TRUE(pipe);
    EXPECT_NE(pipe->find("FIFO"), std::string::npos);
    EXPECT_NE(pipe->find(fifo.string()), std::string::npos);
}
