#pragma once

#include "AdapterRows.h"
#include "CommandLine.h"
#include "Interruption.h"
#include "SearchChoice.h"

#include <QSaveFile>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <variant>

namespace quill::cli {

// The report file, opened for writing before anything is sent so that a path
// that cannot be written is told at once; nothing replaces the file until the
// report is complete. The name must end in .html or .json.
std::variant<std::unique_ptr<QSaveFile>, std::string> OpenReportFile(const std::string& path);

// `report`: the search with its progress on a terminal, then the checks,
// then the site report into the file; one line on out says what it holds.
// Interrupted, it writes no file and one line on err says so. Needs a
// QCoreApplication. Returns the exit status.
int RunReport(const Invocation& invocation, const SearchChoice& search, int language, QSaveFile& file,
    const Interruption& interruption, std::ostream& out, std::ostream& err, bool errIsTerminal);

} // namespace quill::cli
