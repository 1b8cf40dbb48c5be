// Keys in real files: what a read finds, the bytes a write leaves, how the file
// is replaced, where it cannot be. Arbitrary files are the INI fuzz target's.
#include "ProfileSettings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using namespace quill::test;
using quill::settings::ReadProfileString;
using quill::settings::WriteProfileString;

std::size_t EntriesIn(const fs::path& dir)
{
    return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), fs::directory_iterator()));
}

TEST(ProfileRead, FindsTheValueOrTheDefaultAndLeavesTheFile)
{
    const std::string cases[][4] = { // file, section, key, value read
        { "[SyStEm]\nlang=2\n", "SYSTEM", "Lang", "2" },
        { "  [ system ]  \n\t LANG  =  2 \t\n", "system", "LANG", "2" },
        { "LANG=5\n[system]\nX=1\n", "system", "LANG", "default" },
        { "[system]\nLANG=1\nLANG=2\n", "system", "LANG", "1" },
        { "[system]\nA=1\n[RCS]\nIP=x\n[system]\nLANG=3\n", "system", "LANG", "3" },
        { "[system]\n;LANG=9\n# LANG=8\nLANG=4\n", "system", "LANG", "4" },
        { "[RCS]\nIP=\" a b \"\n", "RCS", "IP", " a b " },
        { "[system]\nLANG=1\0 2\n"s, "system", "LANG", "1" },
        { "\xEF\xBB\xBF[system]\nLANG=2\n", "system", "LANG", "2" },
        { "[other]\n[system\nLANG=6\n", "system", "LANG", "default" },
        { "[RCS]\nIP=" + std::string(300, 'v') + "\n", "RCS", "IP", std::string(255, 'v') }
    };
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    EXPECT_EQ(ReadProfileString("system", "LANG", " 0 \t", path), " 0"); // trailing blanks dropped
    EXPECT_FALSE(std::filesystem::exists(path));
    for (const auto& [file, section, key, value] : cases) {
        WriteWholeFile(path, file);
        EXPECT_EQ(ReadProfileString(section, key, "default", path), value) << testing::PrintToString(file);
        EXPECT_EQ(ReadWholeFile(path), file);
    }
}

TEST(ProfileWrite, ChangesOnlyTheKeysLineAndRefusesWhatWouldBreakTheFile)
{
    const std::string cases[][5] = { // before, section, key, value, after
        { "[System]\r\n  lang = 0\r\n", "SYSTEM", "Lang", "-1", "[System]\r\n  lang = -1\r\n" },
        { "[system]\nLANG=1\nLANG=2\n", "system", "LANG", "0", "[system]\nLANG=0\nLANG=2\n" },
        { "[system]\nA=1\n\n; server\n[RCS]\nIP=x\n", "system", "LANG", "2",
            "[system]\nA=1\nLANG=2\n\n; server\n[RCS]\nIP=x\n" },
        { "[system]\nLANG=0", "system", "LANG", "5", "[system]\nLANG=5" },
        { "[system]\r\nA=1", "system", "LANG", "5", "[system]\r\nA=1\r\nLANG=5" },
        { "[RCS]\nIP=x", "system", "LANG", "5", "[RCS]\nIP=x\n[system]\nLANG=5" },
        { "", " system ", " LANG ", "1", "[system]\nLANG=1\n" },
        { "junk line\n[system]\nnoequals\nLANG=0\n", "system", "LANG", "",
            "junk line\n[system]\nnoequals\nLANG=\n" }
    };
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    for (const auto& [before, section, key, value, after] : cases) {
        WriteWholeFile(path, before);
        ASSERT_TRUE(WriteProfileString(section, key, value, path));
        EXPECT_EQ(ReadWholeFile(path), after);
        EXPECT_EQ(ReadProfileString(section, key, "default", path), value);
    }
    const std::string original = "[system]\nLANG=0\n";
    WriteWholeFile(path, original);
    const std::string bad[][3]
        = { { "system", "LANG", "1\n[evil]" }, { "system", "LANG", "1\r" }, { "system", "LANG", "1\0"s },
              { "sys]tem", "LANG", "1" }, { "system", "LA=NG", "1" }, { "system", ";LANG", "1" },
              { "system", "[LANG", "1" }, { "system", "  ", "1" }, { "", "LANG", "1" } };
    for (const auto& [section, key, value] : bad)
        EXPECT_FALSE(WriteProfileString(section, key, value, path)) << section << "/" << key << "/" << value;
    EXPECT_EQ(ReadWholeFile(path), original);
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
    ASSERT_TRUE(WriteProfileString("system", "LANG", "1", path.string()));
    EXPECT_EQ(fs::status(path).permissions(), owner_read | owner_write | group_read);
    EXPECT_EQ(EntriesIn(dir.path()), 1u);

    fs::rename(path, dir.file("real.ini"));
    fs::create_symlink("real.ini", path);
    ASSERT_TRUE(WriteProfileString("system", "LANG", "2", path.string()));
    EXPECT_TRUE(fs::is_symlink(path));
    EXPECT_EQ(ReadWholeFile(dir.file("real.ini")), "[system]\nLANG=2\n");
}

// A missing folder, a folder or a FIFO (which once blocked a plain open) in
// the file's place: the default is read, the write fails and leaves nothing.
TEST(SettingsUnwritable, NoRegularFileInItsPlaceGivesDefaultAndFails)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    EXPECT_FALSE(WriteProfileString("system", "LANG", "1", (dir.file("absent") / "Config.ini").string()));
    EXPECT_EQ(EntriesIn(dir.path()), 0u);
    for (const bool fifo : { false, true }) {
        ASSERT_TRUE(fifo ? ::mkfifo(path.c_str(), 0644) == 0 : fs::create_directory(path));
        EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), "0");
        EXPECT_FALSE(WriteProfileString("system", "LANG", "1", path));
        EXPECT_EQ(fifo ? fs::is_fifo(path) : fs::is_directory(path), true);
        EXPECT_EQ(EntriesIn(dir.path()), 1u);
        fs::remove(path);
    }
}

} // namespace
