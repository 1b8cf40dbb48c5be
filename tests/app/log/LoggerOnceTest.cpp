// The production set-up behind Logger::instance(), reached by two threads at
// once. Its own executable: the set-up runs once per process.
#include "LogFiles.h"
#include "Logger.h"

#include <gtest/gtest.h>

#include <latch>
#include <thread>

namespace {

using namespace quill::test;

TEST(LoggerInstance, TwoThreadsAtOnceSetUpOneFileAndOneClogSinkAndShutdownMovesItIntoLogs)
{
    TempDir dir;
    ScopedWorkingDir workingDir(dir.path());
    ClogCapture clog;

    // Boost.Log would print it to stdout through its own default sink.
    testing::internal::CaptureStdout();
    Logger::write(mirelo::critical, "before any set-up");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    std::latch start(2);
    auto firstUse = [&start](const std::string& name) {
        start.arrive_and_wait();
        Logger::instance();
        Logger::write(mirelo::normal, name);
    };
    {
        std::jthread a(firstUse, "from thread a"), b(firstUse, "from thread b");
    }

    // A second set-up would have added a second pair of sinks: every record twice.
    const auto active = LogFilesIn(dir.path());
    ASSERT_EQ(active.size(), 1u);
    EXPECT_TRUE(IsActiveLogFileName(active.front().filename().string()));
    const std::vector<std::string> lines = LinesOfFile(active.front());
    ASSERT_EQ(lines.size(), 2u);
    // Each sink takes the two threads' records in its own order.
    const auto sorted = [](std::vector<std::string> v) {
        std::sort(v.begin(), v.end());
        return v;
    };
    EXPECT_EQ(sorted(LinesOf(clog.text())), sorted(lines));
    EXPECT_EQ(sorted({ MessageOf(lines[0]), MessageOf(lines[1]) }),
        (std::vector<std::string> { "from thread a", "from thread b" }));

    Logger::shutdown();
    EXPECT_TRUE(LogFilesIn(dir.path()).empty());
    const auto finished = LogFilesIn(dir.file("logs"));
    ASSERT_EQ(finished.size(), 1u);
    EXPECT_EQ(finished.front().filename(), active.front().filename());
    EXPECT_EQ(LinesOfFile(finished.front()), lines);

    // After shutdown nothing is set up again and nothing is written anywhere.
    testing::internal::CaptureStdout();
    Logger::instance();
    Logger::write(mirelo::critical, "after shutdown");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(LogFilesIn(dir.path()).empty());
    EXPECT_EQ(LinesOf(clog.text()).size(), 2u);
}

} // namespace
