#pragma once
// Runs quillscope-cli as a user does, in a fresh working directory of its own,
// optionally behind a prefix such as "ip netns exec HOST".
#include "TempDir.h"

#include <QProcess>

#include <gtest/gtest.h>

#include <string>

namespace quill::test {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

inline CliRun RunCli(QStringList arguments, QStringList prefix = {})
{
    TempDir workingDir;
    QProcess process;
    process.setWorkingDirectory(QString::fromStdString(workingDir.path().string()));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_STATE_HOME", QString::fromStdString(workingDir.path().string()));
    process.setProcessEnvironment(environment);
    QString program = QStringLiteral(QUILLSCOPE_CLI);
    if (!prefix.isEmpty()) {
        arguments.prepend(program);
        arguments = prefix.mid(1) + arguments;
        program = prefix.front();
    }
    process.start(program, arguments);
    if (!process.waitForFinished(20000))
        return {};
    return { process.exitCode(), process.readAllStandardOutput().toStdString(),
        process.readAllStandardError().toStdString() };
}

} // namespace quill::test
