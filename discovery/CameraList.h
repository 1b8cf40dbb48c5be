#pragma once

#include "ResultTable.h"

#include <chrono>
#include <cstddef>
#include <optional>
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

// The network a search looks at: an address and its mask. A camera outside it
// cannot be reached from the PC as configured.
struct SearchedNetwork {
    Ipv4Octets address {};
    Ipv4Octets mask { 255, 255, 255, 0 };

    bool Contains(const Ipv4Octets& other) const;
    int PrefixLength() const;
};

// The cameras that answered since the list was last cleared, one row per
// camera: a camera is its IP address and its MAC. A repeated answer updates
// its camera's row; answers from new cameras past the limit are only counted,
// so a flood of made-up cameras cannot grow the list without end. Each row's
// findings are kept up to date as answers arrive, through indexes by address
// and by MAC, so an answer costs the same however long the list is.
class CameraList {
public:
    explicit CameraList(std::size_t limit = kCameraLimit);

    enum class Change { Added, Updated, Ignored };
    struct Outcome {
        Change change;
        std::size_t index = 0; // the camera's row, unless ignored
        // Other rows whose findings this answer changed.
        std::vector<std::size_t> alsoChanged {};
    };
    Outcome Add(DeviceRecord record, const Ipv4Endpoint& sender, std::chrono::system_clock::time_point when);
    // Empties the list; the network stays until the next SetNetwork.
    void Clear();
    // The network answers are judged against from now on; none: not judged.
    void SetNetwork(const std::optional<SearchedNetwork>& network) { m_network = network; }
    const std::optional<SearchedNetwork>& Network() const { return m_network; }

    // In the order the cameras first answered; row i has number i + 1.
    const std::vector<ResultRow>& Rows() const { return m_rows; }
    // Answers from new cameras turned away since the list was cleared.
    std::size_t Ignored() const { return m_ignored; }
    std::size_t Limit() const { return m_limit; }
    // Rows with at least one finding.
    std::size_t WithFindings() const { return m_withFindings; }

private:
    // The finding that rows sharing a key have once there are two or more.
    void MarkShared(const std::vector<std::size_t>& sharing, Finding finding, std::size_t except,
        std::vector<std::size_t>& changed);
    unsigned OwnFindings(const ResultRow& row) const;
    void SetFindings(ResultRow& row, unsigned findings);

    std::size_t m_limit;
    std::vector<ResultRow> m_rows;
    std::unordered_map<std::string, std::size_t> m_rowOfCamera;
    std::unordered_map<std::string, std::vector<std::size_t>> m_rowsOfAddress;
    std::unordered_map<std::string, std::vector<std::size_t>> m_rowsOfMac;
    std::optional<SearchedNetwork> m_network;
    std::size_t m_ignored = 0;
    std::size_t m_withFindings = 0;
};

} // namespace quill::discovery
