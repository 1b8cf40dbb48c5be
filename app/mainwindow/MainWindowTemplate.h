#pragma once

#include "DialogTemplate.h"

namespace quill::app {

inline constexpr int kMainWindowDialogId = 140;
inline constexpr int kTabCtrlId = 1010;

// The main window's dialog: 319 x 210 dialog units, titled "Tessory Tool",
// holding only the tab control 1010 at 0,0, 318 x 209.
DialogTemplate MainWindowTemplate();

} // namespace quill::app
