// A production set-up that fails is run again by the next Logger::instance().
// Its own executable: the set-up runs once per process.
#include "LogFiles.h"
#include "Logger.h"

#include <gtest/gtest.h>

namespace {

using namespace quill::test;

TEST(LoggerInstance, FailedSetUpRunsAgainOnTheNextCall)
{
    TempDir dir;
    ScopedWorkingDir workingDir(dir.path());
    ClogCapture clog;

    // A file where the "logs" folder must go makes the set-up fail.
    WriteWholeFile(dir.file("logs"), "in the way");
    EXPECT_ANY_THROW(Logger::instance());
    EXPECT_ANY_THROW(Logger::instance());
    testing::internal::CaptureStdout();
    Logger::write(mirelo::critical, "while not set up");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    std::filesystem::remove(dir.file("logs"));
    EXPECT_NO_THROW(Logger::instance());
    Logger::write(mirelo::warning, "after the retry");
    Logger::shutdown();

    const auto finished = LogFilesIn(dir.file("logs"));
    ASSERT_EQ(finished.size(), 1u);
    const std::vector<std::string> lines = LinesOfFile(finished.front());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(MessageOf(lines.front()), "after the retry");
    EXPECT_EQ(LinesOf(clog.text()), lines);
}

} // namespace
