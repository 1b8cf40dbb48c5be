#include "ProbePort.h"
#include "LogCapture.h"
#include "LoopbackTcp.h"
#include "PrivateNetwork.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace quill::netcheck::test;
using Clock = std::chrono::steady_clock;

namespace {

std::string TimeOutRecord(int port)
{
    return "<critical>\tport:" + std::to_string(port) + " connection was time out\n";
}

void WriteSettings(const quill::test::TempDir& folder, const std::string& content)
{
    quill::test::WriteWholeFile(folder.file("Config.ini"), content);
}

} // namespace

TEST(ProbePort, ServerThatAcceptsIsReachableWithoutLogRecord)
{
    TcpListener server;
    LogCapture log;

    EXPECT_TRUE(ProbePort("127.0.0.1", server.port()));
    EXPECT_TRUE(server.HasPendingConnection());
    EXPECT_EQ(log.text(), "");
}

TEST(ProbePort, RefusedConnectionCountsAsReachableWithoutLogRecord)
{
    ClosedPort closed;
    LogCapture log;

    EXPECT_TRUE(ProbePort("127.0.0.1", closed.port()));
    EXPECT_EQ(log.text(), "");
}

TEST(ProbePort, TimedOutAttemptFailsAfterTheDefaultTimeoutWithOneCriticalRecord)
{
    BlockedPort blocked;
    LogCapture log;

    const auto start = Clock::now();
    EXPECT_FALSE(ProbePort("127.0.0.1", blocked.port()));
    const auto waited = Clock::now() - start;

    EXPECT_GE(waited, kPortProbeTimeout - std::chrono::milliseconds(50));
    const std::string text = log.text();
    EXPECT_NE(text.find(TimeOutRecord(blocked.port())), std::string::npos) << text;
    EXPECT_EQ(text.find('\n'), text.size() - 1) << "exactly one record expected:\n" << text;
    EXPECT_NE(LogFilesText().find(TimeOutRecord(blocked.port())), std::string::npos) << LogFilesText();
}

TEST(ProbePort, EmptyHostTakesTheServerFromTheSettingsFileAtEveryCall)
{
    quill::test::TempDir folder;
    const quill::test::ScopedWorkingDir inFolder(folder.path());
    // Two servers on one port number, told apart by their loopback address.
    TcpListener first(16, "127.0.0.1");
    TcpListener second(16, "127.0.0.2", first.port());

    WriteSettings(folder, "[system]\nLANG=0\n[RCS]\nIP=127.0.0.1\n");
    EXPECT_TRUE(ProbePort("", first.port()));
    EXPECT_TRUE(first.HasPendingConnection());
    EXPECT_FALSE(second.HasPendingConnection(std::chrono::milliseconds(0)));

    WriteSettings(folder, "[system]\nLANG=0\n[RCS]\nIP=127.0.0.2\n");
    EXPECT_TRUE(ProbePort("", first.port()));
    EXPECT_TRUE(second.HasPendingConnection());
}

TEST(ProbePort, GivenHostWinsOverTheSettingsFile)
{
    quill::test::TempDir folder;
    const quill::test::ScopedWorkingDir inFolder(folder.path());
    TcpListener wanted(16, "127.0.0.1");
    TcpListener fromSettings(16, "127.0.0.2", wanted.port());
    WriteSettings(folder, "[RCS]\nIP=127.0.0.2\n");

    EXPECT_TRUE(ProbePort("127.0.0.1", wanted.port()));
    EXPECT_TRUE(wanted.HasPendingConnection());
    EXPECT_FALSE(fromSettings.HasPendingConnection(std::chrono::milliseconds(0)));
}

TEST(ProbePort, MissingServerEntryFailsWithWarningNamingPortAndHost)
{
    struct Case {
        const char* name;
        const char* settings; // nullptr: no settings file at all
    };
    const Case cases[] = {
        { "no settings file", nullptr },
        { "no RCS section", "[system]\nLANG=1\n" },
        { "no IP key", "[RCS]\nPORT=80\n" },
        { "empty IP value", "[RCS]\nIP=\n" },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        quill::test::TempDir folder;
        const quill::test::ScopedWorkingDir inFolder(folder.path());
        if (c.settings)
            WriteSettings(folder, c.settings);
        LogCapture log;

        EXPECT_FALSE(ProbePort("", 30002));
        EXPECT_NE(log.text().find("<warning>\tport:30002 host \"\" cannot be resolved\n"), std::string::npos)
            << log.text();
    }
}

// Resolving a name that does not exist reaches for the DNS server, so it runs
// where no packet can leave loopback.
TEST(ProbePort, UnresolvableHostFailsWithWarningInsteadOfTimeOut)
{
    std::string whyNot;
    const auto report = RunInPrivateNetwork(
        [] {
            LogCapture log;
            const bool reachable = ProbePort("nonexistent.invalid", 30003);
            return std::string(reachable ? "true\n" : "false\n") + log.text();
        },
        whyNot);
    if (!report)
        GTEST_SKIP() << whyNot;

    EXPECT_EQ(report->substr(0, 6), "false\n");
    EXPECT_NE(report->find("<warning>\tport:30003 host \"nonexistent.invalid\" cannot be resolved\n"),
        std::string::npos)
        << *report;
    EXPECT_EQ(report->find("<critical>"), std::string::npos) << *report;
}
