#pragma once

#include "ProbeOutcome.h"

#include <Poco/Net/X509Certificate.h>

#include <string>

namespace quill::netcheck {

// What an installer needs to know of a server certificate, for the typed host.
CertificateFacts ReadCertificate(const Poco::Net::X509Certificate& certificate, const std::string& host);

} // namespace quill::netcheck
