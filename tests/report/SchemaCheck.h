#pragma once
// The shipped JSON Schema's verdict on a report file, after a change made in
// Python to it (r): 0 valid, 3 rejected, anything else a fault of the check.
#include <QProcess>

#include <gtest/gtest.h>

#include <filesystem>

namespace quill::test {

inline int ValidateSiteReport(
    const std::filesystem::path& json, const QString& change = QStringLiteral("pass"))
{
    QProcess python;
    python.start("/usr/bin/python3",
        { "-c",
            "import json, sys, jsonschema\n"
            "schema = json.load(open(sys.argv[1])); r = json.load(open(sys.argv[2]))\n"
            "exec(sys.argv[3])\n"
            "jsonschema.Draft202012Validator.check_schema(schema)\n"
            "try: jsonschema.Draft202012Validator(schema).validate(r)\n"
            "except jsonschema.ValidationError as e: print(e.message, file=sys.stderr); sys.exit(3)",
            QUILL_SITE_REPORT_SCHEMA, QString::fromStdString(json.string()), change });
    EXPECT_TRUE(python.waitForFinished(30'000));
    EXPECT_EQ(python.exitStatus(), QProcess::NormalExit) << python.readAllStandardError().toStdString();
    return python.exitCode();
}

} // namespace quill::test
