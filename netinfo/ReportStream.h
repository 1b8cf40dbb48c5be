#pragma once

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

namespace quill::netinfo {

// Size of the buffer the report is read into: a line arrives in pieces of at
// most kReportLineBufferSize - 1 bytes, the newline included.
inline constexpr std::size_t kReportLineBufferSize = 1024;

// A text report read line by line the way fgets reads it, so that long lines,
// a last line without newline and zero bytes behave as the parser expects.
class ReportStream {
public:
    using Closer = int (*)(std::FILE*);

    // Takes ownership of an open stream; close is called on it at the end
    // (fclose for files, pclose for command pipes). backing is memory the
    // stream reads from, kept alive as long as the stream.
    ReportStream(std::FILE* stream, Closer close, std::unique_ptr<std::string> backing = nullptr);

    // A report held in memory, e.g. a recorded one. nullptr when the stream
    // cannot be set up.
    static std::unique_ptr<ReportStream> FromBytes(std::string bytes);
    // A report recorded in a file, read byte for byte. nullptr when it cannot be opened.
    static std::unique_ptr<ReportStream> FromFile(const std::string& path);

    ReportStream(const ReportStream&) = delete;
    ReportStream& operator=(const ReportStream&) = delete;

    // The next piece as fgets leaves it in the buffer: up to and including the
    // next newline, at most kReportLineBufferSize - 1 bytes, and seen as a C
    // string, so it ends before a zero byte. False at the end of the report.
    bool NextLine(std::string& line);

private:
    // Declared before the stream so that it outlives it.
    std::unique_ptr<std::string> m_backing;
    std::unique_ptr<std::FILE, Closer> m_stream;
};

} // namespace quill::netinfo
