// quillscope-cli: Quillscope's checks without a window, for scripted site visits.
#include "AdapterOutput.h"
#include "AdapterRows.h"
#include "CheckOutput.h"
#include "CheckPlan.h"
#include "CommandLine.h"
#include "ExitStatus.h"
#include "ProfileSettings.h"

#include <QCoreApplication>

#include <algorithm>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

namespace {

using namespace quill::cli;

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
    const bool table = invocation.format == OutputFormat::Table;
    const std::vector<CheckRow> rows = quill::netcheck::RunCheckPlan(
        plan, DeviceProbes { .settingsPath = settingsPath }, [&](const CheckRow& row) {
            if (table)
                WriteCheckLine(std::cout, row, language);
        });
    if (!table)
        WriteCheckJson(std::cout, rows, language);
    const bool allPassed
        = std::all_of(rows.begin(), rows.end(), [](const CheckRow& row) { return row.outcome.passed; });
    return allPassed ? kExitPassed : kExitFailed;
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
    if (invocation.command == "check") {
        QCoreApplication application(argc, argv);
        return RunCheck(invocation);
    }
    WriteAdapterRows(std::cout, quill::netinfo::ReadAdapterRows(quill::netinfo::AdapterSources::System()),
        invocation.format);
    return kExitPassed;
}
