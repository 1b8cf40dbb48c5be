#include "CheckOutput.h"

#include "OutcomeText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <array>

namespace quill::cli {

namespace {

    // Stable names of the reasons, indexed by netcheck::ProbeReason.
    constexpr std::array<const char*, 13> kReasonKeys { "connected", "refused", "no_answer", "name_not_found",
        "name_lookup_timed_out", "network_unreachable", "tls_completed", "tls_failed", "request_not_sent",
        "ntp_reply", "not_a_host", "other_error", "cancelled" };

    QString Text(const std::string& text)
    {
        return QString::fromStdString(text);
    }

    // The outcome's description on one line.
    std::string OneLine(const netcheck::ProbeOutcome& outcome, std::int32_t language)
    {
        std::string text = netcheck::DescribeOutcome(outcome, language);
        for (std::size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at))
            text.replace(at, 1, "; ");
        return text;
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
            { "not_yet_valid", certificate.notYetValid } };
    }

} // namespace

void WriteCheckLine(std::ostream& out, const CheckRow& row, std::int32_t language)
{
    std::string target = row.host + ":" + std::to_string(row.port);
    target.resize(std::max<std::size_t>(target.size(), 28), ' ');
    std::string check = row.check;
    check.resize(6, ' ');
    out << check << target << ' ' << (row.outcome.passed ? "PASS" : "FAIL") << "  "
        << OneLine(row.outcome, language) << std::endl;
}

void WriteCheckJson(std::ostream& out, const std::vector<CheckRow>& rows, std::int32_t language)
{
    QJsonArray checks;
    for (const CheckRow& row : rows) {
        const netcheck::ProbeOutcome& outcome = row.outcome;
        QJsonObject check { { "check", Text(row.check) }, { "host", Text(row.host) }, { "port", row.port },
            { "passed", outcome.passed },
            { "reason", kReasonKeys.at(static_cast<std::size_t>(outcome.reason)) },
            { "elapsed_ms", static_cast<qint64>(outcome.elapsed.count()) },
            { "detail", Text(outcome.detail) },
            { "description", Text(netcheck::DescribeOutcome(outcome, language)) } };
        if (outcome.certificate)
            check.insert("certificate", CertificateJson(*outcome.certificate));
        if (const auto& ntp = outcome.ntp) {
            check.insert("ntp",
                QJsonObject { { "offset_ms", ntp->offsetMs }, { "stratum", ntp->stratum },
                    { "round_trip_ms", ntp->roundTripMs }, { "reference_id", Text(ntp->referenceId) } });
        }
        checks.append(check);
    }
    const QJsonObject document { { "schema_version", 1 }, { "checks", checks } };
    out << QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace quill::cli
