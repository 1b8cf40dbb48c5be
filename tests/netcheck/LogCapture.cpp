#include "LogCapture.h"

#include "Logger.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <memory>

namespace quill::netcheck::test {

namespace {

    // Sets the log up in a folder of its own before the first test, since
    // its files stay where the working directory was at set-up, and the tests
    // change that directory. At the end the log shuts down first, so the last
    // file is closed and moved before the folder is removed.
    class LogEnvironment : public ::testing::Environment {
    public:
        void SetUp() override
        {
            m_folder = std::make_unique<quill::test::TempDir>();
            const quill::test::ScopedWorkingDir inFolder(m_folder->path());
            Logger::instance();
        }

        void TearDown() override
        {
            Logger::shutdown();
            m_folder.reset();
        }

        std::filesystem::path folder() const { return m_folder ? m_folder->path() : std::filesystem::path(); }

    private:
        std::unique_ptr<quill::test::TempDir> m_folder;
    };

    LogEnvironment* const kLogEnvironment
        = static_cast<LogEnvironment*>(::testing::AddGlobalTestEnvironment(new LogEnvironment));

} // namespace

std::string LogFilesText()
{
    std::string text;
    const std::filesystem::path folder = kLogEnvironment->folder();
    for (const auto& place : { folder, folder / "logs" }) {
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(place, ignored)) {
            if (entry.is_regular_file() && entry.path().extension() == ".log")
                text += quill::test::ReadWholeFile(entry.path());
        }
    }
    return text;
}

LogCapture::LogCapture()
    : m_previous(std::clog.rdbuf(m_captured.rdbuf()))
{
}

LogCapture::~LogCapture()
{
    std::clog.rdbuf(m_previous);
}

} // namespace quill::netcheck::test
