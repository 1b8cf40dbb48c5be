// The settings file as a file: where it lives, how it is replaced, what
// happens where it cannot be written, and files of any bytes.
#include "ProfileSettings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using quill::settings::ReadProfileString;
using quill::settings::SettingsPath;
using quill::settings::WriteProfileString;
using quill::test::ReadWholeFile;
using quill::test::ScopedWorkingDir;
using quill::test::TempDir;
using quill::test::WriteWholeFile;

std::vector<std::string> NamesIn(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Runs a write as an ordinary user would, so that directory rights apply also
// when the tests run as root: root's write runs in a child that gives up root.
bool WriteWithoutPrivileges(const std::string& path, const std::string& value)
{
    if (::geteuid() != 0)
        return WriteProfileString("system", "LANG", value, path);
    const pid_t child = ::fork();
    if (child == 0) {
        constexpr uid_t kNobody = 65534;
        if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)
            ::_exit(2);
        ::_exit(WriteProfileString("system", "LANG", value, path) ? 1 : 0);
    }
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status))
        return true; // reported as a failed expectation by the caller
    return WEXITSTATUS(status) != 0;
}

TEST(SettingsPath, IsTheWorkingDirectoryAtEachCall)
{
    TempDir first;
    TempDir second;
    {
        ScopedWorkingDir inFirst(first.path());
        EXPECT_EQ(SettingsPath(), fs::current_path().string() + "/Config.ini");
    }
    ScopedWorkingDir inSecond(second.path());
    EXPECT_EQ(fs::path(SettingsPath()), fs::current_path() / "Config.ini");

    ASSERT_TRUE(WriteProfileString("system", "LANG", "2", SettingsPath()));
    EXPECT_TRUE(fs::exists(second.file("Config.ini")));
    EXPECT_FALSE(fs::exists(first.file("Config.ini")));
}

TEST(SettingsReplace, LeavesNoTemporaryFileBehind)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    for (int i = 0; i < 5; ++i)
        ASSERT_TRUE(WriteProfileString("system", "LANG", std::to_string(i), path));
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::string> { "Config.ini" });
}

TEST(SettingsReplace, KeepsTheRightsOfAnExistingFile)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    WriteWholeFile(path, "[system]\nLANG=0\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    ASSERT_TRUE(WriteProfileString("system", "LANG", "1", path));
    EXPECT_EQ(fs::status(path).permissions(),
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST(SettingsReplace, NewFileGetsTheUsualRights)
{
    TempDir dir;
    const mode_t previousMask = ::umask(022);
    const bool written = WriteProfileString("system", "LANG", "1", dir.file("Config.ini").string());
    ::umask(previousMask);

    ASSERT_TRUE(written);
    EXPECT_EQ(fs::status(dir.file("Config.ini")).permissions(),
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
}

TEST(SettingsReplace, WritesThroughALinkToItsTarget)
{
    TempDir dir;
    WriteWholeFile(dir.file("real.ini"), "[system]\nLANG=0\n");
    fs::create_symlink("real.ini", dir.file("Config.ini"));

    ASSERT_TRUE(WriteProfileString("system", "LANG", "2", dir.file("Config.ini").string()));
    EXPECT_TRUE(fs::is_symlink(dir.file("Config.ini")));
    EXPECT_EQ(ReadWholeFile(dir.file("real.ini")), "[system]\nLANG=2\n");
}

TEST(SettingsUnwritable, MissingFolderFailsAndCreatesNothing)
{
    TempDir dir;
    const fs::path path = dir.file("absent") / "Config.ini";
    EXPECT_FALSE(WriteProfileString("system", "LANG", "1", path.string()));
    EXPECT_FALSE(fs::exists(dir.file("absent")));
}

TEST(SettingsUnwritable, NoRegularFileInItsPlaceGivesDefaultAndFails)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    fs::create_directory(path);
    EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), "0");
    EXPECT_FALSE(WriteProfileString("system", "LANG", "1", path));
    EXPECT_TRUE(fs::is_directory(path));
    fs::remove(path);

    // A FIFO would block a plain open until someone writes to it.
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
    EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), "0");
    EXPECT_FALSE(WriteProfileString("system", "LANG", "1", path));
    EXPECT_TRUE(fs::is_fifo(path));
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::string> { "Config.ini" });
}

TEST(SettingsUnwritable, ReadOnlyFolderFailsAndKeepsTheFile)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    const std::string original = "[system]\r\nLANG=0\r\n";
    WriteWholeFile(path, original);
    fs::permissions(path,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);
    // Readable and enterable for everyone, writable for nobody.
    fs::permissions(dir.path(),
        fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read
            | fs::perms::others_exec);
    if (::geteuid() != 0)
        fs::permissions(dir.path(), fs::perms::owner_write, fs::perm_options::remove);

    EXPECT_FALSE(WriteWithoutPrivileges(path, "1"));
    fs::permissions(dir.path(), fs::perms::owner_all, fs::perm_options::add);

    EXPECT_EQ(ReadWholeFile(path), original);
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::string> { "Config.ini" });
    EXPECT_EQ(ReadProfileString("system", "LANG", "x", path), "0");
}

// Files of any bytes: reading gives the value or the default, writing still
// works and keeps the bytes that were there.
TEST(SettingsBadFiles, RandomBytesNeverBreakReadOrWrite)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    std::mt19937 random(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    // Bytes that mean something in an INI file, so that many rounds hold near-sections and keys.
    constexpr char kMeaningfulBytes[] = "[]=;#\r\n \t\0SsYyTtEeMmLlAaNnGg\xEF\xBB\xBF";
    const std::string alphabet(kMeaningfulBytes, sizeof kMeaningfulBytes - 1);
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);

    for (int round = 0; round < 300; ++round) {
        const std::size_t length = static_cast<std::size_t>(random() % 600);
        std::string garbage;
        for (std::size_t i = 0; i < length; ++i)
            garbage += (round % 2 == 0) ? static_cast<char>(byte(random)) : alphabet[pick(random)];
        WriteWholeFile(path, garbage);

        const std::string before = ReadProfileString("system", "LANG", "dflt", path);
        EXPECT_LE(before.size(), 255u);
        EXPECT_EQ(before.find('\0'), std::string::npos);

        ASSERT_TRUE(WriteProfileString("system", "LANG", "17", path)) << "round " << round;
        EXPECT_EQ(ReadProfileString("system", "LANG", "dflt", path), "17") << "round " << round;
        if (before == "dflt") {
            EXPECT_TRUE(ReadWholeFile(path).starts_with(garbage)) << "round " << round;
        }
    }
}

TEST(SettingsBadFiles, TenMegabyteFiles)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    constexpr std::size_t kSize = 10 * 1000 * 1000;

    const std::string oneLongLine(kSize, 'x');
    WriteWholeFile(path, oneLongLine);
    EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), "0");
    ASSERT_TRUE(WriteProfileString("system", "LANG", "1", path));
    EXPECT_EQ(ReadWholeFile(path), oneLongLine + "\n[system]\nLANG=1");

    const std::string onlyNewlines(kSize, '\n');
    WriteWholeFile(path, onlyNewlines);
    EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), "0");
    ASSERT_TRUE(WriteProfileString("system", "LANG", "2", path));
    EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), "2");

    std::string manySections;
    for (int i = 0; manySections.size() < kSize; ++i)
        manySections += "[s" + std::to_string(i) + "]\r\nkey=" + std::to_string(i) + "\r\n";
    manySections += "[system]\r\nLANG=" + std::string(400, '9');
    WriteWholeFile(path, manySections);
    EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), std::string(255, '9'));
    ASSERT_TRUE(WriteProfileString("system", "LANG", "3", path));
    EXPECT_EQ(ReadWholeFile(path), manySections.substr(0, manySections.size() - 400) + "3");
}

TEST(SettingsBadFiles, LinesWithoutStructure)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    const std::string original = "[\n]\n=\n==\n[]\n[system\nLANG\n=LANG=1\n[system]]\n";
    WriteWholeFile(path, original);

    EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), "0");
    ASSERT_TRUE(WriteProfileString("system", "LANG", "4", path));
    EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), "4");
    // "[system]]" opens the section, so the key joins it at the end.
    EXPECT_EQ(ReadWholeFile(path), original + "LANG=4\n");
}

} // namespace
