// The settings file as a file: where it lives, how it is replaced, what
// happens where it cannot be written, and files of any bytes.
#include "ProfileSettings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using namespace quill::test;
using quill::settings::ReadProfileString;
using quill::settings::SettingsPath;
using quill::settings::WriteProfileString;

std::vector<std::string> NamesIn(const fs::path& dir)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
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
    ASSERT_TRUE(WriteProfileString("system", "LANG", "2", SettingsPath()));
    EXPECT_TRUE(fs::exists(second.file("Config.ini")));
    EXPECT_FALSE(fs::exists(first.file("Config.ini")));
}

// The file is replaced through a temporary one: nothing of it may stay, and
// the result must look like the file that was there.
TEST(SettingsReplace, KeepsRightsAndLinksAndLeavesNoTemporaryFile)
{
    TempDir dir;
    const fs::path path = dir.file("Config.ini");
    const mode_t previousMask = ::umask(022);
    const bool created = WriteProfileString("system", "LANG", "0", path.string());
    ::umask(previousMask);
    ASSERT_TRUE(created);
    using enum fs::perms;
    EXPECT_EQ(fs::status(path).permissions(), owner_read | owner_write | group_read | others_read);

    fs::permissions(path, owner_read | owner_write | group_read);
    for (int i = 1; i < 5; ++i)
        ASSERT_TRUE(WriteProfileString("system", "LANG", std::to_string(i), path.string()));
    EXPECT_EQ(fs::status(path).permissions(), owner_read | owner_write | group_read);
    EXPECT_EQ(NamesIn(dir.path()), std::vector<std::string> { "Config.ini" });

    fs::rename(path, dir.file("real.ini"));
    fs::create_symlink("real.ini", path);
    ASSERT_TRUE(WriteProfileString("system", "LANG", "2", path.string()));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(ReadWholeFile(dir.file("real.ini")), "[system]\nLANG=2\n");
}

// The same path as any folder where the temporary file cannot be created.
TEST(SettingsUnwritable, MissingFolderFailsAndCreatesNothing)
{
    TempDir dir;
    EXPECT_FALSE(WriteProfileString("system", "LANG", "1", (dir.file("absent") / "Config.ini").string()));
    EXPECT_FALSE(fs::exists(dir.file("absent")));
}

// A FIFO once blocked a plain open until someone wrote to it.
TEST(SettingsUnwritable, NoRegularFileInItsPlaceGivesDefaultAndFails)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    for (const bool fifo : { false, true }) {
        ASSERT_TRUE(fifo ? ::mkfifo(path.c_str(), 0644) == 0 : fs::create_directory(path));
        EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), "0");
        EXPECT_FALSE(WriteProfileString("system", "LANG", "1", path));
        EXPECT_EQ(fifo ? fs::is_fifo(path) : fs::is_directory(path), true);
        EXPECT_EQ(NamesIn(dir.path()), std::vector<std::string> { "Config.ini" });
        fs::remove(path);
    }
}

// Files of any bytes: reading gives the value or the default, writing still
// works and keeps the bytes that were there.
TEST(SettingsBadFiles, RandomBytesNeverBreakReadOrWrite)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    std::mt19937 random(20240611);
    // Bytes that mean something in an INI file, so that many rounds hold near-sections and keys.
    constexpr char kMeaningfulBytes[] = "[]=;#\r\n \t\0SsYyTtEeMmLlAaNnGg\xEF\xBB\xBF";
    const std::string alphabet(kMeaningfulBytes, sizeof kMeaningfulBytes - 1);

    for (int round = 0; round < 300; ++round) {
        std::string garbage(random() % 600, '\0');
        for (char& c : garbage)
            c = round % 2 == 0 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
        WriteWholeFile(path, garbage);

        const std::string before = ReadProfileString("system", "LANG", "dflt", path);
        EXPECT_LE(before.size(), 255u);
        EXPECT_EQ(before.find('\0'), std::string::npos);
        ASSERT_TRUE(WriteProfileString("system", "LANG", "17", path)) << "round " << round;
        EXPECT_EQ(ReadProfileString("system", "LANG", "dflt", path), "17") << "round " << round;
        EXPECT_TRUE(before != "dflt" || ReadWholeFile(path).starts_with(garbage)) << "round " << round;
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

    WriteWholeFile(path, std::string(kSize, '\n'));
    ASSERT_TRUE(WriteProfileString("system", "LANG", "2", path));
    EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), "2");

    std::string manySections;
    for (int i = 0; manySections.size() < kSize; ++i)
        manySections += "[s" + std::to_string(i) + "]\r\nkey=" + std::to_string(i) + "\r\n";
    WriteWholeFile(path, manySections + "[system]\r\nLANG=" + std::string(400, '9'));
    EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), std::string(255, '9'));
    ASSERT_TRUE(WriteProfileString("system", "LANG", "3", path));
    EXPECT_EQ(ReadWholeFile(path), manySections + "[system]\r\nLANG=3");
}

} // namespace
