// Records in the file and on std::clog, and when files move into "logs", from
// real Boost.Log output; the production set-up is run by the program's tests.
#include "LogSetup.h"
#include "Logger.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <ctime>
#include <iostream>
#include <regex>
#include <sstream>

namespace {

namespace fs = std::filesystem;
using namespace quill::test;
using Lines = std::vector<std::string>;

Lines LinesOf(const std::string& text)
{
    Lines lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Name and lines of each log file directly in dir, oldest name first.
std::vector<std::pair<std::string, Lines>> LogFilesIn(const fs::path& dir)
{
    std::vector<std::pair<std::string, Lines>> files;
    std::error_code absent;
    for (const auto& entry : fs::directory_iterator(dir, absent))
        if (entry.path().filename().string().starts_with("Tessory Tool_"))
            files.emplace_back(entry.path().filename().string(), LinesOf(ReadWholeFile(entry.path())));
    std::sort(files.begin(), files.end());
    return files;
}

std::string LocalStamp(std::time_t when)
{
    char text[32] {};
    std::tm local {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", ::localtime_r(&when, &local));
    return text;
}

// A set-up in a fresh working directory, with std::clog captured.
class Log : public testing::Test {
protected:
    void TearDown() override
    {
        quill::log::ShutDownLogging();
        std::clog.rdbuf(m_previous);
    }
    TempDir dir;
    ScopedWorkingDir workingDir { dir.path() };
    std::ostringstream clog;
    std::streambuf* m_previous = std::clog.rdbuf(clog.rdbuf());
};

TEST_F(Log, LinesShowLocalTimeSeverityNameAndMessageAndReachBothSinksAtOnce)
{
    ::setenv("TZ", "QST-05:30", 1); // far from UTC, so that a UTC time stamp would show
    ::tzset();
    quill::log::SetUpLogging({}, quill::log::kRotationSizeMiB * quill::log::kMiB, {});
    const std::pair<int, std::string> records[] = {
        { 0, "<debug>\tIP: 10.0.0.7, SN: S1, MAC: 00:11:22:33:44:55, device_name: cam, FW: 1.2" },
        { 1, "<normal>\ttab\tand <angle> % signs" },
        { 2, "<warning>\thttps create session fail, ip: 10.1.1.1" }, { 3, "<critical>\t" },
        { 7, "<7>\tseven" }, { -1, "" } // below the minimum: dropped
    };
    const std::string from = LocalStamp(std::time(nullptr));
    for (const auto& [level, shown] : records) {
        Logger::write(static_cast<mirelo::severity_level>(level), shown.substr(shown.find('\t') + 1));
        ASSERT_EQ(LogFilesIn(dir.path()).size(), 1u);
        EXPECT_EQ(LogFilesIn(dir.path())[0].second, LinesOf(clog.str()))
            << "records must not wait in a buffer";
    }
    const std::string to = LocalStamp(std::time(nullptr));
    ::unsetenv("TZ");
    ::tzset();
    const auto [name, lines] = LogFilesIn(dir.path())[0];
    EXPECT_TRUE(std::regex_match(name, std::regex(R"(Tessory Tool_\d{4}-\d\d-\d\d_\d\d-\d\d-\d\d\.log)")))
        << name;
    ASSERT_EQ(lines.size(), std::size(records) - 1);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].substr(19), " " + records[i].second);
        EXPECT_TRUE(lines[i].substr(0, 19) >= from && lines[i].substr(0, 19) <= to) << lines[i];
    }
}

// The record that would bring the file to the rotation size goes into a new
// file; the full one, and at shutdown the last one, are moved into "logs".
TEST_F(Log, SizeLimitAndShutdownMoveFilesIntoLogsWithEveryRecord)
{
    quill::log::SetUpLogging({}, 1000, {});
    for (int i = 0; i < 9; ++i) // lines of 120 bytes: 8 fit, the 9th does not
        Logger::write(mirelo::debug, std::string(90, '.') + std::to_string(i));
    ASSERT_EQ(LogFilesIn(dir.file("logs")).size(), 1u);
    EXPECT_EQ(LogFilesIn(dir.file("logs"))[0].second.size(), 8u);
    ASSERT_EQ(LogFilesIn(dir.path()).size(), 1u);
    EXPECT_EQ(LogFilesIn(dir.path())[0].second, Lines { LinesOf(clog.str()).back() });
    quill::log::ShutDownLogging();
    EXPECT_TRUE(LogFilesIn(dir.path()).empty());
    std::size_t collected = 0;
    for (const auto& file : LogFilesIn(dir.file("logs")))
        collected += file.second.size();
    EXPECT_EQ(collected, 9u);
}

// A front end that keeps its standard streams for its own output: the files
// go to the folder it names, none into the working directory, none to std::clog.
TEST_F(Log, ConfiguredPlaceTakesTheFilesWhileTheWorkingDirectoryAndClogStayEmpty)
{
    const TempDir place;
    ASSERT_TRUE(Logger::configure({ place.path(), true, false }));
    Logger::instance();
    EXPECT_FALSE(Logger::configure({})) << "the log is set up already";
    Logger::write(mirelo::normal, "configured");
    ASSERT_EQ(LogFilesIn(place.path()).size(), 1u);
    Logger::shutdown();
    ASSERT_EQ(LogFilesIn(place.file("logs")).size(), 1u);
    EXPECT_EQ(LogFilesIn(place.file("logs"))[0].second.size(), 1u);
    EXPECT_TRUE(fs::is_empty(dir.path()));
    EXPECT_EQ(clog.str(), "");
}

} // namespace
