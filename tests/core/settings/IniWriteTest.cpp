#include "core/settings/IniFile.h"
#include "core/settings/SettingsFile.h"

#include <array>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <initializer_list>
#include <sstream>

#include <grp.h>
#include <sys/stat.h>
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
    // Folder permissions do not stop root, so as root save runs in a child
    // process as nobody; true when it succeeds.
    static bool savesAsAnOrdinaryUser(const std::function<bool()>& save)
    {
        if (::geteuid() != 0)
            return save();
        const pid_t child = ::fork();
        if (child < 0)
            return false;
        if (child == 0) {
            const bool dropped = ::setgroups(0, nullptr) == 0 && ::setgid(65534) == 0 && ::setuid(65534) == 0;
            ::_exit(dropped && save() ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    void writeBytes(const fs::path& path, std::string_view bytes) const
    {
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
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

    // A read-only folder holding a read-only file.
    using fs::perms;
    fs::permissions(file_, perms::owner_read | perms::group_read | perms::others_read);
    fs::permissions(folder_, perms::owner_write, fs::perm_options::remove);
    EXPECT_FALSE(savesAsAnOrdinaryUser([&] { return changed.save(file_); }));
    EXPECT_EQ(contents(), "[A]\r\nk=old\r\n");
    EXPECT_EQ(filesInFolder(), 1);
}

TEST_F(IniSave, ATextTheLoaderWouldRefuseIsNotSaved)
{
    // Comments a user wrote fill the file up to the limit, as far as it may go.
    const std::string head = "[A]\r\nk=v\r\n;";
    const std::string full = head + std::string(IniFile::kMaxFileSize - head.size(), 'c');
    std::string error;
    ASSERT_TRUE(IniFile::fromText(full).save(file_, &error)) << error;
    ASSERT_TRUE(IniFile::load(file_).has_value());

    // One byte more is refused, and the old file stays as it was.
    EXPECT_FALSE(IniFile::fromText(full + "c").save(file_, &error));
    EXPECT_NE(error.find("1 MiB"), std::string::npos) << error;
    EXPECT_TRUE(contents() == full);

    // A file near the limit that the program's own settings would push over.
    const std::string nearly = head + std::string(IniFile::kMaxFileSize - 100 - head.size(), 'c');
    writeBytes(file_, nearly);
    error.clear();
    EXPECT_FALSE(saveSettingsFile(file_, ProgramSettings{}, WindowPlacement::Normal, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(contents() == nearly);
    EXPECT_EQ(filesInFolder(), 1);
}

TEST_F(IniSave, TemporaryFilesOfSavesWhoseProcessIsGoneAreRemoved)
{
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0)
        ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const std::string stale = ".Tolvane.ini." + std::to_string(gone) + ".0.tmp";
    const std::string running = ".Tolvane.ini." + std::to_string(::getppid()) + ".3.tmp";
    const std::string ours = ".Tolvane.ini." + std::to_string(::getpid()) + ".7.tmp";
    // Names that only look alike are none of the save's.
    const std::vector<std::string> others
        = {".Other.ini." + std::to_string(gone) + ".0.tmp", ".Tolvane.ini." + std::to_string(gone) + ".x.tmp",
            ".Tolvane.ini.0.0.tmp", ".Tolvane.ini.-1.0.tmp", "Tolvane.ini." + std::to_string(gone) + ".0.tmp"};
    for (const std::string& name : others)
        writeBytes(folder_ / name, "x");
    for (const std::string& name : {stale, running, ours})
        writeBytes(folder_ / name, "[A]\r\nk=half");

    std::string error;
    ASSERT_TRUE(IniFile::fromText("[A]\r\nk=new\r\n").save(file_, &error)) << error;
    EXPECT_FALSE(fs::exists(folder_ / stale));
    EXPECT_TRUE(fs::exists(folder_ / running));
    EXPECT_TRUE(fs::exists(folder_ / ours));
    for (const std::string& name : others)
        EXPECT_TRUE(fs::exists(folder_ / name)) << name;
    EXPECT_EQ(contents(), "[A]\r\nk=new\r\n");
}

TEST_F(IniSave, AReadOnlyFolderGetsItsWritableFileWrittenInPlace)
{
    using fs::perms;
    const perms bits
        = perms::owner_read | perms::owner_write | perms::group_read | perms::others_read | perms::others_write;
    fs::permissions(file_, bits);
    fs::permissions(folder_, perms::owner_write, fs::perm_options::remove);
    const auto inode = [this] {
        struct stat st { };
        ::stat(file_.c_str(), &st);
        return st.st_ino;
    };
    const auto before = inode();

    // Shorter, then longer than the file it replaces.
    for (const std::string& text : {std::string("[A]\r\n"), "[A]\r\nk=" + std::string(5000, 'n') + "\r\n"}) {
        EXPECT_TRUE(savesAsAnOrdinaryUser([&] { return IniFile::fromText(text).save(file_); }));
        EXPECT_TRUE(contents() == text);
    }
    EXPECT_EQ(fs::status(file_).permissions(), bits);
    EXPECT_EQ(inode(), before);
    EXPECT_EQ(filesInFolder(), 1);
}
