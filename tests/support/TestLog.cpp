#include "TestLog.h"

#include "Logger.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <mutex>
#include <sstream>
#include <streambuf>

namespace quill::test {

namespace {

    class LogEnvironment : public ::testing::Environment {
    public:
        void SetUp() override
        {
            m_folder = std::make_unique<TempDir>();
            const ScopedWorkingDir inFolder(m_folder->path());
            Logger::instance();
        }

        void TearDown() override
        {
            Logger::shutdown();
            m_folder.reset();
        }

        std::filesystem::path folder() const { return m_folder ? m_folder->path() : std::filesystem::path(); }

    private:
        std::unique_ptr<TempDir> m_folder;
    };

    LogEnvironment* const kLogEnvironment
        = static_cast<LogEnvironment*>(::testing::AddGlobalTestEnvironment(new LogEnvironment));

} // namespace

// std::clog's buffer while a capture lives; the sinks write through it from
// any thread while a test reads it.
class LogCapture::Buffer : public std::streambuf {
public:
    std::string text() const
    {
        std::lock_guard lock(m_mutex);
        return m_text;
    }

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        std::lock_guard lock(m_mutex);
        m_text.push_back(traits_type::to_char_type(c));
        return c;
    }

    std::streamsize xsputn(const char* s, std::streamsize n) override
    {
        std::lock_guard lock(m_mutex);
        m_text.append(s, static_cast<std::size_t>(n));
        return n;
    }

private:
    mutable std::mutex m_mutex;
    std::string m_text;
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
    for (std::string line; std::getline(stream, line);) {
        if (line.find(part) != std::string::npos)
            lines.push_back(line);
    }
    return lines;
}

std::string LogFilesText()
{
    std::string text;
    const std::filesystem::path folder = kLogEnvironment->folder();
    for (const auto& place : { folder, folder / "logs" }) {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(place, ignored)) {
            if (entry.is_regular_file() && entry.path().extension() == ".log")
                text += ReadWholeFile(entry.path());
        }
    }
    return text;
}

} // namespace quill::test
