#include "MainWindowTemplate.h"

#include "MainWindowTexts.h"

namespace quill::app {

DialogTemplate MainWindowTemplate()
{
    DialogTemplate dialog;
    dialog.id = kMainWindowDialogId;
    dialog.size = QSize(319, 210);
    dialog.caption = QString::fromUtf8(kMainWindowTitle);
    dialog.fontFamily = QStringLiteral("MS Shell Dlg");
    dialog.fontPointSize = 8;
    dialog.controls = {
        { kTabCtrlId, ControlKind::Tab, {}, QRect(0, 0, 318, 209), {} },
    };
    return dialog;
}

} // namespace quill::app
