// quillscope-cli: Quillscope's checks without a window, for scripted site visits.
#include "AdapterOutput.h"
#include "AdapterRows.h"
#include "CheckOutput.h"
#include "CheckPlan.h"
#include "CheckRun.h"
#include "CommandLine.h"
#include "DiscoverCommand.h"
#include "ExitStatus.h"
#include "Interruption.h"
#include "Logger.h"
#include "ProfileSettings.h"
#include "ReportCommand.h"
#include "SearchChoice.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

using namespace quill::cli;

// Where the program's diagnostic log goes: a file in the user's state folder,
// as the window's when started from the menu, and never the terminal, whose
// output belongs to the command.
quill::log::LogPlace CommandLineLogPlace()
{
    const char* stateHome = std::getenv("XDG_STATE_HOME");
    const char* home = std::getenv("HOME");
    std::filesystem::path folder;
    if (stateHome && std::filesystem::path(stateHome).is_absolute())
        folder = stateHome;
    else if (home && std::filesystem::path(home).is_absolute())
        folder = std::filesystem::path(home) / ".local" / "state";
    std::error_code error;
    if (!folder.empty())
        std::filesystem::create_directories(folder / "quillscope", error);
    const bool toFile = !folder.empty() && !error;
    return { toFile ? folder / "quillscope" : std::filesystem::path(), toFile, false };
}

// The language of --lang, else the window's stored choice.
int LanguageOf(const Invocation& invocation)
{
    if (invocation.language)
        return *invocation.language;
    const std::string stored
        = quill::settings::ReadProfileString("system", "LANG", "0", quill::settings::SettingsPath());
    return std::atoi(stored.c_str());
}

int RunCheck(const Invocation& invocation)
{
    const std::string settingsPath = quill::settings::SettingsPath();
    quill::netcheck::CheckPlan plan = quill::netcheck::PlanChecks(
        { invocation.rcsHost, invocation.cloudHost, invocation.ntpHost }, settingsPath);
    plan.ports = invocation.checkPorts;
    plan.cloud = invocation.checkCloud;
    plan.ntp = invocation.checkNtp;

    const int language = LanguageOf(invocation);
    const OutputFormat format = invocation.format;
    if (format == OutputFormat::Table)
        WriteCheckHeading(std::cout);
    else if (format == OutputFormat::Csv)
        WriteCheckCsv(std::cout, nullptr, language);
    const Interruption interruption;
    const ChecksDone done = RunChecks(
        plan, DeviceProbes { .settingsPath = settingsPath }, interruption, [&](const CheckRow& row) {
            if (format == OutputFormat::Table)
                WriteCheckLine(std::cout, row, language);
            else if (format == OutputFormat::Csv)
                WriteCheckCsv(std::cout, &row, language);
        });
    if (format == OutputFormat::Json)
        WriteCheckJson(std::cout, done.rows, language);
    if (done.interrupted) {
        // Beside a table on stdout; machine output keeps stdout to itself.
        (format == OutputFormat::Table ? std::cout << '\n' : std::cerr)
            << InterruptedChecksText(done, language) << std::endl;
        return kExitInterrupted;
    }
    return CheckExitStatus(done.rows, invocation.strict);
}

// The search of discover and report on this PC's adapters, or the one-line
// reason it cannot be made.
std::variant<SearchChoice, std::string> ChooseSearchHere(const Invocation& invocation)
{
    return ChooseSearch(
        invocation, quill::netinfo::ReadAdapterRows(quill::netinfo::AdapterCollectors::System()));
}

int RefuseLine(const std::string& reason)
{
    std::cerr << "quillscope-cli: " << reason << std::endl;
    return kExitBadUsage;
}

bool ErrIsTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

int RunDiscoverCommand(const Invocation& invocation)
{
    const auto choice = ChooseSearchHere(invocation);
    if (const auto* reason = std::get_if<std::string>(&choice))
        return RefuseLine(*reason);
    const Interruption interruption;
    return RunDiscover(std::get<SearchChoice>(choice), invocation.format, LanguageOf(invocation),
        invocation.strict, interruption, std::cout, std::cerr, ErrIsTerminal());
}

int RunReportCommand(const Invocation& invocation)
{
    auto file = OpenReportFile(invocation.out);
    if (const auto* reason = std::get_if<std::string>(&file))
        return RefuseLine(*reason);
    const auto choice = ChooseSearchHere(invocation);
    if (const auto* reason = std::get_if<std::string>(&choice))
        return RefuseLine(*reason);
    const Interruption interruption;
    return RunReport(invocation, std::get<SearchChoice>(choice), LanguageOf(invocation),
        *std::get<std::unique_ptr<QSaveFile>>(file), interruption, std::cout, std::cerr, ErrIsTerminal());
}

} // namespace

int main(int argc, char** argv)
{
    const ParsedArguments parsed = ParseArguments(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.invocation) {
        (parsed.exitStatus == kExitPassed ? std::cout : std::cerr) << parsed.text << std::endl;
        return parsed.exitStatus;
    }
    const Invocation& invocation = *parsed.invocation;
    Logger::configure(CommandLineLogPlace());
    QCoreApplication application(argc, argv);
    if (invocation.command == "discover")
        return RunDiscoverCommand(invocation);
    if (invocation.command == "report")
        return RunReportCommand(invocation);
    if (invocation.command == "check")
        return RunCheck(invocation);
    WriteAdapterRows(std::cout, quill::netinfo::ReadAdapterRows(quill::netinfo::AdapterCollectors::System()),
        invocation.format);
    return kExitPassed;
}
