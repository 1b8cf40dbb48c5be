#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string_view>

namespace quill::netinfo {

// The five values the ipconfig report parser looks for, in table order.
enum class ReportField { PhysicalAddress, Ipv4Address, SubnetMask, DefaultGateway, DnsServers };

inline constexpr std::size_t kReportFieldCount = 5;
inline constexpr std::size_t kFormsPerField = 4;

// Each field's label in the report's languages, as raw bytes: English, and
// the Chinese forms as they come out in code page 950 (Big5).
using ReportLabelTable = std::array<std::array<std::string_view, kFormsPerField>, kReportFieldCount>;
extern const ReportLabelTable kReportLabels;

// The field whose label occurs anywhere in the line, or nullopt for a line
// that is not a label line. When labels of several fields occur, the longest
// label decides (ties in table order): the "?" form of the default gateway
// contains the "?" form of the subnet mask and must not be taken for it.
std::optional<ReportField> FindReportLabel(std::string_view line);

} // namespace quill::netinfo
