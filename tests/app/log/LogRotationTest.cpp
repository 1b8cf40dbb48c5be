// When log files are closed and moved into "logs": by size, at midnight, at
// shutdown; what the folder keeps. Set up through the internal set-up
// function: the production one would add its own sinks as well.
#include "LogFiles.h"
#include "LogSetup.h"
#include "Logger.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>

namespace {

namespace fs = std::filesystem;
using namespace quill::test;

// Stamp, blank, "<debug>", tab, message, line feed.
constexpr std::size_t kDebugLineOverhead = 19 + 1 + 7 + 1 + 1;

std::string Padded(const std::string& text, std::size_t length)
{
    return text + std::string(length - text.size(), '.');
}

std::vector<std::string> MessagesOf(const std::vector<fs::path>& files)
{
    std::vector<std::string> messages;
    for (const auto& file : files) {
        for (const auto& line : LinesOfFile(file))
            messages.push_back(MessageOf(line));
    }
    return messages;
}

class LogRotation : public testing::Test {
protected:
    void TearDown() override { quill::log::ShutDownLogging(); }
    std::vector<fs::path> activeFiles() const { return LogFilesIn(m_dir.path()); }
    std::vector<fs::path> finishedFiles() const { return LogFilesIn(m_dir.file("logs")); }

    TempDir m_dir;
    ScopedWorkingDir m_workingDir { m_dir.path() };
    ClogCapture m_clog;
};

// Also shows the final rotation at shutdown: the last, part-full file reaches "logs".
TEST_F(LogRotation, SizeLimitMovesTheFullFileAndTheNextRecordOpensANewOne)
{
    constexpr std::uintmax_t kRotationSize = 1000;
    constexpr std::size_t kMessageLength = 90; // 8 lines fit, the 9th does not
    quill::log::SetUpLogging(kRotationSize, {});
    const auto record = [](int i) { return Padded("record " + std::to_string(i), kMessageLength); };

    for (int i = 0; i < 8; ++i)
        Logger::write(mirelo::debug, record(i));
    ASSERT_EQ(activeFiles().size(), 1u);
    EXPECT_EQ(fs::file_size(activeFiles().front()), 8 * (kMessageLength + kDebugLineOverhead));
    EXPECT_TRUE(finishedFiles().empty());

    Logger::write(mirelo::debug, record(8));
    EXPECT_EQ(MessagesOf(finishedFiles()).size(), 8u);
    ASSERT_EQ(activeFiles().size(), 1u);
    EXPECT_TRUE(IsActiveLogFileName(activeFiles().front().filename().string()));
    EXPECT_EQ(MessagesOf(activeFiles()), std::vector<std::string> { record(8) });

    for (int i = 9; i < 30; ++i)
        Logger::write(mirelo::debug, record(i));
    quill::log::ShutDownLogging();

    EXPECT_TRUE(activeFiles().empty());
    const std::vector<fs::path> finished = finishedFiles();
    ASSERT_EQ(finished.size(), 4u); // 8 + 8 + 8 + 6
    for (const auto& file : finished)
        EXPECT_LT(fs::file_size(file), kRotationSize) << file;
    const std::vector<std::string> messages = MessagesOf(finished);
    std::multiset<std::string> expected;
    for (int i = 0; i < 30; ++i)
        expected.insert(record(i));
    EXPECT_EQ(std::multiset<std::string>(messages.begin(), messages.end()), expected);
}

TEST_F(LogRotation, MidnightStartsANewFile)
{
    std::atomic<bool> midnightPassed { false };
    quill::log::SetUpLogging(quill::log::kRotationSizeMiB * quill::log::kMiB,
        [&midnightPassed] { return midnightPassed.exchange(false); });

    Logger::write(mirelo::normal, "at 23:59:59");
    midnightPassed = true;
    Logger::write(mirelo::normal, "at 00:00:01");
    Logger::write(mirelo::normal, "at 00:00:02");

    EXPECT_EQ(MessagesOf(finishedFiles()), std::vector<std::string> { "at 23:59:59" });
    EXPECT_EQ(MessagesOf(activeFiles()), (std::vector<std::string> { "at 00:00:01", "at 00:00:02" }));
    // The check refers to midnightPassed: the sink must go before it does.
    quill::log::ShutDownLogging();
}

TEST_F(LogRotation, LogsFolderKeepsAtMostSixteenMebibytes)
{
    if (fs::space(m_dir.path()).available < 300 * quill::log::kMiB)
        GTEST_SKIP()
            << "the temporary folder has less than 300 MiB free; the log folder would drop every file";

    quill::log::SetUpLogging(quill::log::kMiB, {});
    const std::string message(4000, 'x');
    for (std::uintmax_t i = 0; i < 20 * quill::log::kMiB / (message.size() + kDebugLineOverhead); ++i)
        Logger::write(mirelo::debug, message);
    quill::log::ShutDownLogging();

    const std::vector<fs::path> finished = finishedFiles();
    std::uintmax_t total = 0;
    for (const auto& file : finished)
        total += fs::file_size(file);
    EXPECT_LE(total, quill::log::kLogFolderMaxSize);
    EXPECT_GE(total, quill::log::kLogFolderMaxSize - 2 * quill::log::kMiB);
    EXPECT_LT(finished.size(), 20u);
}

} // namespace
