#pragma once
// Makes the widgets of a dialog template as children of a dialog or page
// widget, at the pixel rectangles that the dialog units give in the dialog's
// font. Each control carries its id, so it can be found again by id.
#include "DialogTemplate.h"
#include "DialogUnits.h"

#include <functional>
#include <map>

class QWidget;

// Supplies the widget for a control (typically the report-view list, which
// the page provides); nullptr leaves the control to the builder's default.
using ControlFactory = std::function<QWidget*(const ControlTemplate& control, QWidget* parent)>;

// Controls by id; the dialog owns the widgets through Qt's parent chain.
using ControlTable = std::map<int, QWidget*>;

// The default widget of a control kind: QLabel, QLineEdit, QPushButton,
// QGroupBox, CComboBox, CIPAddressCtrl, CTabCtrl, and for a list a framed
// placeholder where the page makes no control of its own.
QWidget* CreateDefaultControl(const ControlTemplate& control, QWidget* parent);

// Gives an existing widget the template's id, rectangle, visibility and
// enabled state.
void PlaceControl(QWidget& widget, const ControlTemplate& control, const DialogBaseUnits& base);

// Creates and places every control in template order (which is also the
// keyboard order); group boxes go beneath the controls they frame.
ControlTable BuildControls(const DialogTemplate& dialogTemplate, QWidget& dialog, const DialogBaseUnits& base,
    const ControlFactory& factory = {});

// The id a builder gave a widget, 0 when it has none.
int ControlIdOf(const QWidget& widget);
void SetControlId(QWidget& widget, int id);
// Whether the widget is one the builder made by default (and so may delete
// when a page replaces it).
bool IsDefaultControl(const QWidget& widget);
