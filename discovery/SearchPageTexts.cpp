#include "SearchPageTexts.h"

#include "SearchPageTemplate.h"

namespace searchpage {

// The English texts of the two address labels end with one blank, unlike the
// template's.
const std::array<ControlText, 4> kPageTexts { {
    { kAdapterLabelId, { "Ethernet Card List:", "網路卡列表:", "网路卡列表:" } },
    { kBeginLabelId, { "Begining: ", "起始地址:", "起始地址:" } },
    { kEndLabelId, { "End Address: ", "結束地址:", "结束地址:" } },
    { kSearchButtonId, { "Search", "搜尋", "搜寻" } },
} };

} // namespace searchpage
