#include "IpconfigLabels.h"

namespace quill::netinfo {

// Form 2 is the Traditional Chinese report; form 3 a Simplified Chinese one
// read through code page 950, where characters Big5 lacks became "?" (0x3F);
// form 4 the same with even fewer characters left. "?" is matched literally.
const ReportLabelTable kReportLabels = { {
    {
        "Physical Address",
        "\xB9\xEA\xC5\xE9\xA6\xEC\xA7\x7D", // 實體位址
        "\xAA\xAB\xB2\x7A\xA6\x61\xA7\x7D", // 物理地址
        "\xAA\xAB\xB2\x7A????", // 物理????
    },
    {
        "IPv4 Address",
        "IPv4 \xA6\xEC\xA7\x7D", // IPv4 位址
        "IPv4 \xA6\x61\xA7\x7D", // IPv4 地址
        "IPv4 ????",
    },
    {
        "Subnet Mask",
        "\xA4\x6C\xBA\xF4\xB8\xF4\xBE\x42\xB8\x6E", // 子網路遮罩
        "\xA4\x6C\xCA\x49\xB1\xBB?", // 子网掩?
        "????? ???",
    },
    {
        "Default Gateway",
        "\xB9\x77\xB3\x5D\xB9\x68\xB9\x44", // 預設閘道
        "\xC0\x71?\xCA\x49?", // 默?网?
        "????? ??????",
    },
    {
        "DNS Servers",
        "DNS \xA6\xF8\xAA\x41\xBE\xB9", // DNS 伺服器
        "DNS \xAA\x41?\xBE\xB9", // DNS 服?器
        "DNS ????",
    },
} };

std::optional<ReportField> FindReportLabel(std::string_view line)
{
    std::optional<ReportField> found;
    std::size_t foundLength = 0;
    for (std::size_t field = 0; field < kReportFieldCount; ++field) {
        for (std::string_view label : kReportLabels[field]) {
            if (label.size() > foundLength && line.find(label) != std::string_view::npos) {
                found = static_cast<ReportField>(field);
                foundLength = label.size();
            }
        }
    }
    return found;
}

} // namespace quill::netinfo
