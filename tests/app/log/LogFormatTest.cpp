// What a record looks like in the file and on std::clog, read back from real
// Boost.Log output. Set up through the internal set-up function: the
// production one would add its own sinks as well.
#include "LogFiles.h"
#include "LogSetup.h"
#include "Logger.h"
#include "SeverityLevel.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

namespace fs = std::filesystem;
using namespace quill::test;

TEST(SeverityLevel, NamesAndNumbers)
{
    const std::pair<int, const char*> cases[]
        = { { 0, "debug" }, { 1, "normal" }, { 2, "warning" }, { 3, "critical" }, { 4, "4" }, { -1, "-1" } };
    for (const auto& [level, name] : cases) {
        std::ostringstream out;
        out << static_cast<mirelo::severity_level>(level);
        EXPECT_EQ(out.str(), name);
    }
}

std::string LocalStamp(std::time_t when)
{
    std::tm local {};
    ::localtime_r(&when, &local);
    char text[32] {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

TEST(LogFormat, LinesShowLocalTimeSeverityNameAndMessageAndReachTheFileAtOnce)
{
    TempDir dir;
    ScopedWorkingDir workingDir(dir.path());
    ClogCapture clog;
    // Far from UTC, so that a UTC time stamp would show.
    ::setenv("TZ", "QST-05:30", 1);
    ::tzset();
    quill::log::SetUpLogging(quill::log::kRotationSizeMiB * quill::log::kMiB, {});

    const struct {
        int level;
        const char* shownAs;
        std::string message;
    } records[] = {
        { 0, "debug", "IP: 10.0.0.7, SN: S1, MAC: 00:11:22:33:44:55, device_name: cam, FW: 1.2" },
        { 1, "normal", "tab\tand <angle> % signs" },
        { 2, "warning", "https create session fail, ip: 10.1.1.1" },
        { 3, "critical", "" },
        { 7, "7", "seven" },
    };
    const std::time_t before = std::time(nullptr);
    for (std::size_t i = 0; i < std::size(records); ++i) {
        Logger::write(static_cast<mirelo::severity_level>(records[i].level), records[i].message);
        const auto files = LogFilesIn(dir.path());
        ASSERT_EQ(files.size(), 1u);
        EXPECT_EQ(LinesOfFile(files.front()).size(), i + 1) << "records must not wait in a buffer";
    }
    const std::time_t after = std::time(nullptr);
    Logger::write(static_cast<mirelo::severity_level>(-1), "below the minimum: dropped");

    const fs::path file = LogFilesIn(dir.path()).front();
    EXPECT_TRUE(IsActiveLogFileName(file.filename().string())) << file;
    const std::vector<std::string> lines = LinesOfFile(file);
    ASSERT_EQ(lines.size(), std::size(records));
    EXPECT_EQ(LinesOf(clog.text()), lines);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<RecordLine> parts = ParseRecordLine(lines[i]);
        ASSERT_TRUE(parts) << lines[i];
        EXPECT_EQ(parts->severity, records[i].shownAs);
        EXPECT_EQ(parts->message, records[i].message);
        EXPECT_TRUE(parts->stamp >= LocalStamp(before) && parts->stamp <= LocalStamp(after)) << lines[i];
    }
    quill::log::ShutDownLogging();
    ::unsetenv("TZ");
    ::tzset();
}

} // namespace
