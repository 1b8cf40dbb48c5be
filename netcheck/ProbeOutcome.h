#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quill::netcheck {

// Why a probe ended as it did.
enum class ProbeReason {
    Connected, // TCP connection made
    Refused, // the host answered, the port is closed
    NoAnswer, // nothing within the probe's time-out
    NameNotFound,
    NameLookupTimedOut,
    NetworkUnreachable,
    TlsCompleted, // handshake done and request sent; detail: version and cipher
    TlsFailed, // detail: the library's reason
    RequestNotSent, // the request head could not be written after the handshake
    NtpReply, // a valid time reply; see NtpFacts
    NotAHost, // the text cannot name a host (too short, blanks, shell characters)
    OtherError, // detail: the library's text
    Cancelled,
};

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

    bool Expired() const { return daysLeft < 0; }
    // Expired, not yet valid or issued for another name: shown as a warning.
    bool Warns() const { return Expired() || notYetValid || !hostMatches; }
};

struct NtpFacts {
    double offsetMs = 0; // server clock minus ours
    int stratum = 0;
    double roundTripMs = 0;
    std::string referenceId;
};

// One probe's result: the verdict by the probe's rules, why, and how long it took.
struct ProbeOutcome {
    bool passed = false;
    ProbeReason reason = ProbeReason::Cancelled;
    std::chrono::milliseconds elapsed { 0 };
    std::string detail {};
    std::optional<CertificateFacts> certificate {};
    std::optional<NtpFacts> ntp {};
    std::string host {}; // as probed, for the certificate's name check
};

} // namespace quill::netcheck
