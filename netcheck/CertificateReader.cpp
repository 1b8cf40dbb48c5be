#include "CertificateReader.h"

#include <Poco/DateTimeFormatter.h>
#include <Poco/Net/IPAddress.h>
#include <openssl/x509v3.h>

#include <cmath>

namespace quill::netcheck {

namespace {

    // DNS names and IP addresses of the subjectAltName extension.
    std::vector<std::string> AlternativeNames(const X509* certificate)
    {
        std::vector<std::string> names;
        auto* list = static_cast<GENERAL_NAMES*>(
            X509_get_ext_d2i(certificate, NID_subject_alt_name, nullptr, nullptr));
        for (int i = 0; list && i < sk_GENERAL_NAME_num(list); ++i) {
            const GENERAL_NAME* name = sk_GENERAL_NAME_value(list, i);
            if (name->type == GEN_DNS)
                names.emplace_back(reinterpret_cast<const char*>(ASN1_STRING_get0_data(name->d.dNSName)),
                    static_cast<std::size_t>(ASN1_STRING_length(name->d.dNSName)));
            else if (name->type == GEN_IPADD)
                names.push_back(Poco::Net::IPAddress(ASN1_STRING_get0_data(name->d.iPAddress),
                    static_cast<poco_socklen_t>(ASN1_STRING_length(name->d.iPAddress)))
                                    .toString());
        }
        GENERAL_NAMES_free(list);
        return names;
    }

} // namespace

CertificateFacts ReadCertificate(const Poco::Net::X509Certificate& certificate, const std::string& host)
{
    X509* x509 = const_cast<X509*>(certificate.certificate());
    CertificateFacts facts;
    facts.subject = certificate.subjectName();
    facts.issuer = certificate.issuerName();
    facts.alternativeNames = AlternativeNames(x509);
    // OpenSSL's own matching (wildcards, addresses); it looks nothing up.
    Poco::Net::IPAddress address;
    facts.hostMatches = Poco::Net::IPAddress::tryParse(host, address)
        ? X509_check_ip_asc(x509, host.c_str(), 0) == 1
        : X509_check_host(x509, host.c_str(), host.size(), 0, nullptr) == 1;
    facts.selfSigned
        = X509_check_issued(x509, x509) == X509_V_OK && X509_verify(x509, X509_get0_pubkey(x509)) == 1;
    const Poco::DateTime now;
    const Poco::DateTime from = certificate.validFrom(), until = certificate.expiresOn();
    facts.notBefore = Poco::DateTimeFormatter::format(from, "%Y-%m-%d");
    facts.notAfter = Poco::DateTimeFormatter::format(until, "%Y-%m-%d");
    const double daysLeft = static_cast<double>((until - now).totalMicroseconds()) / 86400e6;
    facts.daysLeft = static_cast<long>(std::floor(daysLeft));
    facts.notYetValid = now < from;
    return facts;
}

} // namespace quill::netcheck
