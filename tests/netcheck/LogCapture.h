#pragma once

#include <iosfwd>
#include <sstream>
#include <string>

namespace quill::netcheck::test {

// Collects what the log writes to std::clog (one line per record, in the log
// file's format) while the object lives.
//
// The first use also sets the log up once for the whole test program, with
// its files in a temporary folder that stays until the tests end.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const { return m_captured.str(); }

private:
    std::ostringstream m_captured;
    std::streambuf* m_previous;
};

// Everything the log files of this test program hold so far.
std::string LogFilesText();

} // namespace quill::netcheck::test
