#include "RowJson.h"

#include "JsonControls.h"
#include "OutcomeText.h"
#include "TextConversion.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <array>

namespace quill::report {

namespace {

    // Indexed by netcheck::ProbeReason.
    constexpr std::array<const char*, netcheck::kProbeReasonCount> kReasonKeys { "connected", "refused",
        "no_answer", "no_route", "host_unreachable", "blocked_locally", "name_not_found",
        "name_lookup_timed_out", "name_lookup_failed", "no_host", "tls_completed", "tls_not_completed",
        "no_tls_answer", "request_not_sent", "ntp_reply", "ntp_unsynchronised", "ntp_kiss_of_death",
        "ntp_bad_stratum", "not_a_host", "other_error", "cancelled" };
    // Indexed by netcheck::ProbeWarning.
    constexpr std::array<const char*, 5> kWarningKeys { nullptr, "refused", "tls_not_completed",
        "certificate", "clock_offset" };
    constexpr std::array<const char*, 3> kVerdictKeys { "pass", "warn", "fail" };

    QString Text(const std::string& text)
    {
        return QString::fromStdString(text);
    }

    QJsonObject CertificateJson(const netcheck::CertificateFacts& certificate)
    {
        QJsonArray names;
        for (const std::string& name : certificate.alternativeNames)
            names.append(Text(name));
        return { { "subject", Text(certificate.subject) }, { "alternative_names", names },
            { "host_matches", certificate.hostMatches }, { "issuer", Text(certificate.issuer) },
            { "self_signed", certificate.selfSigned }, { "not_before", Text(certificate.notBefore) },
            { "not_after", Text(certificate.notAfter) },
            { "days_left", static_cast<qint64>(certificate.daysLeft) }, { "expired", certificate.Expired() },
            { "not_yet_valid", certificate.notYetValid }, { "trusted", certificate.trusted } };
    }

} // namespace

std::string JsonDocumentText(const QJsonObject& document)
{
    return text::EscapeJsonControls(QJsonDocument(document).toJson(QJsonDocument::Indented)).toStdString();
}

QJsonArray ProblemsJson(const std::vector<discovery::CameraProblem>& problems)
{
    QJsonArray found;
    for (const discovery::CameraProblem& problem : problems) {
        QJsonArray numbers;
        for (const int number : problem.numbers)
            numbers.append(number);
        found.append(QJsonObject { { "code", discovery::FindingCode(problem.finding) },
            { "text", QString::fromStdString(problem.text) }, { "cameras", numbers } });
    }
    return found;
}

const char* ReasonKey(netcheck::ProbeReason reason)
{
    return kReasonKeys.at(static_cast<std::size_t>(reason));
}

const char* VerdictKey(netcheck::Verdict verdict)
{
    return kVerdictKeys.at(static_cast<std::size_t>(verdict));
}

const char* WarningKey(netcheck::ProbeWarning warning)
{
    return kWarningKeys.at(static_cast<std::size_t>(warning));
}

QJsonObject CheckRowJson(const netcheck::CheckRow& row, std::int32_t language)
{
    const netcheck::ProbeOutcome& outcome = row.outcome;
    const netcheck::Verdict verdict = netcheck::VerdictOf(outcome);
    const char* warning = verdict == netcheck::Verdict::Warn ? WarningKey(outcome.warning) : nullptr;
    QJsonObject check { { "check", Text(row.check) }, { "host", Text(row.host) }, { "port", row.port },
        { "address", Text(outcome.address) }, { "verdict", VerdictKey(verdict) },
        { "passed", outcome.passed }, { "warning", warning ? QJsonValue(warning) : QJsonValue() },
        { "warning_text", Text(netcheck::WarningText(outcome, language)) },
        { "reason", ReasonKey(outcome.reason) },
        { "elapsed_ms", static_cast<qint64>(outcome.elapsed.count()) }, { "detail", Text(outcome.detail) },
        { "description", Text(netcheck::DescribeOutcome(outcome, language)) } };
    if (outcome.certificate)
        check.insert("certificate", CertificateJson(*outcome.certificate));
    if (const auto& ntp = outcome.ntp) {
        check.insert("ntp",
            QJsonObject { { "offset_ms", ntp->offsetMs }, { "stratum", ntp->stratum },
                { "round_trip_ms", ntp->roundTripMs }, { "reference_id", Text(ntp->referenceId) } });
    }
    return check;
}

QJsonObject AdapterRowJson(const netinfo::AdapterRow& row)
{
    return { { "name", Text(row.name) }, { "address", Text(discovery::FormatIpv4(row.address)) },
        { "mask", Text(row.mask) }, { "gateway", Text(row.gateway) }, { "dns_server", Text(row.dnsServer) },
        { "carrier", row.carrier }, { "default_route", row.defaultRoute }, { "searchable", row.searchable } };
}

QJsonObject CameraRowJson(const discovery::ResultRow& row)
{
    const discovery::DeviceRecord& record = row.record;
    return { { "number", row.number }, { "ip", text::Utf8ToWide(record.ip) },
        { "sn", text::Utf8ToWide(record.sn) }, { "mac", text::Utf8ToWide(record.mac) },
        { "device_name", text::Utf8ToWide(record.device_name) }, { "fw", text::Utf8ToWide(record.fw) },
        { "answers", row.answers },
        { "sender",
            row.sender.port == 0 ? QString()
                                 : QString::fromStdString(discovery::FormatEndpoint(row.sender)) },
        { "findings",
            QJsonArray::fromStringList(QString::fromStdString(discovery::FindingCodes(row.findings, ' '))
                                           .split(' ', Qt::SkipEmptyParts)) } };
}

} // namespace quill::report
