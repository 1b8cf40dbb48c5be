#pragma once

#include "DialogTemplate.h"

// Dialog template 2000, the search page, and the ids of its controls.
namespace searchpage {

inline constexpr int kTemplateId = 2000;

inline constexpr int kBeginAddressId = 1000;
inline constexpr int kEndAddressId = 1001;
inline constexpr int kAdapterComboId = 1002;
inline constexpr int kResultListId = 1003;
inline constexpr int kAdapterLabelId = 1004;
inline constexpr int kBeginLabelId = 1005;
inline constexpr int kEndLabelId = 1006;
inline constexpr int kSearchButtonId = 1007;
inline constexpr int kLanguageComboId = 1008;
inline constexpr int kLanguageLabelId = 1009;
inline constexpr int kStatusTextId = 1010;

// The page as the template describes it: controls in keyboard order with
// their texts and rectangles in dialog units.
DialogTemplate SearchPageTemplate();

} // namespace searchpage
