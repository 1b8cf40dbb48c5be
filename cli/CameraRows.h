#pragma once

#include "CommandLine.h"
#include "ResultTable.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace quill::cli {

// A camera's bytes made safe for a terminal: UTF-8 only, with control and
// bidirectional characters (which could move the cursor, recolour the screen
// or turn the line around) written visibly as "<U+XXXX>".
std::string TerminalText(std::string_view bytes);

// One CSV record ended by CRLF, cells as the search page exports them.
std::string CsvLine(const std::vector<std::string>& cells);

// Writes cameras to out as a table as they answer, below a heading. Each row
// is flushed at once, so that a reader at the other end of a pipe sees it
// before the search ends.
class CameraRows {
public:
    explicit CameraRows(std::ostream& out);
    void Heading();
    void Row(const discovery::ResultRow& row);

private:
    std::ostream& m_out;
};

// One status line on a terminal, rewritten in place.
class ProgressLine {
public:
    ProgressLine(std::ostream& err, bool shown);
    void Show(const std::string& text);
    // Clears the line, so that other output starts at the left margin.
    void Clear();

private:
    std::ostream& m_err;
    bool m_shown;
    bool m_visible = false;
};

} // namespace quill::cli
