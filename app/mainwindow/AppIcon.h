#pragma once

#include <QIcon>

namespace quill::app {

// The program's icon, as the main window shows it in its title bar and the
// desktop in its task list.
QIcon AppIcon();

} // namespace quill::app
