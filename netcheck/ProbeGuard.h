#pragma once

#include "ProbeOutcome.h"

#include <Poco/Exception.h>

#include <exception>

namespace quill::netcheck {

// Runs a probe's body so that nothing it throws (a socket that cannot be made,
// a poll that fails, a TLS context or a certificate that cannot be read)
// escapes: it becomes a failure with its text.
template <class Body> ProbeOutcome GuardedProbe(Body&& body)
{
    try {
        return body();
    } catch (const Poco::Exception& error) {
        return { false, ProbeReason::OtherError, {}, error.displayText() };
    } catch (const std::exception& error) {
        return { false, ProbeReason::OtherError, {}, error.what() };
    }
}

} // namespace quill::netcheck
