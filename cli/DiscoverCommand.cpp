#include "DiscoverCommand.h"

#include "CheckRun.h"
#include "ExitStatus.h"
#include "RowJson.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTimer>

namespace quill::cli {

namespace {

    // Stable names of the causes, indexed by discovery::NoAnswerCause.
    constexpr std::array<const char*, 6> kCauseKeys { "listener_down", "nothing_sent", "off_network",
        "no_carrier", "only_arp", "nobody_there" };

    void WriteDiscoverJson(
        std::ostream& out, const discovery::DiscoveryEngine& engine, const std::string& summary, int language)
    {
        QJsonArray cameras;
        for (const discovery::ResultRow& row : engine.Cameras())
            cameras.append(report::CameraRowJson(row));
        const auto& diagnosis = engine.Diagnosis();
        const QJsonValue cause = diagnosis
            ? QJsonValue(kCauseKeys[static_cast<std::size_t>(diagnosis->first)])
            : QJsonValue(QJsonValue::Null);
        const discovery::SweepOutcome sweep = engine.LastSweep().value_or(discovery::SweepOutcome {});
        const QJsonObject document { { "schema_version", report::kSchemaVersion },
            { "range", QString::fromStdString(discovery::FormatRange(engine.Target().range)) },
            { "queries_sent", sweep.sent() }, { "queries_failed", sweep.failed }, { "cameras", cameras },
            { "answers_ignored", static_cast<qint64>(engine.IgnoredAnswers()) },
            { "findings", report::ProblemsJson(engine.Problems(language)) },
            { "summary", QString::fromStdString(summary) }, { "no_answer_cause", cause } };
        out << report::JsonDocumentText(document) << std::flush;
    }

} // namespace

discovery::ListenerStart SearchShowingProgress(discovery::DiscoveryEngine& engine, const SearchChoice& search,
    int language, ProgressLine& progress, const Interruption& interruption,
    const std::function<void(const discovery::ResultRow&)>& onCamera)
{
    const discovery::ListenerStart start = engine.StartListening();
    if (!start.started() || Interruption::Requested())
        return start;
    QEventLoop loop;
    QObject::connect(&interruption, &Interruption::Interrupted, &loop, &QEventLoop::quit);
    QObject::connect(&engine, &discovery::DiscoveryEngine::CameraAdded, &loop, [&](int index) {
        progress.Clear();
        onCamera(engine.Cameras()[static_cast<std::size_t>(index)]);
    });
    QObject::connect(&engine, &discovery::DiscoveryEngine::Settled, &loop, &QEventLoop::quit);
    QTimer shown;
    QObject::connect(&shown, &QTimer::timeout, &loop, [&] {
        progress.Show(discovery::SearchingText(language, search.target.range.begin, search.target.range.end,
            static_cast<int>(engine.Cameras().size())));
    });
    shown.start(200);
    engine.Search(search.target, search.wait);
    loop.exec();
    engine.StopListening();
    progress.Clear();
    return start;
}

int RunDiscover(const SearchChoice& search, OutputFormat format, int language, bool strict,
    const Interruption& interruption, std::ostream& out, std::ostream& err, bool errIsTerminal)
{
    ProgressLine progress(err, errIsTerminal);
    CameraRows rows(out);
    discovery::DiscoveryEngine engine;
    // The table streams; its heading waits until the port is ours, so that a
    // refused start prints one line only. CSV and JSON wait for the findings.
    bool headed = false;
    const discovery::ListenerStart start
        = SearchShowingProgress(engine, search, language, progress, interruption, [&](const auto& row) {
              if (format != OutputFormat::Table)
                  return;
              if (!std::exchange(headed, true))
                  rows.Heading();
              rows.Row(row);
          });
    using Error = discovery::ListenerStart::Error;
    const bool interrupted = Interruption::Requested();
    // Interrupted, the search has not settled: what it found so far.
    const std::string summary = interrupted ? InterruptedText(language)
            + discovery::OutcomeText(language, static_cast<int>(engine.Cameras().size()),
                engine.LastSweep() ? &*engine.LastSweep() : nullptr)
                                            : engine.StatusText(language);
    if (start.error == Error::PortConflict) {
        err << "quillscope-cli: " << summary << std::endl;
        return kExitPortInUse;
    }
    if (start.error == Error::Failed) {
        err << "quillscope-cli: the discovery port cannot be used: " << start.what << std::endl;
        return kExitFailed;
    }
    if (format == OutputFormat::Json) {
        WriteDiscoverJson(out, engine, summary, language);
    } else if (format == OutputFormat::Csv) {
        out << discovery::ResultTableText(engine.Cameras(), ',') << std::flush;
        err << summary << std::endl;
    } else {
        if (!headed)
            rows.Heading();
        out << '\n' << summary << std::endl;
        for (const discovery::CameraProblem& problem : engine.Problems(language))
            out << "! " << TerminalText(problem.text) << std::endl;
    }
    if (interrupted)
        return kExitInterrupted;
    if (engine.Cameras().empty() || (strict && engine.CamerasWithProblems() > 0))
        return kExitFailed;
    return kExitPassed;
}

} // namespace quill::cli
