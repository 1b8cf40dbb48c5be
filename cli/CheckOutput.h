#pragma once

#include "CheckPlan.h"

#include <cstdint>
#include <ostream>
#include <vector>

namespace quill::cli {

using netcheck::CheckRow;

// The heading of the table.
void WriteCheckHeading(std::ostream& out);

// One table line for a row as it arrives: check, host:port, the address used,
// PASS, WARN or FAIL, and the warning, the reason with its facts and the time
// in the language.
void WriteCheckLine(std::ostream& out, const CheckRow& row, std::int32_t language);

// One CSV record for a row as it arrives; the heading with none.
void WriteCheckCsv(std::ostream& out, const CheckRow* row, std::int32_t language);

// All rows as JSON ({"schema_version": 2, "checks": [...]}) with stable keys;
// "description" is the outcome as text in the language.
void WriteCheckJson(std::ostream& out, const std::vector<CheckRow>& rows, std::int32_t language);

// The exit status for the rows: a failure fails; warnings alone fail only
// when strict.
int CheckExitStatus(const std::vector<CheckRow>& rows, bool strict);

} // namespace quill::cli
