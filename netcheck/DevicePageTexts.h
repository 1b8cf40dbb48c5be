#pragma once

#include "DevicePageIds.h"
#include "LanguageId.h"
#include "ProbeResult.h"

#include <array>
#include <utility>

// The texts the network check page writes, one column per language. The
// labels of the LAN values and of the port rows keep their template texts in
// every language.
namespace device_page {

inline const std::array<std::pair<int, LanguageTexts>, 8> kControlTexts { {
    { kLanInformationGroup, { "Lan Network Information :", "區域網路資訊 :", "局内网路资讯 :" } },
    { kLanConnectionGroup, { "Lan Connection :", "區域網路連接狀態 :", "局内网路连网状态 :" } },
    { kCloudGroup, { "Tessory+ Cloud :", "Tessory+ 雲服務 :", "Tessory+ 云服务 :" } },
    { kCloudHostLabel,
        { "Tessory+ Server https://", "Tessory+ 伺服器 https://", "Tessory+ 服务器 https://" } },
    { kNtpHostLabel, { "NTPServer http://", "NTP伺服器 http://", "NTP服务器 http://" } },
    { kCheckButton, { "Check", "連線測試", "连线测试" } },
    { kCloudTestButton, { "TEST", "測試", "测试" } },
    { kNtpTestButton, { "TEST", "測試", "测试" } },
} };

// Indexed by ProbeResult; every text begins with one blank.
inline const std::array<LanguageTexts, 3> kResultTexts { {
    { " N/A", " N/A", " N/A" },
    { " OK", " 成功", " 成功" },
    { " Fail", " 失敗", " 失败" },
} };

inline QString ResultText(ProbeResult result, LanguageId language)
{
    const auto index
        = static_cast<std::size_t>(result >= kNotTested && result <= kFailed ? result : kNotTested);
    return LanguageText(kResultTexts[index], language);
}

} // namespace device_page
