#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

// Linking this gives a test program one log, in a temporary folder of its own,
// from before its first test until after its last one.
namespace quill::test {

// What the log writes to std::clog while the object lives; other threads may write.
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
