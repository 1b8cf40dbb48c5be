// `quillscope-cli check` against real servers on the product's ports, in the
// test's own network namespace (loopback only): verdicts, reasons, times,
// certificate and clock facts, the exit status, and Ctrl-C.
#include "CliRun.h"
#include "NetServers.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>

namespace quill::test {
namespace {

    using namespace quill::netcheck::test;

    TEST(CheckCommand, GivesEachProbesVerdictReasonAndFacts)
    {
        if (const std::string reason = WhyNotPrivateNetwork(); !reason.empty())
            GTEST_SKIP() << "the product's ports must be free and only loopback up: " << reason;
        TcpListener port80 { 16, "127.0.0.1", 80 }, port30003 { 16, "127.0.0.1", 30003 };
        TcpListener full { 0, "127.0.0.1", 30002 }; // 30001: nobody listens
        Poco::Net::StreamSocket queued(Poco::Net::SocketAddress("127.0.0.1", 30002));
        TlsServer cloud { .listenPort = 5672 }; // 443: nobody listens
        SntpServer time { .listenPort = 123 };

        const CliRun run = RunCli({ "check", "--rcs", "127.0.0.1", "--cloud", "127.0.0.1", "--ntp",
            "127.0.0.1", "--format", "json" });
        EXPECT_EQ(run.status, 1) << "a blocked port fails the check";
        const QJsonObject document = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
        EXPECT_EQ(document["schema_version"].toInt(), 1);
        const QJsonArray checks = document["checks"].toArray();
        const struct {
            const char* check;
            int port;
            bool passed;
            const char* reason;
        } expected[] = {
            { "port", 80, true, "connected" },
            { "port", 30001, true, "refused" },
            { "port", 30002, false, "no_answer" },
            { "port", 30003, true, "connected" },
            { "cloud", 5672, true, "tls_completed" },
            { "cloud", 443, true, "refused" },
            { "ntp", 123, true, "ntp_reply" },
        };
        ASSERT_EQ(checks.size(), std::ssize(expected)) << run.out;
        for (qsizetype i = 0; i < checks.size(); ++i) {
            const QJsonObject check = checks[i].toObject();
            SCOPED_TRACE(check["port"].toInt());
            EXPECT_EQ(check["check"].toString(), expected[i].check);
            EXPECT_EQ(check["port"].toInt(), expected[i].port);
            EXPECT_EQ(check["passed"].toBool(), expected[i].passed);
            EXPECT_EQ(check["reason"].toString(), expected[i].reason);
            EXPECT_TRUE(check["elapsed_ms"].isDouble());
        }
        EXPECT_GE(checks[2].toObject()["elapsed_ms"].toInt(), 800) << "a blocked port waits out its time-out";
        const QJsonObject certificate = checks[4].toObject()["certificate"].toObject();
        EXPECT_TRUE(certificate["self_signed"].toBool());
        EXPECT_FALSE(certificate["host_matches"].toBool()) << "issued for localhost, asked as 127.0.0.1";
        EXPECT_EQ(certificate["alternative_names"].toArray().first().toString(), "localhost");
        EXPECT_EQ(checks[6].toObject()["ntp"].toObject()["stratum"].toInt(), 15);

        const CliRun table = RunCli({ "--lang", "zh-TW", "check", "--only", "ntp", "--ntp", "127.0.0.1" });
        EXPECT_EQ(table.status, 0) << "everything asked for passed";
        EXPECT_NE(table.out.find("127.0.0.1:123"), std::string::npos) << table.out;
        EXPECT_NE(table.out.find("PASS  已取得時間"), std::string::npos) << table.out;
    }

    TEST(CheckCommand, CtrlCKeepsTheChecksThatEndedAndAddsTheSummaryWithStatus130)
    {
        if (const std::string reason = WhyNotPrivateNetwork(); !reason.empty())
            GTEST_SKIP() << "the product's ports must be free and only loopback up: " << reason;
        SntpServer silent { .responder = [](const Datagram&) { return std::vector<Datagram> {}; },
            .listenPort = 123 };
        TempDir dir;
        QProcess cli;
        cli.setWorkingDirectory(QString::fromStdString(dir.path().string()));
        cli.start(
            QUILLSCOPE_CLI, { "check", "--rcs", "127.0.0.1", "--cloud", "127.0.0.1", "--ntp", "127.0.0.1" });
        std::string out;
        // Every port is refused at once; the time server keeps the check waiting.
        while (std::count(out.begin(), out.end(), '\n') < 6 && cli.waitForReadyRead(10000))
            out += cli.readAllStandardOutput().toStdString();
        ASSERT_EQ(std::count(out.begin(), out.end(), '\n'), 6) << out;
        ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
        ASSERT_TRUE(cli.waitForFinished(5000));
        out += cli.readAllStandardOutput().toStdString();
        EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(cli.exitCode(), 130);
        EXPECT_TRUE(out.ends_with("\nInterrupted: 6 of 7 checks ended, 6 passed\n")) << out;
        EXPECT_EQ(out.find("127.0.0.1:123"), std::string::npos) << out;
    }

} // namespace
} // namespace quill::test
