#pragma once
// Dialog templates as data: the controls of a dialog or page with their ids,
// kinds, texts and rectangles in dialog units, from which DialogBuilder makes
// the widgets.
#include <QFlags>
#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

enum class ControlKind {
    Static, // text label
    Edit, // one-line edit box
    Button, // push button
    GroupBox, // frame with a caption around other controls
    DropDownList, // combo box without an edit field (CComboBox)
    IpAddress, // four octet fields (CIPAddressCtrl)
    Tab, // tab strip with a page area (CTabCtrl)
    List, // report-view list: supplied by the page, a placeholder otherwise
};

enum class ControlFlag {
    None = 0,
    Hidden = 1 << 0, // created invisible
    Disabled = 1 << 1,
    SunkenBorder = 1 << 2, // static with a sunken frame
    Border = 1 << 3, // edit or list with a frame; edits without it have none
    Flat = 1 << 4, // button drawn flat
    AutoScroll = 1 << 5, // edit scrolls its text horizontally
    VerticalScroll = 1 << 6, // drop-down list with a scroll bar
};
Q_DECLARE_FLAGS(ControlFlags, ControlFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(ControlFlags)

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    QString text;
    QRect rect; // dialog units: left, top, width, height
    ControlFlags flags;
};

struct DialogTemplate {
    int id = 0;
    QSize size; // dialog units
    QString caption;
    // Font of the dialog; an empty family or the Windows shell alias
    // "MS Shell Dlg" means the application's user-interface font.
    QString fontFamily;
    int fontPointSize = 8;
    std::vector<ControlTemplate> controls; // creation and tab order

    const ControlTemplate* Find(int controlId) const;
};
