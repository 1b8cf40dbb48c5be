#pragma once
// Runs quillscope-cli as a user does, in a fresh working directory of its own,
// optionally behind a prefix such as "ip netns exec HOST".
#include "TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace quill::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

// A run started and not yet waited for, so that several can run at once.
struct PendingCli {
    TempDir workingDir;
    QProcess process;
    CliRun Wait()
    {
        if (!process.waitForFinished(20000))
            return {};
        return { process.exitCode(), process.readAllStandardOutput().toStdString(),
            process.readAllStandardError().toStdString() };
    }
};

inline std::unique_ptr<PendingCli> StartCli(QStringList arguments, QStringList prefix = {})
{
    auto run = std::make_unique<PendingCli>();
    QProcess& process = run->process;
    process.setWorkingDirectory(QString::fromStdString(run->workingDir.path().string()));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_STATE_HOME", QString::fromStdString(run->workingDir.path().string()));
    process.setProcessEnvironment(environment);
    QString program = QStringLiteral(QUILLSCOPE_CLI);
    if (!prefix.isEmpty()) {
        arguments.prepend(program);
        arguments = prefix.mid(1) + arguments;
        program = prefix.front();
    }
    process.start(program, arguments);
    return run;
}

inline CliRun RunCli(QStringList arguments, QStringList prefix = {})
{
    return StartCli(std::move(arguments), std::move(prefix))->Wait();
}

} // namespace quill::test
