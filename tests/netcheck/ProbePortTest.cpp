#include "ProbePort.h"
#include "LoopbackTcp.h"
#include "PrivateNetwork.h"
#include "TempDir.h"
#include "TestLog.h"

#include <gtest/gtest.h>

using namespace quill::netcheck::test;
using quill::test::LogCapture;
using std::chrono::milliseconds;

namespace {

// The captured records without the first one's time stamp: equal to one record
// only when it is the sole one.
std::string WithoutTimeStamp(const std::string& text)
{
    return text.substr(std::min(text.find('<'), text.size()));
}

} // namespace

// A refusal means a server answered, so it counts as reachable like an accept.
TEST(ProbePort, AcceptedOrRefusedConnectionIsReachableWithoutLogRecord)
{
    TcpListener accepting;
    ClosedPort refusing;
    LogCapture log;

    EXPECT_TRUE(ProbePort("127.0.0.1", accepting.port()));
    EXPECT_TRUE(accepting.HasPendingConnection());
    EXPECT_TRUE(ProbePort("127.0.0.1", refusing.port()));
    EXPECT_EQ(log.text(), "");
}

TEST(ProbePort, TimedOutAttemptFailsAfterTheDefaultTimeoutWithOneCriticalRecord)
{
    BlockedPort blocked;
    LogCapture log;

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ProbePort("127.0.0.1", blocked.port()));
    EXPECT_GE(std::chrono::steady_clock::now() - start, kPortProbeTimeout - milliseconds(50));

    const std::string record
        = "<critical>\tport:" + std::to_string(blocked.port()) + " connection was time out\n";
    EXPECT_EQ(WithoutTimeStamp(log.text()), record);
    EXPECT_NE(quill::test::LogFilesText().find(record), std::string::npos);
}

// The settings file is read afresh at every call; a given host wins over it.
// Two servers share one port number, told apart by their loopback address.
TEST(ProbePort, EmptyHostTakesTheServerFromTheSettingsFileAtEveryCall)
{
    quill::test::TempDir folder;
    const quill::test::ScopedWorkingDir inFolder(folder.path());
    TcpListener first(16, "127.0.0.1");
    TcpListener second(16, "127.0.0.2", first.port());
    const auto settingsNaming = [&](const std::string& ip) {
        quill::test::WriteWholeFile(folder.file("Config.ini"), "[system]\nLANG=0\n[RCS]\nIP=" + ip + "\n");
    };

    settingsNaming("127.0.0.1");
    EXPECT_TRUE(ProbePort("", first.port()));
    EXPECT_TRUE(first.HasPendingConnection());
    EXPECT_FALSE(second.HasPendingConnection(milliseconds(0)));

    settingsNaming("127.0.0.2");
    EXPECT_TRUE(ProbePort("", first.port()));
    EXPECT_TRUE(second.HasPendingConnection());

    EXPECT_TRUE(ProbePort("127.0.0.1", first.port()));
    EXPECT_TRUE(first.HasPendingConnection());
}

TEST(ProbePort, MissingServerEntryFailsWithWarningNamingPortAndHost)
{
    // nullptr: no settings file at all.
    for (const char* settings :
        { static_cast<const char*>(nullptr), "[system]\nLANG=1\n", "[RCS]\nPORT=80\n", "[RCS]\nIP=\n" }) {
        SCOPED_TRACE(settings ? settings : "no file");
        quill::test::TempDir folder;
        const quill::test::ScopedWorkingDir inFolder(folder.path());
        if (settings)
            quill::test::WriteWholeFile(folder.file("Config.ini"), settings);
        LogCapture log;

        EXPECT_FALSE(ProbePort("", 30002));
        EXPECT_EQ(WithoutTimeStamp(log.text()), "<warning>\tport:30002 host \"\" cannot be resolved\n");
    }
}

TEST(ProbePort, UnresolvableHostFailsWithWarningInsteadOfTimeOut)
{
    if (const std::string whyNot = WhyNotPrivateNetwork(); !whyNot.empty())
        GTEST_SKIP() << whyNot;
    LogCapture log;

    EXPECT_FALSE(ProbePort("nonexistent.invalid", 30003));
    EXPECT_EQ(WithoutTimeStamp(log.text()),
        "<warning>\tport:30003 host \"nonexistent.invalid\" cannot be resolved\n");
}
