#include "ReportCommand.h"

#include "CheckOutput.h"
#include "CheckPlan.h"
#include "CheckRun.h"
#include "CheckSummary.h"
#include "DiscoverCommand.h"
#include "ExitStatus.h"
#include "ProfileSettings.h"
#include "SiteReportFile.h"
#include "ThisPc.h"

#include <QDateTime>

namespace quill::cli {

std::variant<std::unique_ptr<QSaveFile>, std::string> OpenReportFile(const std::string& path)
{
    const QString name = QString::fromStdString(path);
    if (!report::IsHtmlReportName(name) && !name.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive))
        return "--out \"" + path + "\" must end in .html or .json";
    auto file = std::make_unique<QSaveFile>(name);
    if (!file->open(QIODevice::WriteOnly))
        return "--out \"" + path + "\" cannot be written: " + file->errorString().toStdString();
    return file;
}

int RunReport(const Invocation& invocation, const SearchChoice& search, int language, QSaveFile& file,
    const Interruption& interruption, std::ostream& out, std::ostream& err, bool errIsTerminal)
{
    const auto interrupted = [&] {
        // The file is replaced only by a complete report: the half-written
        // copy goes with the save file.
        file.cancelWriting();
        err << "quillscope-cli: interrupted; " << invocation.out << " was not written" << std::endl;
        return kExitInterrupted;
    };
    ProgressLine progress(err, errIsTerminal);
    discovery::DiscoveryEngine engine;
    const discovery::ListenerStart listener
        = SearchShowingProgress(engine, search, language, progress, interruption, [](const auto&) {});
    if (Interruption::Requested())
        return interrupted();
    const std::vector<discovery::ResultRow>& cameras = engine.Cameras();

    const std::string settingsPath = settings::SettingsPath();
    const netcheck::CheckPlan plan = netcheck::PlanChecks(
        { invocation.rcsHost, invocation.cloudHost, invocation.ntpHost }, settingsPath);
    progress.Show("Checking the network…");
    const ChecksDone done
        = RunChecks(plan, DeviceProbes { .settingsPath = settingsPath }, interruption, [](const auto&) {});
    progress.Clear();
    if (done.interrupted)
        return interrupted();
    const std::vector<netcheck::CheckRow>& checks = done.rows;

    const report::PcIdentity pc = report::ThisPc();
    const report::SiteReport site { QDateTime::currentDateTime(), pc.name, pc.os, language, search.adapter,
        search.target.range.begin, search.target.range.end, cameras, engine.StatusText(language), checks,
        engine.Problems(language) };
    if (const std::string error = report::CommitSiteReport(file, site); !error.empty()) {
        err << "quillscope-cli: " << invocation.out << " could not be written: " << error << std::endl;
        return kExitFailed;
    }

    out << "Site report written to " << invocation.out << ": " << cameras.size() << " camera"
        << (cameras.size() == 1 ? "" : "s")
        << "; checks: " << report::VerdictSummary(report::CountVerdicts(checks)) << std::endl;
    if (listener.error == discovery::ListenerStart::Error::PortConflict) {
        err << "quillscope-cli: " << site.discoverySummary << std::endl;
        return kExitPortInUse;
    }
    const bool findingsFail = invocation.strict && engine.CamerasWithProblems() > 0;
    return CheckExitStatus(checks, invocation.strict) == kExitPassed && !cameras.empty() && !findingsFail
        ? kExitPassed
        : kExitFailed;
}

} // namespace quill::cli
