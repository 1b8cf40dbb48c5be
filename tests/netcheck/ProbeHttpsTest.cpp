#include "ProbeHttps.h"
#include "LogCapture.h"
#include "LoopbackTcp.h"
#include "PrivateNetwork.h"
#include "TlsServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

using namespace quill::netcheck::test;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

// Short enough to keep the tests quick, long enough for a loopback handshake
// under the sanitizers.
constexpr milliseconds kTestTimeout(1500);

// The server counts a handshake once the probe has returned; give its thread
// a moment to get there.
bool EventuallyTrue(const std::function<bool()>& condition)
{
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (!condition()) {
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(milliseconds(10));
    }
    return true;
}

} // namespace

TEST(ProbeHttps, SelfSignedOrExpiredCertificateIsAcceptedAndTheRequestSent)
{
    for (const CertificateAge age : { CertificateAge::Current, CertificateAge::Expired }) {
        SCOPED_TRACE(age == CertificateAge::Current ? "current certificate" : "expired certificate");
        TlsServer server(age);
        LogCapture log;

        EXPECT_TRUE(ProbeHttps("127.0.0.1", server.port(), kTestTimeout));
        ASSERT_TRUE(EventuallyTrue([&] { return !server.lastRequestHead().empty(); }));
        EXPECT_EQ(server.lastRequestHead().rfind("GET / HTTP/1.1\r\n", 0), 0u) << server.lastRequestHead();
        EXPECT_EQ(log.text(), "");
    }
}

TEST(ProbeHttps, ServerAnsweringSomethingElseThanTlsCountsAsReachable)
{
    AcceptingServer server("HTTP/1.0 400 Bad Request\r\n\r\nnot TLS at all\n");
    LogCapture log;

    EXPECT_TRUE(ProbeHttps("127.0.0.1", server.port(), kTestTimeout));
    EXPECT_EQ(server.accepted(), 1);
    EXPECT_EQ(log.text(), "");
}

TEST(ProbeHttps, RefusedConnectionCountsAsReachable)
{
    ClosedPort closed;
    EXPECT_TRUE(ProbeHttps("127.0.0.1", closed.port(), kTestTimeout));
}

TEST(ProbeHttps, SilentServerFailsAfterTheTimeoutWithoutLogRecord)
{
    // Connections complete into the backlog, but no one ever answers the
    // client's hello.
    TcpListener silent;
    LogCapture log;

    const auto start = Clock::now();
    EXPECT_FALSE(ProbeHttps("127.0.0.1", silent.port(), milliseconds(300)));
    const auto waited = Clock::now() - start;

    EXPECT_GE(waited, milliseconds(250));
    EXPECT_LT(waited, kHttpsProbeTimeout);
    EXPECT_EQ(log.text(), "");
}

TEST(ProbeHttps, SilentServerFailsAfterTheDefaultFourSeconds)
{
    TcpListener silent;

    const auto start = Clock::now();
    EXPECT_FALSE(ProbeHttps("127.0.0.1", silent.port()));
    EXPECT_GE(Clock::now() - start, kHttpsProbeTimeout - milliseconds(100));
}

TEST(ProbeHttps, TooShortHostOrNegativePortFailsWithoutAnyTraffic)
{
    // "127.1" and "127.01" are loopback in the short dotted forms, so a probe
    // that did go out would reach the server; 6 bytes is the shortest host
    // probed.
    TlsServer server;
    LogCapture log;

    EXPECT_FALSE(ProbeHttps("127.1", server.port(), kTestTimeout));
    EXPECT_FALSE(ProbeHttps("", server.port(), kTestTimeout));
    EXPECT_FALSE(ProbeHttps("127.0.0.1", -1, kTestTimeout));
    EXPECT_EQ(server.handshakes(), 0);
    EXPECT_EQ(log.text(), "");

    EXPECT_TRUE(ProbeHttps("127.01", server.port(), kTestTimeout));
    EXPECT_TRUE(EventuallyTrue([&] { return server.handshakes() == 1; }));
}

TEST(ProbeHttps, HostThatCannotStandInAUriFailsWithWarningAndNoTraffic)
{
    TcpListener server;
    const std::string port = std::to_string(server.port());
    const std::string hosts[] = {
        "127.0.0.1 x",
        "127.0.0.1/path",
        "user@127.0.0.1",
        "127.0.0.1:" + port,
        "127.0.0.1?query",
        "127.0.0.1#part",
        "[127.0.0.1]",
        "127.0.0.1\nsecond line",
        "h\xc3\xb6st.example",
    };
    for (const std::string& host : hosts) {
        SCOPED_TRACE(host);
        LogCapture log;

        EXPECT_FALSE(ProbeHttps(host, server.port(), kTestTimeout));
        const std::string text = log.text();
        EXPECT_NE(text.find("<warning>\thttps create session fail, ip: "), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << "one record on one line expected:\n" << text;
    }
    EXPECT_FALSE(server.HasPendingConnection());
}

TEST(ProbeHttps, PortOutsideTheUriRangeFailsWithWarning)
{
    LogCapture log;
    EXPECT_FALSE(ProbeHttps("127.0.0.1", 70000, kTestTimeout));
    EXPECT_NE(log.text().find("<warning>\thttps create session fail, ip: 127.0.0.1\n"), std::string::npos)
        << log.text();
}

TEST(ProbeHttps, BracketedIpv6AddressIsProbed)
{
    // Only a connection that was made can time out in the handshake. The
    // long form of ::1 passes the 6-byte minimum.
    TcpListener silent(16, "::1");
    EXPECT_FALSE(ProbeHttps("[0::1]", silent.port(), milliseconds(300)));
    EXPECT_TRUE(silent.HasPendingConnection(milliseconds(0)));
}

// The lookup of a name that does not exist reaches for the DNS server, so it
// runs where no packet can leave loopback.
TEST(ProbeHttps, UnresolvableHostCountsAsReachable)
{
    std::string whyNot;
    const auto report = RunInPrivateNetwork(
        [] {
            LogCapture log;
            const bool reachable = ProbeHttps("nonexistent.invalid", 443, kTestTimeout);
            return std::string(reachable ? "true\n" : "false\n") + log.text();
        },
        whyNot);
    if (!report)
        GTEST_SKIP() << whyNot;

    EXPECT_EQ(*report, "true\n");
}
