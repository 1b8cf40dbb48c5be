// What a record looks like in the file and on std::clog, read back from real
// Boost.Log output.
// These tests set the log up through its internal set-up function and never
// call Logger::instance(), which would add the production sinks as well.
#include "LogFiles.h"
#include "LogSetup.h"
#include "Logger.h"
#include "SeverityLevel.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace quill::test;

std::string StreamText(mirelo::severity_level level)
{
    std::ostringstream out;
    out << level;
    return out.str();
}

TEST(SeverityLevel, NamesAndNumbers)
{
    EXPECT_EQ(StreamText(mirelo::debug), "debug");
    EXPECT_EQ(StreamText(mirelo::normal), "normal");
    EXPECT_EQ(StreamText(mirelo::warning), "warning");
    EXPECT_EQ(StreamText(mirelo::critical), "critical");
    EXPECT_EQ(StreamText(static_cast<mirelo::severity_level>(4)), "4");
    EXPECT_EQ(StreamText(static_cast<mirelo::severity_level>(7)), "7");
    EXPECT_EQ(StreamText(static_cast<mirelo::severity_level>(-1)), "-1");
}

// Sets the process's time zone for the object's lifetime.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone)
    {
        if (const char* previous = std::getenv("TZ"))
            m_previous = previous;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone()
    {
        if (m_previous)
            ::setenv("TZ", m_previous->c_str(), 1);
        else
            ::unsetenv("TZ");
        ::tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> m_previous;
};

std::string LocalStamp(std::time_t when)
{
    std::tm local {};
    ::localtime_r(&when, &local);
    char text[32] {};
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

class LogFormat : public testing::Test {
protected:
    void SetUp() override { quill::log::SetUpLogging(quill::log::kRotationSizeMiB * quill::log::kMiB, {}); }
    void TearDown() override { quill::log::ShutDownLogging(); }

    TempDir m_dir;
    ScopedWorkingDir m_workingDir { m_dir.path() };
    ClogCapture m_clog;
};

TEST_F(LogFormat, LinesShowLocalTimeSeverityNameAndMessage)
{
    const struct {
        mirelo::severity_level level;
        const char* shownAs;
        std::string message;
    } records[] = {
        { mirelo::debug, "debug", "IP: 10.0.0.7, SN: S1, MAC: 00:11:22:33:44:55, device_name: cam, FW: 1.2" },
        { mirelo::normal, "normal", "plain" },
        { mirelo::warning, "warning", "https create session fail, ip: 10.1.1.1" },
        { mirelo::critical, "critical", "port:80 connection was time out" },
        { static_cast<mirelo::severity_level>(7), "7", "seven" },
        { mirelo::debug, "debug", "" },
        { mirelo::normal, "normal", "tab\tand <angle> % signs" },
    };

    // Far from UTC, so that a UTC time stamp would show.
    ScopedTimeZone zone("QST-05:30");
    const std::time_t before = std::time(nullptr);
    for (const auto& record : records)
        Logger::write(record.level, record.message);
    const std::time_t after = std::time(nullptr);
    // Below the minimum severity 0: dropped.
    Logger::write(static_cast<mirelo::severity_level>(-1), "below the minimum");

    const std::vector<fs::path> files = LogFilesIn(m_dir.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_TRUE(IsActiveLogFileName(files.front().filename().string())) << files.front();
    const std::vector<std::string> lines = LinesOfFile(files.front());
    ASSERT_EQ(lines.size(), std::size(records));
    EXPECT_EQ(LinesOf(m_clog.text()), lines);

    for (std::size_t i = 0; i < lines.size(); ++i) {
        SCOPED_TRACE(lines[i]);
        const std::optional<RecordLine> parts = ParseRecordLine(lines[i]);
        ASSERT_TRUE(parts);
        EXPECT_EQ(parts->severity, records[i].shownAs);
        EXPECT_EQ(parts->message, records[i].message);
        EXPECT_TRUE(parts->stamp >= LocalStamp(before) && parts->stamp <= LocalStamp(after))
            << "expected local time between " << LocalStamp(before) << " and " << LocalStamp(after);
    }
}

TEST_F(LogFormat, EachRecordReachesTheFileWhenWritten)
{
    Logger::write(mirelo::debug, "first");
    const std::vector<fs::path> files = LogFilesIn(m_dir.path());
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(LinesOfFile(files.front()).size(), 1u);

    Logger::write(mirelo::critical, "second");
    const std::vector<std::string> lines = LinesOfFile(files.front());
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(MessageOf(lines[1]), "second");
}

} // namespace
