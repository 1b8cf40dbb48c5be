#pragma once

#include <QColor>

// The colour of a result that holds but comes with a warning (a check that
// passed with one, a finding to look at): amber, readable on the light
// window background, and the same on every page.
inline QColor WarningColour()
{
    return QColor(0xB3, 0x59, 0x00);
}
