// Reading and writing keys in real files: what a read finds, and the exact
// bytes a write leaves behind.
#include "ProfileSettings.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using namespace std::string_literals;
using namespace quill::test;
using quill::settings::ReadProfileString;
using quill::settings::WriteProfileString;

struct ReadCase {
    const char* name;
    std::string fileText;
    std::string section;
    std::string key;
    std::string expected;
    friend void PrintTo(const ReadCase& c, std::ostream* out) { *out << c.name; }
};

class ProfileRead : public testing::TestWithParam<ReadCase> { };

TEST_P(ProfileRead, FindsTheValueOrTheDefaultAndLeavesTheFile)
{
    const ReadCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    WriteWholeFile(path, c.fileText);
    EXPECT_EQ(ReadProfileString(c.section, c.key, "default", path), c.expected);
    EXPECT_EQ(ReadWholeFile(path), c.fileText);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileRead,
    testing::Values(ReadCase { "names_ignore_case", "[SyStEm]\nlang=2\n", "SYSTEM", "Lang", "2" },
        ReadCase {
            "blanks_around_names_and_value", "  [ system ]  \n\t LANG  =  2 \t\n", "system", "LANG", "2" },
        ReadCase { "crlf", "[RCS]\r\nIP=10.0.0.1\r\n", "RCS", "IP", "10.0.0.1" },
        ReadCase { "other_section_only", "[other]\nLANG=5\n", "system", "LANG", "default" },
        ReadCase { "key_before_any_section", "LANG=5\n[system]\nX=1\n", "system", "LANG", "default" },
        ReadCase { "first_duplicate_key_wins", "[system]\nLANG=1\nLANG=2\n", "system", "LANG", "1" },
        ReadCase {
            "section_seen_twice", "[system]\nA=1\n[RCS]\nIP=x\n[system]\nLANG=3\n", "system", "LANG", "3" },
        ReadCase { "commented_key_skipped", "[system]\n;LANG=9\n# LANG=8\nLANG=4\n", "system", "LANG", "4" },
        ReadCase { "line_without_equals", "[system]\nLANG\n", "system", "LANG", "default" },
        ReadCase { "quotes_dropped", "[RCS]\nIP=\" a b \"\n", "RCS", "IP", " a b " },
        ReadCase { "unmatched_quote_kept", "[RCS]\nIP='ab\n", "RCS", "IP", "'ab" },
        ReadCase { "nul_ends_value", "[system]\nLANG=1\0 2\n"s, "system", "LANG", "1" },
        ReadCase { "byte_order_mark", "\xEF\xBB\xBF[system]\nLANG=2\n", "system", "LANG", "2" },
        ReadCase {
            "unclosed_header_is_no_section", "[other]\n[system\nLANG=6\n", "system", "LANG", "default" },
        ReadCase { "lines_without_structure", "[\n]\n=\n==\n[]\n[system\nLANG\n=LANG=1\n", "system", "LANG",
            "default" },
        ReadCase { "empty_asked_key", "[system]\n=1\n", "system", "", "default" }),
    [](const testing::TestParamInfo<ReadCase>& info) { return std::string(info.param.name); });

TEST(ProfileReadLimits, MissingFileGivesDefaultAndIsNotCreatedAndValuesAreCutTo255Bytes)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    EXPECT_EQ(ReadProfileString("system", "LANG", "0", path), "0");
    EXPECT_FALSE(std::filesystem::exists(path));

    WriteWholeFile(path, "[RCS]\nIP=" + std::string(300, 'v') + "\n");
    EXPECT_EQ(ReadProfileString("RCS", "IP", "", path), std::string(255, 'v'));
    EXPECT_EQ(ReadProfileString("RCS", "none", std::string(256, 'd'), path), std::string(255, 'd'));
    // As Windows does, trailing blanks of the default are dropped.
    EXPECT_EQ(ReadProfileString("RCS", "none", " 0 \t", path), " 0");
}

struct WriteCase {
    const char* name;
    std::string before;
    std::string section;
    std::string key;
    std::string value;
    std::string after;
    friend void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.name; }
};

class ProfileWrite : public testing::TestWithParam<WriteCase> { };

TEST_P(ProfileWrite, ChangesOnlyTheKeysLine)
{
    const WriteCase& c = GetParam();
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    WriteWholeFile(path, c.before);
    ASSERT_TRUE(WriteProfileString(c.section, c.key, c.value, path));
    EXPECT_EQ(ReadWholeFile(path), c.after);
    EXPECT_EQ(ReadProfileString(c.section, c.key, "default", path), c.value);
}

INSTANTIATE_TEST_SUITE_P(Cases, ProfileWrite,
    testing::Values(WriteCase { "keeps_spelling_spacing_and_crlf", "[System]\r\n  lang = 0\r\n", "SYSTEM",
                        "Lang", "-1", "[System]\r\n  lang = -1\r\n" },
        WriteCase { "first_of_duplicate_keys", "[system]\nLANG=1\nLANG=2\n", "system", "LANG", "0",
            "[system]\nLANG=0\nLANG=2\n" },
        WriteCase { "add_key_before_next_sections_comment", "[system]\nA=1\n\n; server\n[RCS]\nIP=x\n",
            "system", "LANG", "2", "[system]\nA=1\nLANG=2\n\n; server\n[RCS]\nIP=x\n" },
        WriteCase { "add_key_to_empty_section", "[system]\n[RCS]\nIP=x\n", "system", "LANG", "2",
            "[system]\nLANG=2\n[RCS]\nIP=x\n" },
        WriteCase { "replace_in_last_line_without_newline", "[system]\nLANG=0", "system", "LANG", "5",
            "[system]\nLANG=5" },
        WriteCase { "add_key_after_last_line_without_newline", "[system]\r\nA=1", "system", "LANG", "5",
            "[system]\r\nA=1\r\nLANG=5" },
        WriteCase {
            "add_key_after_header_without_newline", "[system]", "system", "LANG", "5", "[system]\nLANG=5" },
        WriteCase { "add_section_after_last_line_without_newline", "[RCS]\nIP=x", "system", "LANG", "5",
            "[RCS]\nIP=x\n[system]\nLANG=5" },
        WriteCase { "empty_file", "", "system", "LANG", "1", "[system]\nLANG=1\n" },
        WriteCase { "byte_order_mark_kept", "\xEF\xBB\xBF[system]\nLANG=0\n", "system", "LANG", "2",
            "\xEF\xBB\xBF[system]\nLANG=2\n" },
        WriteCase { "empty_value", "[RCS]\nIP=x\n", "RCS", "IP", "", "[RCS]\nIP=\n" },
        WriteCase { "unknown_lines_kept", "junk line\n[system]\nnoequals\nLANG=0\n", "system", "LANG", "1",
            "junk line\n[system]\nnoequals\nLANG=1\n" },
        // "[system]]" opens the section, so the key joins it at the end.
        WriteCase { "lines_without_structure", "[\n]\n=\n==\n[]\n[system\nLANG\n=LANG=1\n[system]]\n",
            "system", "LANG", "4", "[\n]\n=\n==\n[]\n[system\nLANG\n=LANG=1\n[system]]\nLANG=4\n" },
        WriteCase { "trimmed_names_written", "", " system ", " LANG ", "1", "[system]\nLANG=1\n" }),
    [](const testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(ProfileRoundTrip, FileWithOtherSectionsCommentsAndCrlf)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    const std::string head = "; Written by hand\r\n[RCS]\r\nIP = cloud.example.net\r\nExtra=keep me\r\n\r\n"
                             "# about the display\r\n[system]\r\nLANG=0\r\nUnknown=1\r\n";
    const std::string tail = "\r\n[other]\r\nLANG=9\r\n";
    WriteWholeFile(path, head + tail);

    for (const char* language : { "1", "2", "-1", "0" }) {
        ASSERT_TRUE(WriteProfileString("system", "LANG", language, path));
        EXPECT_EQ(ReadProfileString("system", "LANG", "x", path), language);
        EXPECT_EQ(ReadProfileString("other", "LANG", "x", path), "9");
        EXPECT_EQ(ReadProfileString("RCS", "IP", "x", path), "cloud.example.net");
    }
    EXPECT_EQ(ReadWholeFile(path), head + tail);

    ASSERT_TRUE(WriteProfileString("system", "Added", "yes", path));
    ASSERT_TRUE(WriteProfileString("New", "Key", "v", path));
    EXPECT_EQ(ReadWholeFile(path), head + "Added=yes\r\n" + tail + "[New]\r\nKey=v\r\n");
}

TEST(ProfileRoundTrip, RefusesNamesAndValuesThatWouldBreakTheFile)
{
    TempDir dir;
    const std::string path = dir.file("Config.ini").string();
    const std::string original = "[system]\nLANG=0\n";
    WriteWholeFile(path, original);
    const std::string bad[][3] = { { "system", "LANG", "1\n[evil]" }, { "system", "LANG", "1\r" },
        { "system", "LANG", "1\0"s }, { "sys]tem", "LANG", "1" }, { "system", "LA=NG", "1" },
        { "system", ";LANG", "1" }, { "system", "[LANG", "1" }, { "system", "  ", "1" }, { "", "LANG", "1" },
        { "sys\ntem", "LANG", "1" } };
    for (const auto& [section, key, value] : bad)
        EXPECT_FALSE(WriteProfileString(section, key, value, path)) << section << "/" << key << "/" << value;
    EXPECT_EQ(ReadWholeFile(path), original);
}

} // namespace
