#include "SearchPageTemplate.h"

namespace searchpage {

DialogTemplate SearchPageTemplate()
{
    DialogTemplate page;
    page.id = kTemplateId;
    page.size = QSize(316, 190);
    page.fontFamily = QStringLiteral("MS Shell Dlg");
    page.fontPointSize = 8;
    // The label texts are replaced by the language texts before the page is
    // first shown; these are what the page reads until then.
    page.controls = {
        { kBeginAddressId, ControlKind::IpAddress, {}, QRect(168, 12, 100, 15), {} },
        { kEndAddressId, ControlKind::IpAddress, {}, QRect(168, 34, 100, 15), {} },
        { kAdapterComboId, ControlKind::DropDownList, {}, QRect(47, 13, 71, 30),
            ControlFlag::VerticalScroll },
        { kAdapterLabelId, ControlKind::Static, QStringLiteral("Ethernet Card List:"), QRect(1, 14, 44, 18),
            {} },
        { kBeginLabelId, ControlKind::Static, QStringLiteral("Begining :"), QRect(122, 14, 44, 17), {} },
        { kEndLabelId, ControlKind::Static, QStringLiteral("End :"), QRect(122, 36, 43, 14), {} },
        { kResultListId, ControlKind::List, {}, QRect(9, 56, 300, 96), ControlFlag::Border },
        { kSearchButtonId, ControlKind::Button, QStringLiteral("Search"), QRect(270, 12, 40, 36),
            ControlFlag::Flat },
        // What the last search found, or why nothing: below the list, left of
        // the language selector.
        { kStatusTextId, ControlKind::Static, {}, QRect(9, 155, 185, 33), {} },
        { kLanguageLabelId, ControlKind::Static, QStringLiteral("Language:"), QRect(197, 175, 36, 10), {} },
        { kLanguageComboId, ControlKind::DropDownList, {}, QRect(236, 172, 80, 30),
            ControlFlag::VerticalScroll },
    };
    return page;
}

} // namespace searchpage
