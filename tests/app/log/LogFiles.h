#pragma once

// Reading back what the log wrote: its files in a directory, their lines, and
// what went to std::clog.
#include "TempDir.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace quill::test {

// Log files directly in dir (active ones in the working directory, finished
// ones in "logs"), oldest name first.
inline std::vector<std::filesystem::path> LogFilesIn(const std::filesystem::path& dir)
{
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(dir)) {
        for (const auto& entry : std::filesystem::directory_iterator(dir)) {
            if (entry.is_regular_file() && entry.path().filename().string().starts_with("Tessory Tool_"))
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

inline std::vector<std::string> LinesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

inline std::vector<std::string> LinesOfFile(const std::filesystem::path& file)
{
    return LinesOf(ReadWholeFile(file));
}

// The message part of a record line, after "<severity>\t".
inline std::string MessageOf(const std::string& line)
{
    const std::size_t tab = line.find('\t');
    return tab == std::string::npos ? std::string() : line.substr(tab + 1);
}

// True when text has a digit wherever shape has '0' and the same character elsewhere.
inline bool HasShape(std::string_view text, std::string_view shape)
{
    return text.size() == shape.size()
        && std::equal(text.begin(), text.end(), shape.begin(),
            [](char t, char s) { return s == '0' ? (t >= '0' && t <= '9') : t == s; });
}

inline bool IsActiveLogFileName(const std::string& name)
{
    return HasShape(name, "Tessory Tool_0000-00-00_00-00-00.log");
}

struct RecordLine {
    std::string stamp;
    std::string severity;
    std::string message;
};

// Splits "YYYY-MM-DD hh:mm:ss <severity>\tmessage"; nothing when the line has another form.
inline std::optional<RecordLine> ParseRecordLine(const std::string& line)
{
    if (line.size() < 21 || !HasShape(std::string_view(line).substr(0, 19), "0000-00-00 00:00:00")
        || line.compare(19, 2, " <") != 0)
        return std::nullopt;
    const std::size_t close = line.find(">\t", 21);
    if (close == std::string::npos)
        return std::nullopt;
    return RecordLine { line.substr(0, 19), line.substr(21, close - 21), line.substr(close + 2) };
}

// Sends std::clog into a string for the object's lifetime.
class ClogCapture {
public:
    ClogCapture()
        : m_previous(std::clog.rdbuf(m_text.rdbuf()))
    {
    }
    ~ClogCapture() { std::clog.rdbuf(m_previous); }
    ClogCapture(const ClogCapture&) = delete;
    ClogCapture& operator=(const ClogCapture&) = delete;
    std::string text() const { return m_text.str(); }

private:
    std::ostringstream m_text;
    std::streambuf* m_previous;
};

} // namespace quill::test
