#pragma once

#include "AdapterRows.h"
#include "CameraProblems.h"
#include "CheckPlan.h"
#include "ResultTable.h"

#include <QJsonArray>
#include <QJsonObject>

#include <cstdint>
#include <string>

// One JSON object per row, with the stable keys every JSON output of the
// program uses (the command line's and the site report's).
namespace quill::report {

// The "schema_version" of every JSON document the program writes.
inline constexpr int kSchemaVersion = 2;

// A whole document as the program writes it: indented, with the controls a
// terminal would act on (bidirectional overrides among them) as \u escapes.
std::string JsonDocumentText(const QJsonObject& document);

// "connected", "refused", "no_answer" and so on.
const char* ReasonKey(netcheck::ProbeReason reason);
// "pass", "warn" or "fail".
const char* VerdictKey(netcheck::Verdict verdict);
// "refused", "tls_not_completed", "certificate", "clock_offset"; none for no warning.
const char* WarningKey(netcheck::ProbeWarning warning);

// check, host, port, address (the address used, or empty), verdict, passed
// (true for pass and warn), warning (a key or null), warning_text, reason,
// elapsed_ms, detail, description (the outcome as text in the language), and
// certificate and ntp when there are.
// Each problem of the camera list: code, text and the cameras' numbers.
QJsonArray ProblemsJson(const std::vector<discovery::CameraProblem>& problems);

QJsonObject CheckRowJson(const netcheck::CheckRow& row, std::int32_t language);

// name, address, mask, gateway, dns_server, carrier, default_route, searchable.
QJsonObject AdapterRowJson(const netinfo::AdapterRow& row);

// number, then ip, sn, mac, device_name and fw as well-formed UTF-8 (bytes
// that are not are dropped).
QJsonObject CameraRowJson(const discovery::ResultRow& row);

} // namespace quill::report
