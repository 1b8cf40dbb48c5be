#pragma once

#include "ResultTable.h"

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quill::discovery {

// The most cameras one search lists: a /24 has 256 addresses, so anything
// beyond this is a flood, not a site.
inline constexpr std::size_t kCameraLimit = 4096;

// A MAC address as cameras are told apart by it: letters in lower case,
// without the ':', '-' or '.' that separate its groups.
std::string MacKey(std::string_view mac);

// The cameras that answered since the list was last cleared, one row per
// camera: a camera is its IP address and its MAC. A repeated answer updates
// its camera's row; answers from new cameras past the limit are only counted,
// so a flood of made-up cameras cannot grow the list without end.
class CameraList {
public:
    explicit CameraList(std::size_t limit = kCameraLimit);

    enum class Change { Added, Updated, Ignored };
    struct Outcome {
        Change change;
        std::size_t index = 0; // the camera's row, unless ignored
    };
    Outcome Add(DeviceRecord record, const Ipv4Endpoint& sender, std::chrono::system_clock::time_point when);
    void Clear();

    // In the order the cameras first answered; row i has number i + 1.
    const std::vector<ResultRow>& Rows() const { return m_rows; }
    // Answers from new cameras turned away since the list was cleared.
    std::size_t Ignored() const { return m_ignored; }
    std::size_t Limit() const { return m_limit; }

private:
    std::size_t m_limit;
    std::vector<ResultRow> m_rows;
    std::unordered_map<std::string, std::size_t> m_rowOfCamera;
    std::size_t m_ignored = 0;
};

} // namespace quill::discovery
