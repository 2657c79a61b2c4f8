#include "core/files/RecentFiles.h"
#include "core/settings/SettingsFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace tolvane;
using Paths = std::vector<std::string>;

TEST(RecentFiles, MostRecentFirstEachPathOnceAtMostFive)
{
    RecentFiles recent;
    for (const char* p : {"/l/1.txt", "/l/2.txt", "/l/3.txt", "/l/4.txt", "/l/5.txt", "/l/6.txt"})
        recent.add(p);
    EXPECT_EQ(recent.paths(), (Paths{"/l/6.txt", "/l/5.txt", "/l/4.txt", "/l/3.txt", "/l/2.txt"}));
    // Another spelling of a listed path moves it to the front instead of repeating it.
    recent.add("/l/x/.././4.txt");
    EXPECT_EQ(recent.paths(), (Paths{"/l/4.txt", "/l/6.txt", "/l/5.txt", "/l/3.txt", "/l/2.txt"}));
    EXPECT_TRUE(recent.remove("/l//5.txt"));
    EXPECT_FALSE(recent.remove("/l/5.txt"));
    EXPECT_EQ(recent.paths().size(), 4u);

    // A stored list keeps its order; blanks, repeats and the surplus go.
    const RecentFiles stored(Paths{"/a", "", "/b", "/a", "/c", "/d", "/e", "/f"});
    EXPECT_EQ(stored.paths(), (Paths{"/a", "/b", "/c", "/d", "/e"}));
    EXPECT_EQ(folderOf("/logs/game/score.txt"), "/logs/game");
}

TEST(RecentFiles, OnlyAnExistingRegularFileCountsAsThere)
{
    tolvane::testing::TempDir dir;
    const auto file = dir.file("score.txt");
    tolvane::testing::writeBytes(file, "x");
    EXPECT_TRUE(isExistingFile(file.string()));
    EXPECT_FALSE(isExistingFile(dir.path().string()));
    std::filesystem::remove(file);
    EXPECT_FALSE(isExistingFile(file.string()));
    EXPECT_FALSE(isExistingFile(""));
}

TEST(RecentFiles, AtStartTheLastLogReopensOnlyWhenTheOptionIsOnAndItIsThere)
{
    tolvane::testing::TempDir dir;
    const auto file = dir.file("score.txt");
    tolvane::testing::writeBytes(file, "x");
    FileSettings files;
    files.recent = {file.string(), "/elsewhere/score.txt"};
    EXPECT_EQ(logToReopen(files), file.string());
    files.reopenLast = false;
    EXPECT_EQ(logToReopen(files), "");
    files.reopenLast = true;
    std::filesystem::remove(file);
    EXPECT_EQ(logToReopen(files), "");
}
