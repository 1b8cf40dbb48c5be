#include "SearchPageLayout.h"

#include "CDialogBase.h"
#include "SearchPageTemplate.h"

#include <algorithm>

namespace searchpage {

namespace {

    struct Anchor {
        int id;
        bool right; // moves with the right edge
        bool bottom; // moves with the bottom edge
        bool wide; // takes the extra width
        bool tall; // takes the extra height
    };

    constexpr Anchor kAnchors[] = {
        { kResultListId, false, false, true, true },
        { kSearchButtonId, true, false, false, false },
        { kStatusTextId, false, true, true, false },
        { kLanguageLabelId, true, true, false, false },
        { kLanguageComboId, true, true, false, false },
    };

} // namespace

void LayOutSearchPage(CDialogBase& page)
{
    const QSize templateSize = MapDialogSize(page.Template().size, page.BaseUnits());
    const int extraWidth = std::max(0, page.width() - templateSize.width());
    const int extraHeight = std::max(0, page.height() - templateSize.height());
    for (const Anchor& anchor : kAnchors) {
        QWidget* control = page.GetDlgItem(anchor.id);
        const ControlTemplate* planned = page.Template().Find(anchor.id);
        if (!control || !planned)
            continue;
        QRect rect = page.MapDialogRect(planned->rect);
        // A drop-down list is as tall as its font makes it, whatever the template says.
        if (planned->kind == ControlKind::DropDownList)
            rect.setHeight(control->height());
        rect.translate(anchor.right ? extraWidth : 0, anchor.bottom ? extraHeight : 0);
        rect.adjust(0, 0, anchor.wide ? extraWidth : 0, anchor.tall ? extraHeight : 0);
        control->setGeometry(rect);
    }
}

} // namespace searchpage
