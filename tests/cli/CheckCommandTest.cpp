// `quillscope-cli check` against real servers: on the product's ports on
// loopback, and on networks staged in namespaces made here. Verdicts,
// warnings, reasons, addresses, the table's order, the exit status and Ctrl-C.
#include "CliRun.h"
#include "NetServers.h"
#include "TestNetwork.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <csignal>
#include <thread>

namespace quill::test {
namespace {

    using namespace quill::netcheck::test;

    QJsonArray Checks(const CliRun& run)
    {
        return QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object()["checks"].toArray();
    }

    // What one row must say: verdict, reason, warning ("" for none) and the
    // address used.
    struct Expect {
        const char *verdict, *reason, *warning, *address;
    };

    void ExpectRows(const CliRun& run, const std::vector<Expect>& expected)
    {
        const QJsonArray checks = Checks(run);
        ASSERT_EQ(checks.size(), std::ssize(expected)) << run.out << run.err;
        for (qsizetype i = 0; i < checks.size(); ++i) {
            const QJsonObject check = checks[i].toObject();
            const Expect& e = expected[static_cast<std::size_t>(i)];
            SCOPED_TRACE(
                check["host"].toString().toStdString() + ":" + std::to_string(check["port"].toInt()));
            EXPECT_EQ(check["verdict"].toString(), e.verdict)
                << check["description"].toString().toStdString();
            EXPECT_EQ(check["reason"].toString(), e.reason) << check["detail"].toString().toStdString();
            EXPECT_EQ(check["warning"].toString(), e.warning);
            EXPECT_EQ(check["warning"].isNull(), *e.warning == '\0');
            EXPECT_EQ(check["warning_text"].toString().isEmpty(), *e.warning == '\0');
            EXPECT_EQ(check["address"].toString(), e.address);
            EXPECT_EQ(check["passed"].toBool(), std::string(e.verdict) != "fail");
        }
    }

    TEST(CheckCommand, GivesEachProbesVerdictInRowOrderAndFailsOnWarningsOnlyWhenStrict)
    {
        if (const std::string reason = WhyNotPrivateNetwork(); !reason.empty())
            GTEST_SKIP() << "the product's ports must be free and only loopback up: " << reason;
        TcpListener port80 { 16, "127.0.0.1", 80 }, port30003 { 16, "127.0.0.1", 30003 };
        TcpListener full { 0, "127.0.0.1", 30002 }; // 30001: nobody listens
        Poco::Net::StreamSocket queued(Poco::Net::SocketAddress("127.0.0.1", 30002));
        TlsServer cloud { .listenPort = 5672 }; // 443: nobody listens
        SntpServer time { .listenPort = 123 };

        const QStringList hosts { "--rcs", "127.0.0.1", "--cloud", "127.0.0.1", "--ntp", "127.0.0.1" };
        const CliRun run = RunCli(QStringList { "check", "--format", "json" } + hosts);
        EXPECT_EQ(run.status, 1) << "a blocked port fails the check";
        EXPECT_EQ(QJsonDocument::fromJson(QByteArray::fromStdString(run.out))["schema_version"].toInt(), 2);
        const char* lo = "127.0.0.1";
        ExpectRows(run,
            { { "pass", "connected", "", lo }, { "warn", "refused", "refused", lo },
                { "fail", "no_answer", "", lo }, { "pass", "connected", "", lo },
                { "warn", "tls_completed", "certificate", lo }, { "warn", "refused", "refused", lo },
                { "pass", "ntp_reply", "", lo } });
        const QJsonArray checks = Checks(run);
        const QJsonObject certificate = checks[4].toObject()["certificate"].toObject();
        EXPECT_EQ(std::tuple(certificate["self_signed"].toBool(), certificate["host_matches"].toBool(),
                      certificate["trusted"].toBool()),
            std::tuple(true, false, false));
        EXPECT_EQ(checks[6].toObject()["ntp"].toObject()["stratum"].toInt(), 15);

        // The time server answers at once, yet its row waits for the blocked port above it.
        const CliRun table = RunCli(QStringList { "check" } + hosts);
        std::vector<std::string> lines;
        for (std::size_t at = 0, end; (end = table.out.find('\n', at)) != std::string::npos; at = end + 1)
            lines.push_back(table.out.substr(at, end - at));
        ASSERT_EQ(lines.size(), 8u) << table.out;
        EXPECT_TRUE(lines[0].starts_with("CHECK ")) << lines[0];
        const char* order[] { ":80 ", ":30001 ", ":30002 ", ":30003 ", ":5672 ", ":443 ", ":123 " };
        for (std::size_t i = 0; i < std::size(order); ++i)
            EXPECT_NE(lines[i + 1].find(order[i]), std::string::npos) << lines[i + 1];
        EXPECT_NE(lines[2].find(" WARN "), std::string::npos) << lines[2];

        const QStringList warningsOnly { "check", "--only", "cloud,ntp", "--cloud", lo, "--ntp", lo };
        EXPECT_EQ(RunCli(warningsOnly).status, 0) << "warnings alone pass";
        EXPECT_EQ(RunCli(warningsOnly + QStringList { "--strict" }).status, 1);
        const CliRun chinese = RunCli({ "--lang", "zh-TW", "check", "--only", "ntp", "--ntp", lo });
        EXPECT_NE(chinese.out.find("PASS    已取得時間"), std::string::npos) << chinese.out;
    }

    // A reply from the time server, spoilt or shifted.
    std::function<std::vector<Datagram>(const Datagram&)> TimeReply(int first, int stratum, double ahead = 0)
    {
        return [=](const Datagram& request) {
            auto replies = AnswerValid(request);
            sntp::WriteTimestamp(replies[0], sntp::kReceiveOffset, NtpStampNow(ahead));
            sntp::WriteTimestamp(replies[0], sntp::kTransmitOffset, NtpStampNow(ahead));
            replies[0][0] = std::uint8_t(first);
            replies[0][sntp::kStratumOffset] = std::uint8_t(stratum);
            std::copy_n("RATE", 4, replies[0].begin() + sntp::kReferenceIdOffset);
            return replies;
        };
    }

    // What the servers of the staged network do, each at an address of its own.
    struct Servers {
        TcpListener web { 16, "198.18.0.3", 80 }, silentTls { 16, "198.18.0.3", 443 },
            twoNamesWeb { 16, "198.18.0.70", 80 };
        TlsServer alert { nullptr, "\x15\x03\x03\x00\x02\x02\x28", "198.18.0.3", 5672 },
            notTls { nullptr, "HTTP/1.0 400 Bad\r\n\r\n", "198.18.0.4", 5672 },
            selfSigned { ServerContext("IP:198.18.0.4", -1, 30), {}, "198.18.0.4", 443 };
        SntpServer leap3 { TimeReply(0xE4, 2), "198.18.0.3", false, 123 },
            kissOfDeath { TimeReply(0xE4, 0), "198.18.0.4", false, 123 },
            hourAhead { TimeReply(0x24, 2, 3600), "198.18.0.5", false, 123 },
            twoNamesTime { TimeReply(0x24, 2), "198.18.0.70", false, 123 };
    };

    // Each row of the table is one run of the command line, all at once: the
    // PC (198.18.0.1) has routes of each type and a firewall on its output;
    // the server side holds 198.18.0.3 to .6 and .70, none holds .2 or .99.
    // The last run is a child with its own hosts file, name service switch
    // and a name server it has no route to.
    TEST(CheckCommand, VerdictsFollowWhatTheNetworkDid)
    {
        if (const std::string why = TestNetwork::UnavailableReason(); !why.empty())
            GTEST_SKIP() << why;
        TestNetwork net;
        const std::string pc = net.addHost("pc"), server = net.addHost("srv");
        const auto [pcEnd, serverEnd] = net.link(pc, server);
        net.addAddress(pc, pcEnd, "198.18.0.1/24");
        for (const char* host : { "3", "4", "5", "6", "70" })
            net.addAddress(server, serverEnd, std::string("198.18.0.") + host + "/24");
        for (const char* route :
            { "unreachable 198.19.1.0/24", "prohibit 198.19.2.0/24", "blackhole 198.19.3.0/24" })
            net.ip(pc, std::string("route add ") + route);
        const TempDir dir;
        WriteWholeFile(dir.file("rules.nft"),
            "table ip quilltest { chain out { type filter hook output priority 0; policy accept;\n"
            "ip daddr 198.18.0.3 tcp dport 30002 drop\n"
            "ip daddr 198.18.0.3 tcp dport 30003 reject with icmp type admin-prohibited\n}\n}\n");
        ASSERT_EQ(RunCommand(TestNetwork::execPrefix(pc) + "nft -f " + dir.file("rules.nft").string()), 0);
        WriteWholeFile(dir.file("hosts"), "198.18.0.70 two.test\n198.18.0.2 two.test\n");
        WriteWholeFile(dir.file("nsswitch.conf"), "hosts: files dns\n");
        WriteWholeFile(dir.file("resolv.conf"), "nameserver 203.0.113.53\noptions timeout:1 attempts:1\n");
        std::unique_ptr<Servers> servers;
        std::thread([&] {
            net.enter(server);
            servers = std::make_unique<Servers>();
        }).join();

        const QStringList inPc { "ip", "netns", "exec", QString::fromStdString(pc) };
        const QString mounts = QString::fromStdString("mount --bind " + dir.file("hosts").string()
            + " /etc/hosts && mount --bind " + dir.file("nsswitch.conf").string()
            + " /etc/nsswitch.conf && mount --bind " + dir.file("resolv.conf").string()
            + " /etc/resolv.conf && exec \"$@\"");
        const auto ports = [](Expect e) { return std::vector<Expect>(4, e); };
        const auto plus = [](std::vector<Expect> rows, std::initializer_list<Expect> more) {
            rows.insert(rows.end(), more);
            return rows;
        };
        const char *a3 = "198.18.0.3", *a4 = "198.18.0.4", *a70 = "198.18.0.70";
        const struct {
            std::vector<const char*> hosts; // --rcs, --cloud, --ntp
            std::vector<Expect> rows;
            bool ownHostsFile = false;
        } table[] = {
            { { a3, a3, a3 },
                { { "pass", "connected", "", a3 }, { "warn", "refused", "refused", a3 },
                    { "fail", "no_answer", "", a3 }, { "fail", "host_unreachable", "", a3 },
                    { "warn", "tls_not_completed", "tls_not_completed", a3 },
                    { "fail", "no_tls_answer", "", a3 }, { "fail", "ntp_unsynchronised", "", a3 } } },
            { { "198.19.1.1", a4, a4 },
                plus(ports({ "fail", "host_unreachable", "", "198.19.1.1" }),
                    { { "warn", "tls_not_completed", "tls_not_completed", a4 },
                        { "warn", "tls_completed", "certificate", a4 },
                        { "fail", "ntp_kiss_of_death", "", a4 } }) },
            { { "198.19.2.1", "198.19.3.1", "198.18.0.5" },
                plus(ports({ "fail", "blocked_locally", "", "198.19.2.1" }),
                    { { "fail", "blocked_locally", "", "198.19.3.1" },
                        { "fail", "blocked_locally", "", "198.19.3.1" },
                        { "warn", "ntp_reply", "clock_offset", "198.18.0.5" } }) },
            { { "203.0.113.1", "198.18.0.99", "198.18.0.6" },
                plus(ports({ "fail", "no_route", "", "203.0.113.1" }),
                    { { "fail", "host_unreachable", "", "198.18.0.99" },
                        { "fail", "host_unreachable", "", "198.18.0.99" },
                        { "fail", "refused", "", "198.18.0.6" } }) },
            { { "two.test", "nowhere.test", "two.test" },
                { { "pass", "connected", "", a70 }, { "warn", "refused", "refused", a70 },
                    { "warn", "refused", "refused", a70 }, { "warn", "refused", "refused", a70 },
                    { "fail", "name_lookup_failed", "", "" }, { "fail", "name_lookup_failed", "", "" },
                    { "pass", "ntp_reply", "", a70 } },
                true },
            { { "", a3, a3 }, ports({ "fail", "no_host", "", "" }) },
        };
        std::vector<std::unique_ptr<PendingCli>> runs;
        for (const auto& row : table) {
            QStringList arguments { "check", "--format", "json", "--rcs", row.hosts[0], "--cloud",
                row.hosts[1], "--ntp", row.hosts[2] };
            if (row.rows.size() == 4)
                arguments << "--only"
                          << "ports";
            runs.push_back(StartCli(arguments,
                row.ownHostsFile ? inPc + QStringList { "unshare", "-m", "sh", "-c", mounts, "sh" } : inPc));
        }
        std::vector<CliRun> results;
        for (std::size_t i = 0; i < std::size(table); ++i) {
            SCOPED_TRACE(table[i].hosts[0]);
            results.push_back(runs[i]->Wait());
            ExpectRows(results.back(), table[i].rows);
            EXPECT_EQ(results.back().status, 1);
        }
        const QString clock = Checks(results[2])[6].toObject()["warning_text"].toString();
        EXPECT_TRUE(clock.startsWith("This PC's clock is 60 min behind")) << clock.toStdString();
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
        // The heading, then every port refused at once; the time server keeps the check waiting.
        while (std::count(out.begin(), out.end(), '\n') < 7 && cli.waitForReadyRead(10000))
            out += cli.readAllStandardOutput().toStdString();
        ASSERT_EQ(std::count(out.begin(), out.end(), '\n'), 7) << out;
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
