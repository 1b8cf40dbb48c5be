#include "NetServers.h"
#include "ProbeHttps.h"
#include "ProbeNtp.h"
#include "ProbePort.h"
#include "TestLog.h"

#include <gtest/gtest.h>

using namespace quill::netcheck;
using namespace quill::netcheck::test;
using Case
    = std::pair<std::function<bool()>, std::string>; // holds when the verdict is right; the log it leaves

constexpr milliseconds kTimeout(600); // long enough for a loopback handshake under the sanitizers

// Each case's probe alone, with its log records without the time stamp.
void ExpectEach(std::initializer_list<Case> cases)
{
    for (const auto& [probe, records] : cases) {
        const quill::test::LogCapture log;
        EXPECT_TRUE(probe()) << records;
        const std::string text = log.text();
        EXPECT_EQ(text.substr(std::min(text.find('<'), text.size())), records);
    }
}

// Only a time-out means blocked: a refusal, a failed handshake or a certificate
// nobody checks all show that the server answered. Texts that are no host, or
// too short, never reach a resolver, a URI or a socket.
TEST(Probe, OnlyATimeOutFailsAReachableServer)
{
    TcpListener accepting, silent, silentIpv6(16, "::1");
    const std::uint16_t refusing = ClosedPort();
    BlockedPort blocked;
    TlsServer tls, expired { ServerContext("localhost", -30, -1) },
        garbage { nullptr, "HTTP/1.0 400 Bad\r\n\r\n" };
    SntpServer sntp;
    const auto https = [](const char* host, std::uint16_t port) { return ProbeHttps(host, port, kTimeout); };
    const std::string noSession = "<warning>\thttps create session fail, ip: ";
    ExpectEach({
        { [&] { return ProbePort("127.0.0.1", accepting.port()) && IsReadable(accepting.socket); }, "" },
        { [&] { return ProbePort("127.0.0.1", refusing); }, "" },
        { [&] { return !ProbePort("127.0.0.1", blocked.port(), kTimeout); },
            "<critical>\tport:" + std::to_string(blocked.port()) + " connection was time out\n" },
        { [&] { return https("127.0.0.1", expired.port()) && expired.connections; }, "" },
        { [&] { return https("127.0.0.1", garbage.port()) && garbage.connections; }, "" },
        { [&] { return https("127.0.0.1", refusing); }, "" },
        { [&] { return !https("127.0.0.1", silent.port()); }, "" },
        { [&] { return !https("[0::1]", silentIpv6.port()) && IsReadable(silentIpv6.socket); }, "" },
        { [&] { return !https("127.1", tls.port()) && !ProbeHttps("127.0.0.1", -1, kTimeout); }, "" },
        { [&] { return !https("u@127.0.0.1", tls.port()); }, noSession + "u@127.0.0.1\n" },
        { [&] { return !https("127.0.0.1\nx", tls.port()); }, noSession + "127.0.0.1?x\n" },
        { [&] { return !ProbeNtp("127.0.0.1;true", sntp.port()) && !ProbeNtp("$(id)", sntp.port()); }, "" },
        { [&] { return tls.connections + sntp.requests == 0 && https("127.01", tls.port()); }, "" },
        // Served one at a time: this handshake follows the read of the request before.
        { [&] { return https("127.0.0.1", tls.port()) && tls.sawGetRoot; }, "" },
    });
}

// No address means no server reached: false with one warning naming port and
// host. Names that do not exist are looked up only where no name server is.
TEST(Probe, HostWithoutAnAddressFailsWithOneWarning)
{
    if (const std::string why = WhyNotPrivateNetwork(); !why.empty())
        GTEST_SKIP() << why;
    const std::string name = "nonexistent.invalid", record = " host \"" + name + "\" cannot be resolved\n";
    ExpectEach({
        { [&] { return !ProbePort(name, 30003); }, "<warning>\tport:30003" + record },
        { [&] { return !ProbeHttps(name, 443, kTimeout); }, "<warning>\tport:443" + record },
        { [&] { return !ProbeNtp(name, 123, kTimeout); }, "<warning>\tport:123" + record },
    });
}

// Each spoilt reply changes one field of a valid one.
TEST(Probe, NtpPassesOnlyOnAWellFormedReplyFromTheServerAsked)
{
    const auto set
        = [](std::size_t at, int value) { return [=](Datagram& r) { r[at] = std::uint8_t(value); }; };
    const std::function<void(Datagram&)> spoilt[] = { [](Datagram& r) { r.resize(47); }, set(0, 0x23),
        set(0, 0xE4), set(sntp::kStratumOffset, 0), set(sntp::kStratumOffset, 16),
        set(sntp::kOriginateOffset + 7, 1), [](Datagram& r) { std::fill(r.begin() + 40, r.end(), 0); } };
    const auto replying = [&](bool thenValid) {
        return [&spoilt, thenValid](const Datagram& request) {
            std::vector<Datagram> replies(std::size(spoilt) + thenValid, AnswerValid(request).front());
            for (std::size_t i = 0; i < std::size(spoilt); ++i)
                spoilt[i](replies[i]);
            return replies;
        };
    };
    SntpServer server, otherPort { AnswerValid, "127.0.0.1", true };
    SntpServer bad { replying(false) }, badThenGood { replying(true) };
    EXPECT_TRUE(ProbeNtp("127.0.0.1", server.port(), kTimeout));
    EXPECT_EQ(server.firstByte, 0x23); // leap 0, version 4, client
    EXPECT_TRUE(ProbeNtp("127.0.0.1", badThenGood.port(), kTimeout));
    EXPECT_FALSE(ProbeNtp("127.0.0.1", otherPort.port(), kTimeout));
    EXPECT_FALSE(ProbeNtp("127.0.0.1", bad.port(), kTimeout));
    EXPECT_EQ(otherPort.replies + bad.replies, 8);
}
