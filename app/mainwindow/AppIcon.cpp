#include "AppIcon.h"

namespace quill::app {

QIcon AppIcon()
{
    return QIcon(QStringLiteral(":/quillscope/icons/quillscope.png"));
}

} // namespace quill::app
