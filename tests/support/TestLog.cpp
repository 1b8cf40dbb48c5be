#include "TestLog.h"

#include "Logger.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <iostream>
#include <mutex>
#include <sstream>

namespace quill::test {

namespace {

    // The program's log, in a folder of its own from before the first test
    // until after the last one.
    struct LogEnvironment : ::testing::Environment {
        void SetUp() override
        {
            folder = std::make_unique<TempDir>();
            const ScopedWorkingDir inFolder(folder->path());
            Logger::instance();
        }
        void TearDown() override
        {
            Logger::shutdown();
            folder.reset();
        }
        std::unique_ptr<TempDir> folder;
    };

    auto* const kLogEnvironment
        = static_cast<LogEnvironment*>(::testing::AddGlobalTestEnvironment(new LogEnvironment));

} // namespace

// std::clog's buffer while a capture lives; the sinks write through it from
// any thread while a test reads it.
class LogCapture::Buffer : public std::stringbuf {
public:
    std::string text() const
    {
        std::lock_guard lock(m_mutex);
        return str();
    }

protected:
    int_type overflow(int_type c) override
    {
        std::lock_guard lock(m_mutex);
        return std::stringbuf::overflow(c);
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        std::lock_guard lock(m_mutex);
        return std::stringbuf::xsputn(s, n);
    }

private:
    mutable std::recursive_mutex m_mutex; // the base's xsputn may call overflow
};

LogCapture::LogCapture()
    : m_buffer(std::make_unique<Buffer>())
    , m_previous(std::clog.rdbuf(m_buffer.get()))
{
}

LogCapture::~LogCapture()
{
    std::clog.rdbuf(m_previous);
}

std::string LogCapture::text() const
{
    return m_buffer->text();
}

std::vector<std::string> LogCapture::linesWith(const std::string& part) const
{
    std::vector<std::string> lines;
    std::istringstream stream(text());
    for (std::string line; std::getline(stream, line);)
        if (line.find(part) != std::string::npos)
            lines.push_back(line);
    return lines;
}

std::string LogFilesText()
{
    std::string text;
    for (const auto& place : { kLogEnvironment->folder->path(), kLogEnvironment->folder->path() / "logs" }) {
        std::error_code absent;
        for (const auto& entry : std::filesystem::directory_iterator(place, absent))
            if (entry.path().extension() == ".log")
                text += ReadWholeFile(entry.path());
    }
    return text;
}

} // namespace quill::test
