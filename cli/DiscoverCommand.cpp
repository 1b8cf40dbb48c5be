#include "DiscoverCommand.h"

#include "ExitStatus.h"
#include "RowJson.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace quill::cli {

namespace {

    // Stable names of the causes, indexed by discovery::NoAnswerCause.
    constexpr std::array<const char*, 6> kCauseKeys { "listener_down", "nothing_sent", "off_network",
        "no_carrier", "only_arp", "nobody_there" };

    void WriteDiscoverJson(std::ostream& out, const discovery::SearchPlan& plan,
        const discovery::SearchResult& result, const std::string& summary)
    {
        QJsonArray cameras;
        for (const discovery::ResultRow& row : result.cameras)
            cameras.append(report::CameraRowJson(row));
        const QJsonValue cause = result.diagnosis
            ? QJsonValue(kCauseKeys[static_cast<std::size_t>(result.diagnosis->first)])
            : QJsonValue(QJsonValue::Null);
        const QJsonObject document { { "schema_version", 1 },
            { "range", QString::fromStdString(discovery::FormatRange(plan.range)) },
            { "queries_sent", result.sweep.sent() }, { "queries_failed", result.sweep.failed },
            { "cameras", cameras }, { "summary", QString::fromStdString(summary) },
            { "no_answer_cause", cause } };
        out << QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString() << std::flush;
    }

} // namespace

discovery::SearchResult SearchShowingProgress(const discovery::SearchPlan& plan, int language,
    ProgressLine& progress, const std::function<void(const discovery::ResultRow&)>& onCamera)
{
    discovery::SearchResult result = discovery::RunSearch(
        plan,
        [&](const discovery::ResultRow& row) {
            progress.Clear();
            onCamera(row);
        },
        [&](int cameras) {
            progress.Show(discovery::SearchingText(language, plan.range.begin, plan.range.end, cameras));
        });
    progress.Clear();
    return result;
}

int RunDiscover(const discovery::SearchPlan& plan, OutputFormat format, int language, std::ostream& out,
    std::ostream& err, bool errIsTerminal)
{
    ProgressLine progress(err, errIsTerminal);
    CameraRows rows(out, format);
    // The heading waits until the port is ours: a refused start prints one line only.
    bool headed = false;
    const discovery::SearchResult result
        = SearchShowingProgress(plan, language, progress, [&](const auto& row) {
              if (!std::exchange(headed, true))
                  rows.Heading();
              rows.Row(row);
          });
    using Error = discovery::ListenerStart::Error;
    const std::string summary = discovery::SummaryText(result, language);
    if (result.listener.error == Error::PortConflict) {
        err << "quillscope-cli: " << summary << std::endl;
        return kExitPortInUse;
    }
    if (result.listener.error == Error::Failed) {
        err << "quillscope-cli: the discovery port cannot be used: " << result.listener.what << std::endl;
        return kExitFailed;
    }
    if (format == OutputFormat::Json) {
        WriteDiscoverJson(out, plan, result, summary);
    } else {
        if (!headed)
            rows.Heading();
        (format == OutputFormat::Table ? out << '\n' : err) << summary << std::endl;
    }
    return result.cameras.empty() ? kExitFailed : kExitPassed;
}

} // namespace quill::cli
