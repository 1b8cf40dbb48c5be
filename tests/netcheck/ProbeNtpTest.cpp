#include "ProbeNtp.h"
#include "PrivateNetwork.h"
#include "SntpPacket.h"
#include "SntpServer.h"

#include <gtest/gtest.h>

using namespace quill::netcheck::test;
namespace sntp = quill::netcheck::sntp;
using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

namespace {

// How long the tests wait for replies that never pass.
constexpr milliseconds kShortTimeout(300);

void SetFirstByte(Datagram& reply, std::uint8_t leap, std::uint8_t version, std::uint8_t mode)
{
    reply[sntp::kModeOffset] = static_cast<std::uint8_t>((leap << 6) | (version << 3) | mode);
}

} // namespace

TEST(ProbeNtp, VersionFourClientRequestToALocalServerPasses)
{
    SntpServer server(AnswerValid);

    ASSERT_TRUE(ProbeNtp("127.0.0.1", server.port()));
    EXPECT_EQ(server.requests(), 1);
    const Datagram seen = server.lastRequest();
    ASSERT_EQ(seen.size(), sntp::kPacketSize);
    EXPECT_EQ(seen[0], 0x23); // leap 0, version 4, mode 3 (client)
    EXPECT_NE(sntp::ReadTimestamp(seen, sntp::kTransmitOffset), 0u);
}

// A reply from another port is no answer from the server asked.
TEST(ProbeNtp, SilentServerOrReplyFromAnotherPortFailsAfterTheTimeout)
{
    SntpServer silent(StaySilent);
    SntpServer otherPort(AnswerValid, "127.0.0.1", ReplySource::OtherPort);
    for (const SntpServer* server : { &silent, &otherPort }) {
        const auto start = Clock::now();
        EXPECT_FALSE(ProbeNtp("127.0.0.1", server->port(), kShortTimeout));
        EXPECT_GE(Clock::now() - start, kShortTimeout - milliseconds(20));
        EXPECT_EQ(server->requests(), 1);
    }
    EXPECT_EQ(otherPort.replies(), 1);
}

// Each case changes one field of a valid reply.
TEST(ProbeNtp, OnlyWellFormedServerRepliesPass)
{
    struct Case {
        const char* name;
        std::function<void(Datagram&)> change;
        bool passes;
    };
    const Case cases[] = {
        { "short reply", [](Datagram& r) { r.resize(sntp::kPacketSize - 1); }, false },
        { "client mode", [](Datagram& r) { SetFirstByte(r, 0, 4, 3); }, false },
        { "unsynchronised (leap 3)", [](Datagram& r) { SetFirstByte(r, 3, 4, 4); }, false },
        { "stratum 0 (kiss of death)", [](Datagram& r) { r[sntp::kStratumOffset] = 0; }, false },
        { "stratum 16", [](Datagram& r) { r[sntp::kStratumOffset] = 16; }, false },
        { "wrong originate", [](Datagram& r) { r[sntp::kOriginateOffset + 7] ^= 1; }, false },
        { "zero transmit", [](Datagram& r) { sntp::WriteTimestamp(r, sntp::kTransmitOffset, 0); }, false },
        { "extension bytes after the header", [](Datagram& r) { r.resize(sntp::kPacketSize + 20, 0xAB); },
            true },
        { "version 3 server", [](Datagram& r) { SetFirstByte(r, 0, 3, 4); }, true },
        { "leap second announced", [](Datagram& r) { SetFirstByte(r, 1, 4, 4); }, true },
        { "stratum 15", [](Datagram& r) { r[sntp::kStratumOffset] = 15; }, true },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SntpServer server([&c](const Datagram& request) {
            Datagram reply = ValidReply(request);
            c.change(reply);
            return std::vector<Datagram> { reply };
        });

        EXPECT_EQ(ProbeNtp("127.0.0.1", server.port(), kShortTimeout), c.passes);
        EXPECT_EQ(server.replies(), 1) << "the server must have answered";
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
    for (const std::string& host :
        { std::string(), std::string("127.0.0.1 && echo x"), std::string("127.0.0.1;true"),
            std::string("127.0.0.1|more"), std::string("$(hostname)"), std::string("`hostname`"),
            std::string("127.0.0.1\n"), std::string("127.0.0.1\0x", 11), std::string(254, 'a') }) {
        SCOPED_TRACE(host);
        EXPECT_FALSE(ProbeNtp(host, server.port(), kShortTimeout));
    }
    EXPECT_EQ(server.requests(), 0);
}

TEST(ProbeNtp, UnresolvableHostFails)
{
    if (const std::string whyNot = WhyNotPrivateNetwork(); !whyNot.empty())
        GTEST_SKIP() << whyNot;
    EXPECT_FALSE(ProbeNtp("nonexistent.invalid", kNtpPort, kShortTimeout));
}
