#include "NetServers.h"
#include "ProbeHttps.h"
#include "ProbeNtp.h"
#include "ProbePort.h"
#include "TempDir.h"
#include "TestLog.h"

#include <sys/mount.h>

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

// A refusal, a failed handshake or a certificate nobody trusts all show that
// the server answered; silence fails. Texts that are no host, or too short,
// never reach a resolver, a URI or a socket.
TEST(Probe, AServerThatAnsweredPassesASilentOneFails)
{
    TcpListener accepting, silent, silentIpv6(16, "::1");
    const std::uint16_t refusing = ClosedPort();
    BlockedPort blocked;
    TlsServer tls, expired { ServerContext("DNS:localhost", -30, -1) },
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
    const ProbeOutcome unusable = CheckNtp("127.0.0.1", bad.port(), kTimeout);
    EXPECT_EQ(std::tuple(unusable.passed, unusable.reason, unusable.detail),
        std::tuple(false, ProbeReason::NtpBadStratum, "16"))
        << "the last unusable answer names the failure";
    EXPECT_EQ(otherPort.replies + bad.replies, 8);
}

// The certificate never fails the check; its facts are read for the host
// typed, and one that is expired, not yet valid, for another name or not
// trusted by the CA store (here the test CA's alone) makes a warning.
TEST(Probe, HttpsReadsTheCertificateAndTheTlsVersion)
{
    const quill::test::TempDir dir;
    quill::test::WriteWholeFile(dir.file("ca.pem"), TestCaPem());
    ::setenv("SSL_CERT_FILE", dir.file("ca.pem").c_str(), 1);
    const struct {
        std::shared_ptr<SSL_CTX> context;
        std::string name;
        bool matches, selfSigned;
        long daysLeft;
        std::string untrustedBecause;
    } cases[] = {
        { ServerContext("IP:127.0.0.1", -1, 30, false), "127.0.0.1", true, false, 29, "" },
        { ServerContext("IP:127.0.0.1", -30, -2), "127.0.0.1", true, true, -3, "self-signed" },
        { ServerContext("DNS:other.example", -1, 30, false), "other.example", false, false, 29, "" },
        { ServerContext("IP:127.0.0.1", 2, 30), "127.0.0.1", true, true, 29, "self-signed" },
        { ServerContext("IP:127.0.0.1", -1, 30, false, false), "127.0.0.1", true, false, 29,
            "unknown issuer" },
    };
    for (const auto& c : cases) {
        TlsServer server { c.context };
        const ProbeOutcome outcome = CheckHttps("127.0.0.1", server.port(), kTimeout);
        ASSERT_TRUE(outcome.passed && outcome.certificate) << c.name;
        EXPECT_EQ(outcome.reason, ProbeReason::TlsCompleted);
        EXPECT_TRUE(outcome.detail.starts_with("TLSv1.3, TLS_")) << outcome.detail;
        const CertificateFacts& facts = *outcome.certificate;
        EXPECT_EQ(std::tuple(facts.alternativeNames, facts.hostMatches, facts.selfSigned, facts.daysLeft,
                      facts.untrustedBecause),
            std::tuple(std::vector { c.name }, c.matches, c.selfSigned, c.daysLeft, c.untrustedBecause));
        const bool warns = !c.matches || c.daysLeft < 0 || facts.notYetValid || !c.untrustedBecause.empty();
        EXPECT_EQ(outcome.warning, warns ? ProbeWarning::Certificate : ProbeWarning::None)
            << c.untrustedBecause;
    }
    ::unsetenv("SSL_CERT_FILE");
}

TEST(Probe, NtpReadsOffsetStratumRoundTripAndReference)
{
    SntpServer fiveSecondsAhead { [](const Datagram& request) {
        auto replies = AnswerValid(request);
        sntp::WriteTimestamp(replies[0], sntp::kReceiveOffset, NtpStampNow(5));
        sntp::WriteTimestamp(replies[0], sntp::kTransmitOffset, NtpStampNow(5));
        replies[0][sntp::kStratumOffset] = 1;
        std::copy_n("GPS", 4, replies[0].begin() + sntp::kReferenceIdOffset);
        return replies;
    } };
    const ProbeOutcome outcome = CheckNtp("127.0.0.1", fiveSecondsAhead.port(), kTimeout);
    ASSERT_TRUE(outcome.passed && outcome.ntp);
    EXPECT_NEAR(outcome.ntp->offsetMs, 5000, 250);
    EXPECT_GE(outcome.ntp->roundTripMs, 0);
    EXPECT_EQ(std::tuple(outcome.ntp->stratum, outcome.ntp->referenceId), std::tuple(1, "GPS"));
    EXPECT_EQ(outcome.warning, ProbeWarning::ClockOffset);
}

// In this thread's own network and mount namespaces, /etc/resolv.conf names a
// server on loopback that reads queries and never answers.
TEST(Probe, LookupAgainstASilentNameServerEndsAtItsBound)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "needs root for a network and a mount namespace of its own";
    ASSERT_EQ(::unshare(CLONE_NEWNET | CLONE_NEWNS), 0);
    ASSERT_EQ(::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr), 0);
    ASSERT_EQ(std::system("ip link set lo up"), 0);
    const Poco::Net::DatagramSocket silent(Poco::Net::SocketAddress("127.0.0.1", 53));
    const quill::test::TempDir dir;
    quill::test::WriteWholeFile(
        dir.file("resolv.conf"), "nameserver 127.0.0.1\noptions timeout:30 attempts:1\n");
    ASSERT_EQ(::mount(dir.file("resolv.conf").c_str(), "/etc/resolv.conf", nullptr, MS_BIND, nullptr), 0);

    EXPECT_EQ(
        LookUp("camera.example", 80, false, milliseconds(300)).failure, ProbeReason::NameLookupTimedOut);
    EXPECT_TRUE(IsReadable(silent)) << "the query went to the silent server";
    EXPECT_EQ(CheckHttps("camera.example", 443, kTimeout, milliseconds(300)).reason,
        ProbeReason::NameLookupTimedOut);
    std::stop_source stop;
    ProbeOutcome abandoned;
    std::jthread probe([&] {
        abandoned = CheckNtp("camera.example", 123, kTimeout, std::chrono::seconds(2), stop.get_token());
    });
    stop.request_stop();
    probe.join();
    EXPECT_EQ(abandoned.reason, ProbeReason::Cancelled)
        << "a stop leaves the lookup to the C library's thread";
    ::umount("/etc/resolv.conf");
}
