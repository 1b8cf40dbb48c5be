#pragma once

#include "CheckPlan.h"

#include <cstdint>
#include <ostream>
#include <vector>

namespace quill::cli {

using netcheck::CheckRow;

// One table line for a row as it arrives: check, host:port, PASS or FAIL and
// the reason with its facts and time in the language.
void WriteCheckLine(std::ostream& out, const CheckRow& row, std::int32_t language);

// One CSV record for a row as it arrives; the heading with none.
void WriteCheckCsv(std::ostream& out, const CheckRow* row, std::int32_t language);

// All rows as JSON ({"schema_version": 1, "checks": [...]}) with stable keys;
// "description" is the reason as text in the language.
void WriteCheckJson(std::ostream& out, const std::vector<CheckRow>& rows, std::int32_t language);

} // namespace quill::cli
