#include "DialogBuilder.h"

#include "CComboBox.h"
#include "CIPAddressCtrl.h"
#include "CTabCtrl.h"

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVariant>

#include <vector>

namespace {

constexpr char kIdProperty[] = "quillControlId";
constexpr char kDefaultProperty[] = "quillDefaultControl";

QWidget* CreateStatic(const ControlTemplate& control, QWidget* parent)
{
    auto* label = new QLabel(control.text, parent);
    label->setTextFormat(Qt::PlainText);
    // Static texts wrap at word boundaries and start at the top left.
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    if (control.flags.testFlag(ControlFlag::SunkenBorder)) {
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setLineWidth(1);
    }
    return label;
}

QWidget* CreateEdit(const ControlTemplate& control, QWidget* parent)
{
    auto* edit = new QLineEdit(control.text, parent);
    edit->setFrame(control.flags.testFlag(ControlFlag::Border));
    return edit;
}

QWidget* CreateButton(const ControlTemplate& control, QWidget* parent)
{
    // The flat flag is not passed on: the toolkit's flat push button has no
    // outline at all and would read as plain text.
    return new QPushButton(control.text, parent);
}

QWidget* CreateGroupBox(const ControlTemplate& control, QWidget* parent)
{
    auto* group = new QGroupBox(control.text, parent);
    // A frame only: clicks inside it belong to the controls it surrounds.
    group->setAttribute(Qt::WA_TransparentForMouseEvents);
    group->setFocusPolicy(Qt::NoFocus);
    return group;
}

QWidget* CreateListPlaceholder(const ControlTemplate& control, QWidget* parent)
{
    auto* frame = new QFrame(parent);
    // Holds the list's place in the keyboard order until the page puts its
    // list here.
    frame->setFocusPolicy(Qt::StrongFocus);
    if (control.flags.testFlag(ControlFlag::Border))
        frame->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    return frame;
}

} // namespace

QWidget* CreateDefaultControl(const ControlTemplate& control, QWidget* parent)
{
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Static:
        widget = CreateStatic(control, parent);
        break;
    case ControlKind::Edit:
        widget = CreateEdit(control, parent);
        break;
    case ControlKind::Button:
        widget = CreateButton(control, parent);
        break;
    case ControlKind::GroupBox:
        widget = CreateGroupBox(control, parent);
        break;
    case ControlKind::DropDownList:
        widget = new CComboBox(parent);
        break;
    case ControlKind::IpAddress:
        widget = new CIPAddressCtrl(parent);
        break;
    case ControlKind::Tab:
        widget = new CTabCtrl(parent);
        break;
    case ControlKind::List:
        widget = CreateListPlaceholder(control, parent);
        break;
    }
    widget->setProperty(kDefaultProperty, true);
    return widget;
}

void PlaceControl(QWidget& widget, const ControlTemplate& control, const DialogBaseUnits& base)
{
    SetControlId(widget, control.id);
    QRect pixels = MapDialogRect(control.rect, base);
    // A drop-down list's template height is the extent of its opened list;
    // closed, it is as tall as its font makes it.
    if (control.kind == ControlKind::DropDownList)
        pixels.setHeight(widget.sizeHint().height());
    widget.setGeometry(pixels);
    widget.setEnabled(!control.flags.testFlag(ControlFlag::Disabled));
    widget.setVisible(!control.flags.testFlag(ControlFlag::Hidden));
}

ControlTable BuildControls(const DialogTemplate& dialogTemplate, QWidget& dialog, const DialogBaseUnits& base,
    const ControlFactory& factory)
{
    ControlTable table;
    std::vector<QWidget*> groupBoxes;
    for (const ControlTemplate& control : dialogTemplate.controls) {
        QWidget* widget = factory ? factory(control, &dialog) : nullptr;
        if (widget)
            widget->setParent(&dialog);
        else
            widget = CreateDefaultControl(control, &dialog);
        PlaceControl(*widget, control, base);
        table.emplace(control.id, widget); // with a repeated id the first control answers
        if (control.kind == ControlKind::GroupBox)
            groupBoxes.push_back(widget);
    }
    for (QWidget* group : groupBoxes)
        group->lower();
    return table;
}

int ControlIdOf(const QWidget& widget)
{
    return widget.property(kIdProperty).toInt();
}

void SetControlId(QWidget& widget, int id)
{
    widget.setProperty(kIdProperty, id);
    widget.setObjectName(QStringLiteral("control%1").arg(id));
}

bool IsDefaultControl(const QWidget& widget)
{
    return widget.property(kDefaultProperty).toBool();
}
