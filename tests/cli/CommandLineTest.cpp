// quillscope-cli as a user runs it: usage errors, version and help, the
// libraries it needs, and the adapters of a test namespace. Nothing is sent.
#include "CliRun.h"
#include "TestNetwork.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <algorithm>
#include <string>

namespace quill::test {
namespace {

    TEST(CommandLine, BadInputGivesOneLineNamingItAndStatus2)
    {
        const struct {
            QStringList arguments;
            const char* named;
        } cases[] = {
            { { "--frob", "adapters" }, "--frob" },
            { { "adapters", "--frob" }, "--frob" },
            { { "frob" }, "frob" },
            { {}, "no command" },
            { { "--lang", "fr", "adapters" }, "fr" },
            { { "--lang" }, "lang" },
            { { "adapters", "--format", "xml" }, "xml" },
            { { "adapters", "--format" }, "format" },
            { { "discover", "--range", "198.18.0.300-4" }, "198.18.0.300" },
            { { "discover", "--range", "198.18.0.1-198.18.1.9" }, "wider than a /24" },
            { { "discover", "--range", "198.18.0.9-3" }, "ends below its start" },
            { { "discover", "--adapter", "nosuch0" }, "nosuch0" },
            { { "discover", "--wait", "0" },
                "--wait must be a number of seconds greater than 0 and at most 3600" },
            { { "report", "--out", "s.html", "--wait", "3600.5" }, "not \"3600.5\"" },
            { { "adapters", "extra" }, "\"extra\"" },
            { { "check", "--only", "ntp", "127.0.0.1" }, "\"127.0.0.1\"" },
            // No camera can have an address of these classes.
            { { "discover", "--range", "0.0.0.1-9" }, "\"this network\"" },
            { { "discover", "--range", "127.0.0.1-9" }, "loopback" },
            { { "report", "--out", "s.html", "--range", "224.0.0.1-5" }, "multicast" },
            { { "discover", "--range", "239.255.255.250" }, "multicast" },
            { { "discover", "--range", "255.255.255.255" }, "broadcast" },
            { { "report", "--out", "/proc/site.html" }, "/proc/site.html" },
            { { "report", "--out", "site.txt" }, "site.txt" },
            { { "report" }, "out" },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.arguments.join(' ').toStdString());
            const CliRun run = RunCli(c.arguments);
            EXPECT_EQ(run.status, 2);
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            EXPECT_NE(run.err.find(c.named), std::string::npos) << run.err;
        }
    }

    TEST(CommandLine, VersionHelpAndLibraries)
    {
        EXPECT_EQ(RunCli({ "--version" }).out, std::string("quillscope-cli ") + QUILL_VERSION + "\n");
        const CliRun help = RunCli({ "--help" });
        EXPECT_EQ(help.status, 0);
        EXPECT_NE(help.out.find("adapters"), std::string::npos);
        EXPECT_NE(help.out.find("130 interrupted by Ctrl-C"), std::string::npos) << help.out;

        // A headless machine has no display libraries to offer.
        QProcess objdump;
        objdump.start(QStringLiteral("objdump"), { QStringLiteral("-p"), QStringLiteral(QUILLSCOPE_CLI) });
        ASSERT_TRUE(objdump.waitForFinished(20000));
        const QString needed = QString::fromUtf8(objdump.readAllStandardOutput());
        ASSERT_TRUE(needed.contains(QStringLiteral("NEEDED")));
        EXPECT_FALSE(needed.contains(QStringLiteral("libQt6Widgets")));
        EXPECT_FALSE(needed.contains(QStringLiteral("libQt6Gui")));
    }

    TEST(CommandLine, ListsEveryAdapterWithCarrierAndDefaultRoute)
    {
        if (const std::string reason = TestNetwork::UnavailableReason(); !reason.empty())
            GTEST_SKIP() << reason;
        TestNetwork network;
        const std::string host = network.addHost("cli");
        const std::string peer = network.addHost("clip");
        // One adapter with a peer and the default route; one whose cable is out.
        const auto [wired, wiredPeer] = network.link(host, peer);
        network.addAddress(host, wired, "198.18.5.2/24");
        network.ip(host, "route add default via 198.18.5.1 dev " + wired + " metric 10");
        network.ip(host, "link add unplugged type veth peer name unpluggedp");
        network.addAddress(host, "unplugged", "198.18.6.2/24");
        network.ip(host, "link set unplugged up");

        const QStringList inHost { "ip", "netns", "exec", QString::fromStdString(host) };
        const CliRun json = RunCli({ "adapters", "--format", "json" }, inHost);
        ASSERT_EQ(json.status, 0) << json.err;
        QJsonObject document = QJsonDocument::fromJson(QByteArray::fromStdString(json.out)).object();
        QJsonArray adapters = document.take(QStringLiteral("adapters")).toArray();
        for (QJsonValueRef adapter : adapters) {
            QJsonObject fields = adapter.toObject();
            fields.remove(QStringLiteral("dns_server")); // the test machine's
            adapter = fields;
        }
        const QString expected = QStringLiteral(R"([
            {"name": "%1", "address": "198.18.5.2", "mask": "255.255.255.0", "gateway": "198.18.5.1",
             "carrier": true, "default_route": true, "searchable": true},
            {"name": "unplugged", "address": "198.18.6.2", "mask": "255.255.255.0", "gateway": "",
             "carrier": false, "default_route": false, "searchable": false}])")
                                     .arg(QString::fromStdString(wired));
        EXPECT_EQ(adapters, QJsonDocument::fromJson(expected.toUtf8()).array()) << json.out;
        EXPECT_EQ(document, QJsonObject({ { "schema_version", 2 } }));

        const CliRun table = RunCli({ "adapters" }, inHost);
        EXPECT_EQ(table.status, 0);
        EXPECT_NE(table.out.find("198.18.5.2  255.255.255.0  198.18.5.1"), std::string::npos) << table.out;
        EXPECT_NE(table.out.find("no"), std::string::npos) << table.out;
    }

} // namespace
} // namespace quill::test
