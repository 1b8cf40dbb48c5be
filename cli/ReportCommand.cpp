#include "ReportCommand.h"

#include "CheckPlan.h"
#include "CheckRun.h"
#include "DiscoverCommand.h"
#include "ExitStatus.h"
#include "ProfileSettings.h"
#include "SiteReportFile.h"
#include "ThisPc.h"

#include <QDateTime>

#include <algorithm>

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

int RunReport(const Invocation& invocation, const discovery::SearchPlan& search,
    const std::optional<netinfo::AdapterRow>& adapter, int language, QSaveFile& file,
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
    const discovery::SearchResult found
        = SearchShowingProgress(search, language, progress, [](const auto&) {});
    if (Interruption::Requested()) {
        progress.Clear();
        return interrupted();
    }

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
    const report::SiteReport site { QDateTime::currentDateTime(), pc.name, pc.os, language, adapter,
        search.range.begin, search.range.end, found.cameras, discovery::SummaryText(found, language),
        checks };
    if (const std::string error = report::CommitSiteReport(file, site); !error.empty()) {
        err << "quillscope-cli: " << invocation.out << " could not be written: " << error << std::endl;
        return kExitFailed;
    }

    const auto passed
        = std::count_if(checks.begin(), checks.end(), [](const auto& row) { return row.outcome.passed; });
    out << "Site report written to " << invocation.out << ": " << found.cameras.size() << " camera"
        << (found.cameras.size() == 1 ? "" : "s") << ", " << passed << " of " << checks.size()
        << " checks passed" << std::endl;
    if (found.listener.error == discovery::ListenerStart::Error::PortConflict) {
        err << "quillscope-cli: " << site.discoverySummary << std::endl;
        return kExitPortInUse;
    }
    const bool allPassed = passed == static_cast<std::ptrdiff_t>(checks.size());
    return allPassed && !found.cameras.empty() ? kExitPassed : kExitFailed;
}

} // namespace quill::cli
