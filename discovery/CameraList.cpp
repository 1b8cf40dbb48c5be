#include "CameraList.h"

#include <bit>
#include <cstdint>

namespace quill::discovery {

namespace {

    std::uint32_t Bits(const Ipv4Octets& address)
    {
        return std::uint32_t { address[0] } << 24 | std::uint32_t { address[1] } << 16
            | std::uint32_t { address[2] } << 8 | address[3];
    }

} // namespace

std::string MacKey(std::string_view mac)
{
    std::string key;
    key.reserve(mac.size());
    for (const char c : mac) {
        if (c == ':' || c == '-' || c == '.')
            continue;
        key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

bool SearchedNetwork::Contains(const Ipv4Octets& other) const
{
    return (Bits(address) & Bits(mask)) == (Bits(other) & Bits(mask));
}

int SearchedNetwork::PrefixLength() const
{
    return std::popcount(Bits(mask));
}

CameraList::CameraList(std::size_t limit)
    : m_limit(limit)
{
}

unsigned CameraList::OwnFindings(const ResultRow& row) const
{
    unsigned findings = 0;
    const std::optional<Ipv4Octets> reported = ParseIpv4(row.record.ip);
    // Port 0: an answer handed in without its sender, nothing to compare.
    if (row.sender.port != 0 && reported != row.sender.address)
        findings |= kSenderMismatch;
    if (m_network && reported && !m_network->Contains(*reported))
        findings |= kOffNetwork;
    return findings;
}

void CameraList::SetFindings(ResultRow& row, unsigned findings)
{
    if ((row.findings != 0) != (findings != 0))
        findings != 0 ? ++m_withFindings : --m_withFindings;
    row.findings = findings;
}

void CameraList::MarkShared(const std::vector<std::size_t>& sharing, Finding finding, std::size_t except,
    std::vector<std::size_t>& changed)
{
    if (sharing.size() < 2)
        return;
    // The rows before were marked when the second one came.
    const std::vector<std::size_t> newlyMarked = sharing.size() == 2 ? sharing : std::vector { except };
    for (const std::size_t index : newlyMarked) {
        ResultRow& row = m_rows[index];
        if (row.findings & finding)
            continue;
        SetFindings(row, row.findings | finding);
        if (index != except)
            changed.push_back(index);
    }
}

CameraList::Outcome CameraList::Add(
    DeviceRecord record, const Ipv4Endpoint& sender, std::chrono::system_clock::time_point when)
{
    // The address is compared as the camera sent it: two spellings of one
    // address are two different claims, and the list shows both.
    std::string mac = MacKey(record.mac);
    std::string key = record.ip + ' ' + mac;
    if (const auto found = m_rowOfCamera.find(key); found != m_rowOfCamera.end()) {
        ResultRow& row = m_rows[found->second];
        row.record = std::move(record);
        row.sender = sender;
        row.lastAnswer = when;
        ++row.answers;
        // Findings shared with other rows stay; its own follow its latest answer.
        SetFindings(row, (row.findings & (kAddressConflict | kDuplicateMac)) | OwnFindings(row));
        return { Change::Updated, found->second };
    }
    if (m_rows.size() >= m_limit) {
        ++m_ignored;
        return { Change::Ignored };
    }
    const std::size_t index = m_rows.size();
    m_rows.push_back({ static_cast<int>(index) + 1, std::move(record), 1, sender, when });
    m_rowOfCamera.emplace(std::move(key), index);
    SetFindings(m_rows.back(), OwnFindings(m_rows.back()));

    Outcome outcome { Change::Added, index };
    std::vector<std::size_t>& sameAddress = m_rowsOfAddress[m_rows.back().record.ip];
    sameAddress.push_back(index);
    MarkShared(sameAddress, kAddressConflict, index, outcome.alsoChanged);
    std::vector<std::size_t>& sameMac = m_rowsOfMac[std::move(mac)];
    sameMac.push_back(index);
    MarkShared(sameMac, kDuplicateMac, index, outcome.alsoChanged);
    return outcome;
}

void CameraList::Clear()
{
    m_rows.clear();
    m_rowOfCamera.clear();
    m_rowsOfAddress.clear();
    m_rowsOfMac.clear();
    m_ignored = 0;
    m_withFindings = 0;
}

} // namespace quill::discovery
