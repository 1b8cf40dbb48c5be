#include "ProbeHttps.h"
#include "LoopbackTcp.h"
#include "PrivateNetwork.h"
#include "TestLog.h"
#include "TlsServer.h"

#include <gtest/gtest.h>

using namespace quill::netcheck::test;
using quill::test::LogCapture;
using std::chrono::milliseconds;

// Short enough to keep the tests quick, long enough for a loopback handshake
// under the sanitizers.
constexpr milliseconds kTestTimeout(1500);

TEST(ProbeHttps, SelfSignedOrExpiredCertificateIsAcceptedAndTheRequestSent)
{
    for (const CertificateAge age : { CertificateAge::Current, CertificateAge::Expired }) {
        SCOPED_TRACE(age == CertificateAge::Current ? "current certificate" : "expired certificate");
        TlsServer server(age);
        LogCapture log;

        EXPECT_TRUE(ProbeHttps("127.0.0.1", server.port(), kTestTimeout));
        ASSERT_TRUE(WaitFor([&] { return !server.lastRequestHead().empty(); }));
        EXPECT_EQ(server.lastRequestHead().rfind("GET / HTTP/1.1\r\n", 0), 0u) << server.lastRequestHead();
        EXPECT_EQ(log.text(), "");
    }
}

// Only a time-out means the server is out of reach: garbage instead of TLS or a
// refusal both show that something answered.
TEST(ProbeHttps, ServerAnsweringWithoutTlsOrRefusingCountsAsReachable)
{
    AcceptingServer garbage("HTTP/1.0 400 Bad Request\r\n\r\nnot TLS at all\n");
    ClosedPort closed;
    LogCapture log;

    EXPECT_TRUE(ProbeHttps("127.0.0.1", garbage.port(), kTestTimeout));
    EXPECT_EQ(garbage.accepted(), 1);
    EXPECT_TRUE(ProbeHttps("127.0.0.1", closed.port(), kTestTimeout));
    EXPECT_EQ(log.text(), "");
}

TEST(ProbeHttps, SilentServerFailsAfterTheDefaultFourSecondsWithoutLogRecord)
{
    // Connections complete into the backlog, but no one answers the hello.
    TcpListener silent;
    LogCapture log;

    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(ProbeHttps("127.0.0.1", silent.port()));
    EXPECT_GE(std::chrono::steady_clock::now() - start, kHttpsProbeTimeout - milliseconds(100));
    EXPECT_EQ(log.text(), "");
}

TEST(ProbeHttps, TooShortHostOrNegativePortFailsWithoutAnyTraffic)
{
    // "127.1" and "127.01" are loopback in the short dotted forms, so a probe
    // that did go out would reach the server; 6 bytes is the shortest probed.
    TlsServer server;
    LogCapture log;

    EXPECT_FALSE(ProbeHttps("127.1", server.port(), kTestTimeout));
    EXPECT_FALSE(ProbeHttps("", server.port(), kTestTimeout));
    EXPECT_FALSE(ProbeHttps("127.0.0.1", -1, kTestTimeout));
    EXPECT_EQ(server.handshakes(), 0);
    EXPECT_EQ(log.text(), "");

    EXPECT_TRUE(ProbeHttps("127.01", server.port(), kTestTimeout));
    EXPECT_TRUE(WaitFor([&] { return server.handshakes() == 1; }));
}

TEST(ProbeHttps, HostOrPortThatCannotStandInAUriFailsWithOneLineWarningAndNoTraffic)
{
    TcpListener server;
    const int open = server.port();
    const std::pair<std::string, int> cases[] = { { "127.0.0.1 x", open }, { "127.0.0.1/path", open },
        { "user@127.0.0.1", open }, { "127.0.0.1:" + std::to_string(open), open },
        { "127.0.0.1?query#part", open }, { "[127.0.0.1]", open }, { "127.0.0.1\nsecond line", open },
        { "h\xc3\xb6st.example", open }, { "127.0.0.1", 70000 } };
    for (const auto& [host, port] : cases) {
        SCOPED_TRACE(host);
        LogCapture log;

        EXPECT_FALSE(ProbeHttps(host, port, kTestTimeout));
        const std::string text = log.text();
        EXPECT_NE(text.find("<warning>\thttps create session fail, ip: "), std::string::npos) << text;
        EXPECT_EQ(text.find('\n'), text.size() - 1) << "one record on one line expected:\n" << text;
    }
    EXPECT_FALSE(server.HasPendingConnection());
}

TEST(ProbeHttps, BracketedIpv6AddressIsProbed)
{
    // Only a connection that was made can time out in the handshake. The long
    // form of ::1 passes the 6-byte minimum.
    TcpListener silent(16, "::1");
    EXPECT_FALSE(ProbeHttps("[0::1]", silent.port(), milliseconds(300)));
    EXPECT_TRUE(silent.HasPendingConnection(milliseconds(0)));
}

TEST(ProbeHttps, UnresolvableHostCountsAsReachable)
{
    if (const std::string whyNot = WhyNotPrivateNetwork(); !whyNot.empty())
        GTEST_SKIP() << whyNot;
    LogCapture log;

    EXPECT_TRUE(ProbeHttps("nonexistent.invalid", 443, kTestTimeout));
    EXPECT_EQ(log.text(), "");
}
