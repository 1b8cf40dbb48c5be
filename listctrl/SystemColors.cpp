#include "SystemColors.h"

#include <QWidget>

namespace ListCtrlEx {

namespace {

    QPalette::ColorRole PaletteRoleFor(SystemColor color)
    {
        switch (color) {
        case SystemColor::Window:
            return QPalette::Base;
        case SystemColor::WindowText:
            return QPalette::Text;
        case SystemColor::Highlight:
            return QPalette::Highlight;
        case SystemColor::HighlightText:
            return QPalette::HighlightedText;
        case SystemColor::Face3D:
            return QPalette::Button;
        case SystemColor::HotLight:
            return QPalette::Link;
        case SystemColor::Highlight3D:
            return QPalette::Light;
        case SystemColor::Shadow3D:
            return QPalette::Dark;
        }
        return QPalette::Base;
    }

} // namespace

QColor SystemColorOf(const QWidget* widget, SystemColor color)
{
    const QPalette palette = widget ? widget->palette() : QPalette();
    return palette.color(QPalette::Active, PaletteRoleFor(color));
}

} // namespace ListCtrlEx
