#pragma once
// Dialog units: a template's coordinates measured in the dialog font, so a
// layout keeps its proportions at any font size. One horizontal unit is a
// quarter of the font's average character width, one vertical unit an eighth
// of its character height.
#include <QFont>
#include <QRect>
#include <QSize>

struct DialogTemplate;

struct DialogBaseUnits {
    int charWidth = 0; // average character width in pixels
    int charHeight = 0; // character height in pixels
};

// Average width measured over the 52 Latin letters, rounded, the way dialog
// managers have always done it; the height is the font's line height.
DialogBaseUnits BaseUnitsOf(const QFont& font);

int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base);
int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base);
QRect MapDialogRect(const QRect& dialogUnits, const DialogBaseUnits& base);
QSize MapDialogSize(const QSize& dialogUnits, const DialogBaseUnits& base);

// The font a template asks for, on this system.
QFont DialogFontOf(const DialogTemplate& dialogTemplate);
