#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quill::netcheck {

// Why a probe ended as it did, by what the network did.
enum class ProbeReason {
    Connected, // TCP connection made
    Refused, // a reset from the destination (or a firewall that answers for it)
    NoAnswer, // nothing within the probe's time-out; detail: the time-out in ms
    NoRoute, // ENETUNREACH: this PC has no route to the host
    HostUnreachable, // EHOSTUNREACH: an ICMP unreachable or prohibited answer, an unreachable route
    BlockedLocally, // this PC's own route or firewall refused to send; detail: the system's text
    NameNotFound, // the DNS says the name does not exist
    NameLookupTimedOut, // no answer within our own bound
    NameLookupFailed, // the DNS server did not answer or failed
    NoHost, // the settings file names no server
    TlsCompleted, // handshake done and request sent; detail: version and cipher
    TlsNotCompleted, // connected, the server answered but TLS did not complete; detail: the cause
    NoTlsAnswer, // connected, then silence; detail: the time-out in ms
    RequestNotSent, // the request head could not be written after the handshake
    NtpReply, // a valid time reply; see NtpFacts
    NtpUnsynchronised, // the last reply said leap 3: the server has no time to give
    NtpKissOfDeath, // the last reply had stratum 0; detail: its code
    NtpBadStratum, // the last reply had stratum 16 or above; detail: the stratum
    NotAHost, // the text cannot name a host (too short, blanks, shell characters)
    OtherError, // detail: the library's or the system's text
    Cancelled,
};
inline constexpr std::size_t kProbeReasonCount = 21;

// What an installer should know of a probe that passed.
enum class ProbeWarning {
    None,
    Refused, // nothing listens on the port, so cameras will not connect either
    TlsNotCompleted, // the server answered, but not with a TLS session
    Certificate, // expired, not yet valid, for another name or not trusted here
    ClockOffset, // this PC's clock is more than a second off the time server's
};

// The three outcomes an installer acts on.
enum class Verdict { Pass, Warn, Fail };

// The server certificate as read after the handshake; it never changes the verdict.
struct CertificateFacts {
    std::string subject;
    std::vector<std::string> alternativeNames;
    bool hostMatches = false;
    std::string issuer;
    bool selfSigned = false;
    std::string notBefore, notAfter; // "YYYY-MM-DD"
    long daysLeft = 0; // until notAfter, negative once expired
    bool notYetValid = false;
    // Whether this PC's CA store vouches for it; detail of why not, when not.
    bool trusted = false;
    std::string untrustedBecause; // "self-signed" or "unknown issuer" and the like

    bool Expired() const { return daysLeft < 0; }
    // Expired, not yet valid, issued for another name or not trusted: a warning.
    bool Warns() const { return Expired() || notYetValid || !hostMatches || !trusted; }
};

struct NtpFacts {
    double offsetMs = 0; // server clock minus ours
    int stratum = 0;
    double roundTripMs = 0;
    std::string referenceId;
};

// A clock further off than this is a warning.
inline constexpr double kClockOffsetWarningMs = 1000;

// One probe's result: the verdict by the probe's rules, why, and how long it took.
struct ProbeOutcome {
    bool passed = false; // passed, with or without a warning
    ProbeReason reason = ProbeReason::Cancelled;
    std::chrono::milliseconds elapsed { 0 };
    std::string detail {};
    std::optional<CertificateFacts> certificate {};
    std::optional<NtpFacts> ntp {};
    std::string host {}; // as probed; also for the certificate's name check
    ProbeWarning warning = ProbeWarning::None;
    std::string address {}; // the address the verdict came from, empty when none was reached
    int port = 0;
};

inline Verdict VerdictOf(const ProbeOutcome& outcome)
{
    if (!outcome.passed)
        return Verdict::Fail;
    return outcome.warning == ProbeWarning::None ? Verdict::Pass : Verdict::Warn;
}

} // namespace quill::netcheck
