#pragma once

#include "AdapterInfo.h"
#include "IpconfigReport.h"
#include "ReportStream.h"

namespace quill::netinfo {

// Fills the adapter table from the platform's ipconfig report. False, with the
// table unchanged, when the report cannot be started; true otherwise, whether
// or not an adapter was found.
bool ParseIpconfig(AdapterTable& table);
bool ParseIpconfig(AdapterTable& table, const ReportOpener& openReport);

// The parser as a collector to hand to the main window, reading the given
// report source (the platform's by default).
AdapterCollector MakeIpconfigCollector(ReportOpener openReport = &OpenIpconfigReport);

// The parser itself over an opened report. Every line that carries a label of
// the table sets that field's value and flag; once all five flags are set, a
// record is made from the latest values (if the address splits) and the flags
// are cleared. Records go into the table in report order, up to its last slot.
void ParseIpconfigReport(AdapterTable& table, ReportStream& report);

} // namespace quill::netinfo
