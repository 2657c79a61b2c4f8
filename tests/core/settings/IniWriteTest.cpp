#include "core/settings/IniFile.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <initializer_list>
#include <sstream>

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tolvane;
namespace fs = std::filesystem;

namespace {

using Write = std::array<std::string_view, 3>; // section, key, value

std::string written(std::string before, std::initializer_list<Write> writes)
{
    IniFile ini = IniFile::fromText(std::move(before));
    for (const Write& w : writes)
        ini.setString(w[0], w[1], w[2]);
    return ini.text();
}

} // namespace

TEST(IniWrite, BuildsAFileUpInTheOrderOfWriting)
{
    EXPECT_EQ(written("", {{"App", "key", ""}}), "[App]\r\nkey=\r\n");
    EXPECT_EQ(written("",
                  {{"App1", "key1", "string1"}, {"App1", "key2", "string2"}, {"App2", "key3", "string3"},
                      {"App1", "key4", "string4"}, {"App3", "key5", "string5"}}),
        "[App1]\r\nkey1=string1\r\nkey2=string2\r\nkey4=string4\r\n[App2]\r\nkey3=string3\r\n[App3]\r\nkey5="
        "string5\r\n");
    EXPECT_EQ(
        written("[S]\r\nb=value\r\na=value\r\n", {{"S", "z", ""}, {"S", "b", ""}, {"S", "y", ""}, {"S", "a", ""}}),
        "[S]\r\nb=\r\na=\r\nz=\r\ny=\r\n");
}

TEST(IniWrite, ChangesAnExistingKeyWhereItStandsKeepingItsSpelling)
{
    // The missing final line break comes with the written line.
    const std::string noBreak = "[SectionName]\r\nTestKey=TestValue";
    EXPECT_EQ(written(noBreak, {{"SECTIONNAME", "TESTKEY", "TestValue2"}}), "[SectionName]\r\nTestKey=TestValue2\r\n");
    EXPECT_EQ(written(noBreak, {{"SectionName", "TestKey", "TESTVALUE"}}), "[SectionName]\r\nTestKey=TESTVALUE\r\n");
    // Only the value changes; hand-made spacing before it stays.
    EXPECT_EQ(written("[A]\r\n  k1 = v1  \r\n", {{"A", "k1", "X"}}), "[A]\r\n  k1 = X\r\n");
    // The first key of the first section of the name, where reading looks.
    EXPECT_EQ(written("[S]\r\nk=one\r\nk=two\r\n[s]\r\nk=three\r\n", {{"S", "K", "new"}}),
        "[S]\r\nk=new\r\nk=two\r\n[s]\r\nk=three\r\n");
    EXPECT_EQ(written("[S]\r\na=1\r\n[S]\r\nb=2\r\n", {{"S", "b", "3"}}), "[S]\r\na=1\r\nb=3\r\n[S]\r\nb=2\r\n");
}

TEST(IniWrite, ANewKeyFollowsTheLastKeyOfItsSection)
{
    EXPECT_EQ(written("[App1]\r\nkey1=a\r\nkey2=b\r\n[App2]\r\nk=v\r\n", {{"App1", "key3", "c"}}),
        "[App1]\r\nkey1=a\r\nkey2=b\r\nkey3=c\r\n[App2]\r\nk=v\r\n");
    // Blank and comment lines that end a section stay with what follows them.
    EXPECT_EQ(written("[A]\r\nk=v\r\n\r\n; charts\r\n[B]\r\n", {{"A", "j", "w"}}),
        "[A]\r\nk=v\r\nj=w\r\n\r\n; charts\r\n[B]\r\n");
    EXPECT_EQ(written("k=outside\r\n[S]\r\n;k=c\r\n", {{"S", "k", "v"}}), "k=outside\r\n[S]\r\nk=v\r\n;k=c\r\n");
    EXPECT_EQ(written("[A]", {{"A", "k", "v"}}), "[A]\r\nk=v\r\n");
}

TEST(IniWrite, StripsSpacesFromNamesAndWritesValuesAsGiven)
{
    EXPECT_EQ(written("", {{" sec ", " key ", " value "}}), "[sec]\r\nkey= value \r\n");
    EXPECT_EQ(written("", {{"\tsec\t", "k", "v"}}), "[\tsec\t]\r\nk=v\r\n");
    IniFile ini = IniFile::fromText("[A]\r\nk=1\r\n");
    ini.setString("A", "k", "\"  keep  \"");
    EXPECT_EQ(ini.text(), "[A]\r\nk=\"  keep  \"\r\n");
    EXPECT_EQ(ini.getString("A", "k", "d", 260), "  keep  ");
}

TEST(IniWrite, KeepsEveryLineItDoesNotWriteByteForByte)
{
    const std::string data("Data \0 before \0 first \0 section", 31);
    EXPECT_EQ(written(data, {{"section1", "key1", "string1"}}), data + "\r\n[section1]\r\nkey1=string1\r\n");
    EXPECT_EQ(written("[A]\r\n  k1 = v1  \r\n; comment\r\n\r\nnoequals\r\nk2=v2\r\n", {{"A", "k2", "X"}}),
        "[A]\r\n  k1 = v1  \r\n; comment\r\n\r\nnoequals\r\nk2=X\r\n");
    EXPECT_EQ(written("[A]\nk=v\n[B]\nx=1", {{"A", "k", "w"}, {"A", "k2", "w"}}), "[A]\nk=w\r\nk2=w\r\n[B]\nx=1");
    EXPECT_EQ(written("[A]\rk=v\r", {{"B", "k", "w"}}), "[A]\rk=v\r[B]\r\nk=w\r\n");
    EXPECT_EQ(written("\xEF\xBB\xBF", {{"A", "k", "v"}}), "\xEF\xBB\xBF[A]\r\nk=v\r\n");
}

class IniSave : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path()
            / ("tolvane-save-" + std::to_string(::getpid()) + "-"
                + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        std::ofstream(file_ = folder_ / "Tolvane.ini") << "[A]\r\nk=old\r\n";
    }
    void TearDown() override
    {
        fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(folder_);
    }

    std::string contents() const
    {
        std::ostringstream s;
        s << std::ifstream(file_, std::ios::binary).rdbuf();
        return s.str();
    }
    long filesInFolder() const { return std::distance(fs::directory_iterator(folder_), fs::directory_iterator()); }

    fs::path folder_;
    fs::path file_;
};

TEST_F(IniSave, ReplacesTheFileAndLeavesNothingElseBehind)
{
    std::string error;
    ASSERT_TRUE(IniFile::fromText("[A]\r\nk=new\r\n").save(file_, &error)) << error;
    EXPECT_EQ(contents(), "[A]\r\nk=new\r\n");
    EXPECT_EQ(filesInFolder(), 1);

    // Through a link, the file it points to is written and the link stays.
    const fs::path link = folder_ / "link.ini";
    fs::create_symlink(file_, link);
    ASSERT_TRUE(IniFile::fromText("[A]\r\nk=linked\r\n").save(link, &error)) << error;
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(contents(), "[A]\r\nk=linked\r\n");
}

TEST_F(IniSave, AFailedSaveSaysWhyAndLeavesTheOldFileAsItWas)
{
    const IniFile changed = IniFile::fromText("[A]\r\nk=new\r\n");
    std::string error;
    EXPECT_FALSE(changed.save(file_ / "Tolvane.ini", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(changed.save(folder_, &error));

    // A read-only folder holding a writable file. Root writes anyway, so a
    // child process tries as nobody.
    using fs::perms;
    fs::permissions(file_, perms::owner_write | perms::group_write | perms::others_write, fs::perm_options::add);
    fs::permissions(folder_, perms::owner_write, fs::perm_options::remove);
    bool saved = true;
    if (::geteuid() != 0) {
        saved = changed.save(file_, &error);
    } else {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
            ::_exit(dropped && !changed.save(file_) ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        saved = !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_FALSE(saved);
    EXPECT_EQ(contents(), "[A]\r\nk=old\r\n");
    EXPECT_EQ(filesInFolder(), 1);
}
