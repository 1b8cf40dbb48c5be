#include "CameraList.h"

namespace quill::discovery {

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

CameraList::CameraList(std::size_t limit)
    : m_limit(limit)
{
}

CameraList::Outcome CameraList::Add(
    DeviceRecord record, const Ipv4Endpoint& sender, std::chrono::system_clock::time_point when)
{
    // The address is compared as the camera sent it: two spellings of one
    // address are two different claims, and the list shows both.
    std::string key = record.ip + ' ' + MacKey(record.mac);
    if (const auto found = m_rowOfCamera.find(key); found != m_rowOfCamera.end()) {
        ResultRow& row = m_rows[found->second];
        row.record = std::move(record);
        row.sender = sender;
        row.lastAnswer = when;
        ++row.answers;
        return { Change::Updated, found->second };
    }
    if (m_rows.size() >= m_limit) {
        ++m_ignored;
        return { Change::Ignored };
    }
    const std::size_t index = m_rows.size();
    m_rows.push_back({ static_cast<int>(index) + 1, std::move(record), 1, sender, when });
    m_rowOfCamera.emplace(std::move(key), index);
    return { Change::Added, index };
}

void CameraList::Clear()
{
    m_rows.clear();
    m_rowOfCamera.clear();
    m_ignored = 0;
}

} // namespace quill::discovery
