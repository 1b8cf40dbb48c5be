#pragma once

#include "LanguageId.h"

// What the search page says about the PC around it, per language.
namespace searchpage {

inline constexpr LanguageTexts kNoAdapterText {
    "No connected network adapter: plug in a cable or join a network",
    "沒有已連線的網路卡：請插上網路線或加入網路", "没有已连接的网卡：请插上网线或加入网络"
};
// %1 the file's path, %2 why it could not be written.
inline constexpr LanguageTexts kExportFileFailedText { "The file %1 could not be written: %2",
    "無法寫入檔案 %1：%2", "无法写入文件 %1：%2" };

} // namespace searchpage
