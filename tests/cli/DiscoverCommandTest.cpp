// `quillscope-cli discover` end to end: the command in a "PC" namespace, the
// camera simulator answering from 20 addresses of 198.18.0.0/24 in another,
// with five silent hosts beside them.
#include "CliRun.h"
#include "NetServers.h"
#include "SchemaCheck.h"
#include "TestNetwork.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <thread>

#include <csignal>

#include <sys/socket.h>

namespace quill::test {
namespace {

    struct DiscoverCommand : ::testing::Test {
        void SetUp() override
        {
            if (const std::string reason = TestNetwork::UnavailableReason(); !reason.empty())
                GTEST_SKIP() << "discover end to end needs network namespaces: " << reason;
            pc = network.addHost("dpc");
            cameras = network.addHost("dcam");
            std::string pcSide;
            std::tie(pcSide, cameraSide) = network.link(pc, cameras);
            network.addAddress(pc, pcSide, "198.18.0.1/24");
            for (int last = 10; last < 35; ++last)
                network.addAddress(cameras, cameraSide, "198.18.0." + std::to_string(last) + "/24");
            simulator.start("ip",
                { "netns", "exec", QString::fromStdString(cameras), QUILL_CAMERA_SIM_PATH, "--range",
                    "198.18.0.10-198.18.0.29", "--name", "Cam\"{n}\",東門" });
            ASSERT_TRUE(simulator.waitForReadyRead(10000) && simulator.readAll() == "ready\n");
            inPc = { "ip", "netns", "exec", QString::fromStdString(pc) };
        }
        void TearDown() override
        {
            simulator.kill();
            simulator.waitForFinished(5000);
        }
        CliRun Discover(QStringList arguments)
        {
            return RunCli(QStringList { "discover" } + arguments, inPc);
        }

        TestNetwork network;
        std::string pc, cameras, cameraSide;
        QProcess simulator;
        QStringList inPc;
    };

    TEST_F(DiscoverCommand, ListsEveryCameraWithItsFiveFieldsAsJsonAndCsv)
    {
        const CliRun json = Discover({ "--format", "json" });
        ASSERT_EQ(json.status, 0) << json.err << json.out;
        const QJsonObject document = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
        EXPECT_EQ(document["range"].toString(), "198.18.0.0-255") << "the default route's adapter, whole /24";
        EXPECT_EQ(document["queries_sent"].toInt(), 256);
        EXPECT_EQ(document["summary"].toString(), "20 cameras answered; 256 queries sent");
        QJsonArray cameras = document["cameras"].toArray();
        ASSERT_EQ(cameras.size(), 20) << json.out;
        std::set<QString> addresses;
        for (const QJsonValue camera : cameras) {
            const QJsonObject fields = camera.toObject();
            const int n = fields["ip"].toString().section('.', 3).toInt() - 9;
            addresses.insert(fields["ip"].toString());
            EXPECT_EQ(fields["sn"].toString(), QString::asprintf("SIM%06d", n));
            EXPECT_EQ(fields["device_name"].toString(), QStringLiteral("Cam\"%1\",東門").arg(n));
            EXPECT_EQ(fields["fw"].toString(), QStringLiteral("1.0.%1").arg(n));
            EXPECT_EQ(fields["mac"].toString().size(), 17);
        }
        EXPECT_EQ(addresses.size(), 20u);

        // CSV as the window exports it (its cells are read back in the window's
        // end-to-end test); the summary goes to stderr, apart. A clean site: no finding.
        const CliRun csv = Discover({ "--range", "198.18.0.10-19", "--format", "csv", "--wait", "1" });
        ASSERT_EQ(csv.status, 0) << csv.err;
        EXPECT_EQ(csv.err, "10 cameras answered; 10 queries sent\n");
        const QStringList lines = QString::fromStdString(csv.out).split("\r\n", Qt::SkipEmptyParts);
        ASSERT_EQ(lines.size(), 11) << csv.out;
        EXPECT_EQ(lines[1],
            QStringLiteral("1,198.18.0.10,SIM000001,02-00-C6-12-00-0A,\"Cam\"\"1\"\",東門\",1.0.1,"
                           "198.18.0.10:1334,"));
    }

    // A camera of our own at 198.18.0.40 answers its query three times, and a
    // second camera claims its address once: two rows, the first with its count.
    // A "camera" of the test's own at 198.18.0.40 answers each query with
    // crafted datagrams: the same camera three times, a second MAC for its
    // address, an address it does not have, its MAC under another address, a
    // factory default off the network, and a name holding a right-to-left
    // override and a control character. One row per camera, every finding
    // named, the camera text safe in every output.
    TEST_F(DiscoverCommand, OneRowPerCameraWithItsFindingsAndSafeTextInEveryOutput)
    {
        namespace asio = boost::asio;
        using asio::ip::udp;
        network.addAddress(cameras, cameraSide, "198.18.0.40/24");
        asio::io_context io;
        std::optional<udp::socket> camera;
        std::thread([&] {
            network.enter(cameras);
            camera.emplace(io, udp::endpoint(asio::ip::make_address_v4("198.18.0.40"), 1334));
        }).join();
        const timeval bound { 10, 0 };
        ::setsockopt(camera->native_handle(), SOL_SOCKET, SO_RCVTIMEO, &bound, sizeof bound);
        const char* const answers[] { "198.18.0.40 SN1 00:1a:2b:3c:4d:5e Door 1.0",
            "198.18.0.40 SN1 00-1A-2B-3C-4D-5E Door 1.1", "198.18.0.40 SN2 00:1a:2b:3c:4d:5f Gate 2.0",
            "198.18.0.40 SN1 001a2b3c4d5e Door 1.2", "198.18.0.150 SN3 00:1a:2b:3c:4d:60 Far 1.0",
            "198.18.0.41 SN4 00:1A:2B:3C:4D:5E Twin 1.0", "192.168.1.108 SN5 00:1a:2b:3c:4d:61 Default 1.0",
            "198.18.0.40 SN6 00:1a:2b:3c:4d:62 Cam\u202Eevil\x01 1.0" };
        const auto answerOneQuery = [&] {
            std::array<char, 16> query {};
            udp::endpoint querier;
            boost::system::error_code error;
            camera->receive_from(asio::buffer(query), querier, 0, error);
            for (const char* answer : answers)
                camera->send_to(
                    asio::buffer(std::string(answer)), udp::endpoint(querier.address(), 1334), 0, error);
        };
        // The answers come from this thread while the command runs: no thread
        // of the test's is alive when the command's process is started.
        const auto run = [&](const QStringList& format) {
            auto pending = StartCli(
                QStringList { "discover", "--range", "198.18.0.40", "--wait", "1.5" } + format, inPc);
            answerOneQuery();
            return pending->Wait();
        };
        const CliRun json = run({ "--format", "json" });
        ASSERT_EQ(json.status, 0) << json.err << json.out;
        EXPECT_TRUE(QString::fromStdString(json.out).contains("Cam\\u202eevil\\u0001", Qt::CaseInsensitive))
            << "escaped in the JSON text: " << json.out;
        const QJsonObject document = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
        EXPECT_EQ(
            document["summary"].toString(), "6 cameras answered; 1 query sent; 6 cameras with problems");
        const QJsonArray rows = document["cameras"].toArray();
        const std::vector<std::pair<int, QStringList>> expected {
            { 3, { "address_conflict", "duplicate_mac" } },
            { 1, { "address_conflict" } },
            { 1, { "sender_mismatch" } },
            { 1, { "sender_mismatch", "duplicate_mac" } },
            { 1, { "sender_mismatch", "off_network" } },
            { 1, { "address_conflict" } },
        };
        ASSERT_EQ(rows.size(), static_cast<qsizetype>(expected.size())) << json.out;
        for (std::size_t i = 0; i < expected.size(); ++i) {
            const QJsonObject row = rows[static_cast<qsizetype>(i)].toObject();
            EXPECT_EQ(row["answers"].toInt(), expected[i].first) << i;
            EXPECT_EQ(row["findings"].toArray(), QJsonArray::fromStringList(expected[i].second)) << i;
            EXPECT_EQ(row["sender"].toString(), "198.18.0.40:1334");
        }
        EXPECT_EQ(rows[0]["fw"].toString(), "1.2");
        EXPECT_EQ(rows[5]["device_name"].toString(), QStringLiteral("Cam\u202Eevil\u0001"));
        EXPECT_EQ(document["findings"].toArray().size(), 6)
            << "one conflict, one shared MAC, four single ones";
        // Findings alone keep exit 0; --strict fails on them.
        EXPECT_EQ(run({ "--format", "json", "--strict" }).status, 1);

        const CliRun csv = run({ "--format", "csv" });
        EXPECT_NE(csv.out.find(",Cam<U+202E>evil<U+0001>,1.0,198.18.0.40:1334,address_conflict\r\n"),
            std::string::npos)
            << csv.out;
        const CliRun table = run({});
        EXPECT_NE(table.out.find("Cam<U+202E>evil<U+0001>"), std::string::npos) << table.out;
        EXPECT_NE(table.out.find("! Address conflict: 198.18.0.40 is used by 3 cameras"), std::string::npos)
            << table.out;
        for (const std::string& out : { json.out, csv.out, table.out })
            EXPECT_EQ(out.find("\u202E"), std::string::npos) << "never the override itself";
    }

    // Rows stream while the search goes on; Ctrl-C then ends it with what it found.
    TEST_F(DiscoverCommand, TableRowsArriveBeforeTheWaitEndsAndCtrlCEndsWithASummary)
    {
        QProcess process;
        process.start(inPc.front(), inPc.mid(1) + QStringList { QUILLSCOPE_CLI, "discover", "--wait", "60" });
        // Without an event loop here: each wait is bounded, and the output ends.
        QByteArray seen;
        while (seen.count('\n') < 2 && process.waitForReadyRead(20000))
            seen += process.readAllStandardOutput();
        EXPECT_EQ(process.state(), QProcess::Running);
        const QList<QByteArray> lines = seen.split('\n');
        ASSERT_GE(lines.size(), 3) << seen.toStdString();
        EXPECT_TRUE(lines[0].startsWith("No.  IP Address")) << lines[0].toStdString();
        EXPECT_TRUE(lines[1].startsWith("1    198.18.0.")) << lines[1].toStdString();
        // Every camera answers within moments of the sweep.
        while (seen.count('\n') < 21 && process.waitForReadyRead(20000))
            seen += process.readAllStandardOutput();
        ::kill(static_cast<pid_t>(process.processId()), SIGINT);
        ASSERT_TRUE(process.waitForFinished(5000));
        seen += process.readAllStandardOutput();
        EXPECT_EQ(process.exitCode(), 130);
        EXPECT_TRUE(seen.endsWith("\n\nInterrupted: 20 cameras answered; 256 queries sent\n"))
            << seen.toStdString();
    }

    TEST_F(DiscoverCommand, ExitStatusSaysWhetherACameraAnsweredOrThePortIsTaken)
    {
        const CliRun silent = Discover({ "--range", "198.18.0.30-34", "--wait", "0.5" });
        EXPECT_EQ(silent.status, 1);
        EXPECT_NE(silent.out.find("but 5 devices in the range answered ARP"), std::string::npos)
            << silent.out;

        // Another program holds the port in the PC's namespace.
        boost::asio::io_context io;
        std::optional<boost::asio::ip::udp::socket> holder;
        std::thread([&] {
            network.enter(pc);
            holder.emplace(io, boost::asio::ip::udp::endpoint(boost::asio::ip::udp::v4(), 1334));
        }).join();
        const CliRun taken = Discover({ "--format", "json" });
        EXPECT_EQ(taken.status, 3);
        EXPECT_EQ(taken.out, "");
        EXPECT_EQ(taken.err,
            "quillscope-cli: No camera can answer: UDP port 1334 is held by another program (port "
            "conflict).\n");
    }

    // The report in both forms, with a time server in the PC's namespace and
    // nothing on the other ports of its loopback (refused: reachable, with a
    // warning that --strict counts as a failure).
    TEST_F(DiscoverCommand, ReportHoldsTheCamerasAndChecksAsHtmlAndAsJsonOfTheSchema)
    {
        std::unique_ptr<netcheck::test::SntpServer> time;
        std::thread([&] {
            network.enter(pc);
            time.reset(new netcheck::test::SntpServer { .listenPort = 123 });
        }).join();
        const TempDir dir;
        const QStringList hosts { "--rcs", "127.0.0.1", "--cloud", "127.0.0.1", "--ntp", "127.0.0.1" };
        const CliRun html
            = RunCli(QStringList { "report", "--out", QString::fromStdString(dir.file("site.html").string()),
                         "--wait", "1", "--strict" }
                    + hosts,
                inPc);
        EXPECT_EQ(html.status, 1) << html.err;
        EXPECT_EQ(html.out,
            "Site report written to " + dir.file("site.html").string()
                + ": 20 cameras; checks: 1 passed, 6 with warnings, 0 failed\n");
        const std::string page = ReadWholeFile(dir.file("site.html"));
        EXPECT_NE(page.find("<td>SIM000020</td>"), std::string::npos);
        EXPECT_NE(page.find("<td>127.0.0.1:30003</td>"), std::string::npos);
        EXPECT_NE(page.find("20 cameras answered; 256 queries sent"), std::string::npos);

        const CliRun json
            = RunCli(QStringList { "report", "--out", QString::fromStdString(dir.file("site.json").string()),
                         "--range", "198.18.0.30-34", "--wait", "0.3" }
                    + hosts,
                inPc);
        EXPECT_EQ(json.status, 1) << "no camera answered";
        EXPECT_EQ(ValidateSiteReport(dir.file("site.json")), 0);
    }

} // namespace
} // namespace quill::test
