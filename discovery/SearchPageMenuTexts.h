#pragma once

#include "LanguageId.h"

// Texts of the result list: its context menu, the export and a row's tooltip, per language.
namespace searchpage {

inline constexpr LanguageTexts kOpenWebPageText { "Open web page", "開啟網頁", "打开网页" };
inline constexpr LanguageTexts kCopyIpText { "Copy IP address", "複製 IP 位址", "复制 IP 地址" };
inline constexpr LanguageTexts kCopyRowText { "Copy row", "複製此列", "复制此行" };
inline constexpr LanguageTexts kCopyAllText { "Copy all rows", "複製所有列", "复制所有行" };
inline constexpr LanguageTexts kExportText { "Export CSV…", "匯出 CSV…", "导出 CSV…" };
inline constexpr LanguageTexts kSaveReportText { "Save site report…", "儲存現場報告…", "保存现场报告…" };
inline constexpr LanguageTexts kExportFailedText { "The file could not be written: %1", "無法寫入檔案：%1",
    "无法写入文件：%1" };
inline constexpr LanguageTexts kAnswerCountText { "Answers since Search: %1", "搜尋後的回應次數：%1",
    "搜寻后的回应次数：%1" };

} // namespace searchpage
