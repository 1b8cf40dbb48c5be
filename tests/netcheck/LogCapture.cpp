#include "LogCapture.h"

#include "Logger.h"
#include "TempDir.h"

#include <boost/log/core.hpp>
#include <gtest/gtest.h>

#include <iostream>
#include <memory>

namespace quill::netcheck::test {

namespace {

    // Sets the log up in a folder of its own before the first test, since
    // its files stay where the working directory was at set-up, and the tests
    // change that directory. At the end the sinks go first, so the last file
    // is closed and moved before the folder is removed.
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
            boost::log::core::get()->flush();
            boost::log::core::get()->remove_all_sinks();
            m_folder.reset();
        }

    private:
        std::unique_ptr<quill::test::TempDir> m_folder;
    };

    [[maybe_unused]] const auto* const kLogEnvironment
        = ::testing::AddGlobalTestEnvironment(new LogEnvironment);

} // namespace

LogCapture::LogCapture()
    : m_previous(std::clog.rdbuf(m_captured.rdbuf()))
{
}

LogCapture::~LogCapture()
{
    std::clog.rdbuf(m_previous);
}

} // namespace quill::netcheck::test
