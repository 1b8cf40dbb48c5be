// When log files are closed and moved into "logs": by size, at midnight, at
// shutdown; what the folder keeps; writes from two threads.
// These tests set the log up through its internal set-up function and never
// call Logger::instance(), which would add the production sinks as well.
#include "LogFiles.h"
#include "LogSetup.h"
#include "Logger.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <atomic>
#include <latch>
#include <set>
#include <string>
#include <thread>

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
    ClogCapture m_clog { false };
};

TEST_F(LogRotation, SizeLimitMovesTheFullFileAndTheNextRecordOpensANewOne)
{
    constexpr std::uintmax_t kRotationSize = 1000;
    constexpr std::size_t kMessageLength = 90;
    constexpr std::size_t kLineLength = kMessageLength + kDebugLineOverhead; // 8 lines fit, the 9th does not
    quill::log::SetUpLogging(kRotationSize, {});

    std::size_t record = 0;
    for (; record < 8; ++record)
        Logger::write(mirelo::debug, Padded("record " + std::to_string(record), kMessageLength));
    ASSERT_EQ(activeFiles().size(), 1u);
    EXPECT_EQ(fs::file_size(activeFiles().front()), 8 * kLineLength);
    EXPECT_TRUE(finishedFiles().empty());

    Logger::write(mirelo::debug, Padded("record 8", kMessageLength));
    ASSERT_EQ(finishedFiles().size(), 1u);
    EXPECT_EQ(MessagesOf(finishedFiles()).size(), 8u);
    ASSERT_EQ(activeFiles().size(), 1u);
    EXPECT_TRUE(IsActiveLogFileName(activeFiles().front().filename().string()));
    EXPECT_EQ(MessagesOf(activeFiles()), std::vector<std::string> { Padded("record 8", kMessageLength) });

    for (++record; record < 30; ++record)
        Logger::write(mirelo::debug, Padded("record " + std::to_string(record), kMessageLength));
    quill::log::ShutDownLogging();

    EXPECT_TRUE(activeFiles().empty());
    const std::vector<fs::path> finished = finishedFiles();
    ASSERT_EQ(finished.size(), 4u); // 8 + 8 + 8 + 6
    std::multiset<std::string> seen;
    for (const auto& file : finished) {
        EXPECT_LT(fs::file_size(file), kRotationSize) << file;
        for (const auto& message : MessagesOf({ file }))
            seen.insert(message);
    }
    std::multiset<std::string> expected;
    for (std::size_t i = 0; i < 30; ++i)
        expected.insert(Padded("record " + std::to_string(i), kMessageLength));
    EXPECT_EQ(seen, expected);
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
    ASSERT_EQ(activeFiles().size(), 1u);
    EXPECT_EQ(MessagesOf(activeFiles()), (std::vector<std::string> { "at 00:00:01", "at 00:00:02" }));
    // The check refers to midnightPassed: the sink must go before it does.
    quill::log::ShutDownLogging();
}

TEST_F(LogRotation, ShutdownMovesTheLastFileIntoLogs)
{
    quill::log::SetUpLogging(quill::log::kRotationSizeMiB * quill::log::kMiB, {});
    Logger::write(mirelo::warning, "last words");
    ASSERT_EQ(activeFiles().size(), 1u);
    const std::string name = activeFiles().front().filename().string();

    Logger::shutdown();
    EXPECT_TRUE(activeFiles().empty());
    ASSERT_EQ(finishedFiles().size(), 1u);
    EXPECT_EQ(finishedFiles().front().filename().string(), name);
    EXPECT_EQ(MessagesOf(finishedFiles()), std::vector<std::string> { "last words" });

    testing::internal::CaptureStdout();
    Logger::write(mirelo::critical, "after shutdown");
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_TRUE(activeFiles().empty());
    EXPECT_EQ(finishedFiles().size(), 1u);
}

TEST_F(LogRotation, RecordsFromTwoThreadsStayWholeLinesAcrossRotations)
{
    constexpr std::uintmax_t kRotationSize = 4096;
    constexpr int kRecordsPerThread = 1500;
    quill::log::SetUpLogging(kRotationSize, {});

    std::latch start(2);
    auto writer = [&start](int id) {
        start.arrive_and_wait();
        for (int i = 0; i < kRecordsPerThread; ++i)
            Logger::write(
                mirelo::debug, Padded("thread " + std::to_string(id) + " #" + std::to_string(i), 40));
    };
    std::jthread first(writer, 1);
    std::jthread second(writer, 2);
    first.join();
    second.join();
    quill::log::ShutDownLogging();

    std::multiset<std::string> seen;
    for (const auto& file : finishedFiles()) {
        EXPECT_LE(fs::file_size(file), kRotationSize) << file;
        for (const auto& line : LinesOfFile(file)) {
            ASSERT_TRUE(ParseRecordLine(line)) << line;
            seen.insert(MessageOf(line));
        }
    }
    std::multiset<std::string> expected;
    for (int id : { 1, 2 }) {
        for (int i = 0; i < kRecordsPerThread; ++i)
            expected.insert(Padded("thread " + std::to_string(id) + " #" + std::to_string(i), 40));
    }
    EXPECT_EQ(seen, expected);
}

TEST_F(LogRotation, LogsFolderKeepsAtMostSixteenMebibytes)
{
    constexpr std::uintmax_t kNeededFreeSpace = 300 * quill::log::kMiB;
    if (fs::space(m_dir.path()).available < kNeededFreeSpace)
        GTEST_SKIP()
            << "the temporary folder has less than 300 MiB free; the log folder would drop every file";

    quill::log::SetUpLogging(quill::log::kMiB, {});
    const std::string message(4000, 'x');
    const std::uintmax_t lineLength = message.size() + kDebugLineOverhead;
    const std::uintmax_t recordCount = 20 * quill::log::kMiB / lineLength;
    for (std::uintmax_t i = 0; i < recordCount; ++i)
        Logger::write(mirelo::debug, message);
    quill::log::ShutDownLogging();

    const std::vector<fs::path> finished = finishedFiles();
    const std::uintmax_t total = TotalSize(finished);
    EXPECT_LE(total, quill::log::kLogFolderMaxSize);
    EXPECT_GE(total, quill::log::kLogFolderMaxSize - 2 * quill::log::kMiB);
    EXPECT_LT(finished.size(), 20u);
}

} // namespace
