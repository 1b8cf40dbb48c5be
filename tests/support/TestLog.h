#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

// Linking this gives a test program one log for all its tests, set up before
// the first test in a temporary folder of its own (its files stay where the
// working directory was at set-up, and tests change that directory) and shut
// down after the last one, so its final file is closed before the folder goes.
namespace quill::test {

// What the log writes to std::clog while the object lives, in the log file's
// format. Safe while other threads write records.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    std::string text() const;
    // The captured lines that hold the text.
    std::vector<std::string> linesWith(const std::string& part) const;

private:
    class Buffer;
    std::unique_ptr<Buffer> m_buffer;
    std::streambuf* m_previous;
};

// Everything the test program's log files hold so far.
std::string LogFilesText();

} // namespace quill::test
