#include "ProbeNtp.h"
#include "PrivateNetwork.h"
#include "SntpPacket.h"
#include "SntpServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>

using namespace quill::netcheck::test;
namespace sntp = quill::netcheck::sntp;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

// How long the tests wait for replies that never pass.
constexpr milliseconds kShortTimeout(300);

std::vector<Datagram> AnswerValid(const Datagram& request)
{
    return { ValidReply(request) };
}

// A valid reply spoilt by change.
Responder Spoilt(std::function<void(Datagram&)> change)
{
    return [change](const Datagram& request) {
        Datagram reply = ValidReply(request);
        change(reply);
        return std::vector<Datagram> { reply };
    };
}

void SetFirstByte(Datagram& reply, std::uint8_t leap, std::uint8_t version, std::uint8_t mode)
{
    reply[sntp::kModeOffset] = static_cast<std::uint8_t>((leap << 6) | (version << 3) | mode);
}

} // namespace

TEST(ProbeNtp, ValidReplyFromLocalServerPasses)
{
    SntpServer server(AnswerValid);

    EXPECT_TRUE(ProbeNtp("127.0.0.1", server.port()));
    EXPECT_EQ(server.requests(), 1);
}

TEST(ProbeNtp, RequestIsAVersion4ClientPacketOf48Bytes)
{
    SntpServer server(AnswerValid);

    ASSERT_TRUE(ProbeNtp("127.0.0.1", server.port()));
    const Datagram seen = server.lastRequest();
    ASSERT_EQ(seen.size(), sntp::kPacketSize);
    EXPECT_EQ(seen[0], 0x23); // leap 0, version 4, mode 3 (client)
    EXPECT_NE(sntp::ReadTimestamp(seen, sntp::kTransmitOffset), 0u);
}

TEST(ProbeNtp, SilentServerFailsAfterTheTimeout)
{
    SntpServer server([](const Datagram&) { return std::vector<Datagram> {}; });

    const auto start = Clock::now();
    EXPECT_FALSE(ProbeNtp("127.0.0.1", server.port(), kShortTimeout));
    EXPECT_GE(Clock::now() - start, kShortTimeout - milliseconds(20));
    EXPECT_EQ(server.requests(), 1);
}

TEST(ProbeNtp, ClosedPortFailsWithoutWaitingForTheTimeout)
{
    // A port that was free a moment ago: the kernel's "port unreachable"
    // ends the wait.
    const std::uint16_t port = LocalPort(BoundUdpSocket("127.0.0.1").fd());

    const auto start = Clock::now();
    EXPECT_FALSE(ProbeNtp("127.0.0.1", port, std::chrono::seconds(10)));
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
}

TEST(ProbeNtp, MalformedRepliesFail)
{
    struct Case {
        const char* name;
        Responder responder;
    };
    const Case cases[] = {
        { "short reply", Spoilt([](Datagram& r) { r.resize(sntp::kPacketSize - 1); }) },
        { "empty reply", Spoilt([](Datagram& r) { r.clear(); }) },
        { "client mode", Spoilt([](Datagram& r) { SetFirstByte(r, 0, 4, 3); }) },
        { "broadcast mode", Spoilt([](Datagram& r) { SetFirstByte(r, 0, 4, 5); }) },
        { "unsynchronised (leap 3)", Spoilt([](Datagram& r) { SetFirstByte(r, 3, 4, 4); }) },
        { "stratum 0 (kiss of death)", Spoilt([](Datagram& r) { r[sntp::kStratumOffset] = 0; }) },
        { "stratum 16", Spoilt([](Datagram& r) { r[sntp::kStratumOffset] = 16; }) },
        { "wrong originate", Spoilt([](Datagram& r) {
             const auto echoed = sntp::ReadTimestamp(r, sntp::kOriginateOffset);
             sntp::WriteTimestamp(r, sntp::kOriginateOffset, echoed ^ 1);
         }) },
        { "zero transmit", Spoilt([](Datagram& r) { sntp::WriteTimestamp(r, sntp::kTransmitOffset, 0); }) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SntpServer server(c.responder);

        EXPECT_FALSE(ProbeNtp("127.0.0.1", server.port(), kShortTimeout));
        EXPECT_EQ(server.replies(), 1) << "the server must have answered";
    }
}

TEST(ProbeNtp, WellFormedVariantsPass)
{
    struct Case {
        const char* name;
        Responder responder;
    };
    const Case cases[] = {
        { "extension bytes after the header",
            Spoilt([](Datagram& r) { r.resize(sntp::kPacketSize + 20, 0xAB); }) },
        { "version 3 server", Spoilt([](Datagram& r) { SetFirstByte(r, 0, 3, 4); }) },
        { "leap second announced", Spoilt([](Datagram& r) { SetFirstByte(r, 1, 4, 4); }) },
        { "stratum 1", Spoilt([](Datagram& r) { r[sntp::kStratumOffset] = 1; }) },
        { "stratum 15", Spoilt([](Datagram& r) { r[sntp::kStratumOffset] = 15; }) },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SntpServer server(c.responder);
        EXPECT_TRUE(ProbeNtp("127.0.0.1", server.port()));
    }
}

TEST(ProbeNtp, MalformedReplyIsDiscardedAndALaterValidOneCounts)
{
    SntpServer server([](const Datagram& request) {
        Datagram kissOfDeath = ValidReply(request);
        kissOfDeath[sntp::kStratumOffset] = 0;
        return std::vector<Datagram> { Datagram(12, 0), kissOfDeath, ValidReply(request) };
    });

    EXPECT_TRUE(ProbeNtp("127.0.0.1", server.port()));
}

TEST(ProbeNtp, ReplyFromAnotherPortIsIgnored)
{
    SntpServer server(AnswerValid, "127.0.0.1", ReplySource::OtherPort);

    EXPECT_FALSE(ProbeNtp("127.0.0.1", server.port(), kShortTimeout));
    EXPECT_EQ(server.replies(), 1);
}

TEST(ProbeNtp, IPv6AddressAndLocalHostNameAreProbed)
{
    SntpServer overIpv6(AnswerValid, "::1");
    EXPECT_TRUE(ProbeNtp("::1", overIpv6.port()));

    // Resolved from the hosts file, no DNS involved.
    SntpServer overIpv4(AnswerValid);
    EXPECT_TRUE(ProbeNtp("localhost", overIpv4.port()));
}

TEST(ProbeNtp, HostWithCharactersNoHostHoldsFailsWithoutAnyTraffic)
{
    SntpServer server(AnswerValid);
    const std::string hosts[] = {
        "",
        "127.0.0.1 ",
        "127.0.0.1 && echo x",
        "127.0.0.1;true",
        "127.0.0.1|more",
        "127.0.0.1>out.txt",
        "$(hostname)",
        "`hostname`",
        "\"127.0.0.1\"",
        "127.0.0.1\n",
        "127.0.0.1%",
        "h\xc3\xb6st.example",
        std::string("127.0.0.1\0x", 11),
        std::string(254, 'a'),
    };
    for (const std::string& host : hosts) {
        SCOPED_TRACE(host);
        EXPECT_FALSE(ProbeNtp(host, server.port(), kShortTimeout));
    }
    EXPECT_EQ(server.requests(), 0);
}

// The lookup of a name that does not exist reaches for the DNS server, so it
// runs where no packet can leave loopback.
TEST(ProbeNtp, UnresolvableHostFails)
{
    std::string whyNot;
    const auto report = RunInPrivateNetwork(
        [] {
            return std::string(ProbeNtp("nonexistent.invalid", kNtpPort, kShortTimeout) ? "true" : "false");
        },
        whyNot);
    if (!report)
        GTEST_SKIP() << whyNot;

    EXPECT_EQ(*report, "false");
}
