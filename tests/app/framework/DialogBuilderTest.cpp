// Dialog templates turned into widgets: dialog units to pixels, control kinds
// and flags, lookup by id, and a page's own widget put into a template slot.
#include "DialogBuilder.h"
#include "CComboBox.h"
#include "CDialogBase.h"
#include "CIPAddressCtrl.h"
#include "CTabCtrl.h"
#include "DialogUnits.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

namespace {

DialogTemplate SampleTemplate(int pointSize = 8)
{
    DialogTemplate t;
    t.id = 2001;
    t.size = QSize(316, 190);
    t.fontFamily = QStringLiteral("DejaVu Sans");
    t.fontPointSize = pointSize;
    t.controls = {
        { 1020, ControlKind::Static, QStringLiteral("IP :"), QRect(56, 17, 26, 14), {} },
        { 1024, ControlKind::Static, QStringLiteral("N/A"), QRect(71, 15, 68, 16),
            ControlFlag::SunkenBorder },
        { 1030, ControlKind::GroupBox, QStringLiteral("Lan Network Information:"), QRect(5, 2, 139, 92), {} },
        { 1032, ControlKind::Edit, QString(), QRect(102, 124, 120, 14), ControlFlag::Border },
        { 1035, ControlKind::Edit, QString(), QRect(102, 108, 120, 14), {} },
        { 1033, ControlKind::Button, QStringLiteral("TEST"), QRect(231, 124, 72, 14), ControlFlag::Flat },
        { 1008, ControlKind::DropDownList, QString(), QRect(236, 172, 80, 30), ControlFlag::VerticalScroll },
        { 1000, ControlKind::IpAddress, QString(), QRect(168, 12, 100, 15), {} },
        { 1003, ControlKind::List, QString(), QRect(9, 56, 300, 96), ControlFlag::Border },
        { 1010, ControlKind::Tab, QString(), QRect(0, 0, 318, 209), {} },
        { 1047, ControlKind::Static, QStringLiteral("Port 5673 :"), QRect(225, 140, 36, 13),
            ControlFlag::Hidden },
        { 1053, ControlKind::Button, QStringLiteral("Check"), QRect(235, 13, 70, 15), ControlFlag::Disabled },
    };
    return t;
}

class PlainDialog : public CDialogBase {
public:
    explicit PlainDialog(int pointSize = 8)
        : CDialogBase(SampleTemplate(pointSize))
    {
    }
};

} // namespace

TEST(DialogUnits, MapsRectanglesWithQuarterWidthAndEighthHeight)
{
    const DialogBaseUnits base { 6, 13 };
    // Corners are mapped and rounded half away from zero, as MulDiv does:
    // 56*6/4 = 84, 17*13/8 = 27.6 -> 28, (56+26)*6/4 = 123, (17+14)*13/8 = 50.4 -> 50.
    EXPECT_EQ(MapDialogRect(QRect(56, 17, 26, 14), base), QRect(84, 28, 39, 22));
    EXPECT_EQ(MapDialogRect(QRect(0, 0, 318, 209), base), QRect(0, 0, 477, 340)); // 339.6 -> 340
    EXPECT_EQ(MapDialogRect(QRect(1, 1, 1, 1), base), QRect(2, 2, 1, 1)); // 1.5, 1.6 -> 2; 3.0, 3.25 -> 3
    EXPECT_EQ(MapDialogRect(QRect(-4, -8, 4, 8), base), QRect(-6, -13, 6, 13));
    EXPECT_EQ(MapDialogSize(QSize(316, 190), base), QSize(474, 309)); // 308.75 -> 309

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    const QFontMetrics metrics(font);
    const int alphabet
        = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(BaseUnitsOf(font).charWidth, (alphabet / 26 + 1) / 2);
    EXPECT_EQ(BaseUnitsOf(font).charHeight, metrics.height());

    DialogTemplate shellFont;
    shellFont.fontFamily = QStringLiteral("MS Shell Dlg"); // the Windows alias means the application font
    shellFont.fontPointSize = 8;
    EXPECT_EQ(DialogFontOf(shellFont).family(), QApplication::font().family());
}

TEST(DialogBuilder, PlacesEveryControlAtItsConvertedRectangleAtAnyFontSize)
{
    DialogBaseUnits smaller { 0, 0 };
    for (const int pointSize : { 8, 16 }) {
        PlainDialog dialog(pointSize);
        ASSERT_TRUE(dialog.Create(nullptr));
        const DialogBaseUnits base = BaseUnitsOf(dialog.font());
        EXPECT_GT(base.charWidth, smaller.charWidth); // the larger font really gives larger units
        EXPECT_GT(base.charHeight, smaller.charHeight);
        smaller = base;
        EXPECT_EQ(dialog.size(), MapDialogSize(QSize(316, 190), base));
        for (const ControlTemplate& control : dialog.Template().controls) {
            QWidget* widget = dialog.GetDlgItem(control.id);
            ASSERT_NE(widget, nullptr) << control.id;
            EXPECT_EQ(widget->parentWidget(), &dialog);
            QRect expected = MapDialogRect(control.rect, base);
            // Closed, a drop-down list is as tall as its font needs.
            if (control.kind == ControlKind::DropDownList)
                expected.setHeight(widget->sizeHint().height());
            EXPECT_EQ(widget->geometry(), expected) << control.id;
        }
    }
}

TEST(DialogBuilder, KindsAndFlagsGiveTheRightWidgets)
{
    PlainDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    EXPECT_EQ(dialog.GetDlgItemAs<QLabel>(1020)->frameShape(), QFrame::NoFrame);
    EXPECT_EQ(dialog.GetDlgItemAs<QLabel>(1024)->frameShadow(), QFrame::Sunken);
    EXPECT_NE(dialog.GetDlgItemAs<QLabel>(1024)->frameShape(), QFrame::NoFrame);
    EXPECT_TRUE(dialog.GetDlgItemAs<QLineEdit>(1032)->hasFrame());
    EXPECT_FALSE(dialog.GetDlgItemAs<QLineEdit>(1035)->hasFrame());
    EXPECT_NE(dialog.GetDlgItemAs<QPushButton>(1033), nullptr);
    EXPECT_NE(dialog.GetDlgItemAs<CComboBox>(1008), nullptr);
    EXPECT_NE(dialog.GetDlgItemAs<CIPAddressCtrl>(1000), nullptr);
    EXPECT_NE(dialog.GetDlgItemAs<CTabCtrl>(1010), nullptr);
    EXPECT_TRUE(dialog.GetDlgItem(1047)->isHidden());
    EXPECT_FALSE(dialog.GetDlgItem(1020)->isHidden());
    EXPECT_FALSE(dialog.GetDlgItem(1053)->isEnabled());
    EXPECT_EQ(dialog.GetDlgItemAs<QLineEdit>(1020), nullptr); // wrong type
    EXPECT_EQ(dialog.GetDlgItem(4242), nullptr);

    // A group box lies beneath the controls created before it and lets clicks through.
    QWidget* group = dialog.GetDlgItem(1030);
    EXPECT_LT(dialog.children().indexOf(group), dialog.children().indexOf(dialog.GetDlgItem(1024)));
    EXPECT_TRUE(group->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(DialogBuilder, TextsByIdForEveryKind)
{
    PlainDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    const std::pair<int, QString> texts[] = { { 1024, QStringLiteral("10.0.5.77") },
        { 1032, QStringLiteral("cloud.example") }, { 1033, QStringLiteral("測試") },
        { 1030, QStringLiteral("區域網路資訊 :") }, { 1000, QStringLiteral("192.168.1.20") } };
    for (const auto& [id, text] : texts) {
        dialog.SetDlgItemText(id, text);
        EXPECT_EQ(dialog.GetDlgItemText(id), text) << id;
    }
    auto* combo = dialog.GetDlgItemAs<CComboBox>(1008);
    combo->AddString(QStringLiteral("English"));
    combo->AddString(QStringLiteral("Traditional Chinese"));
    EXPECT_EQ(dialog.GetDlgItemText(1008), QString()); // nothing selected
    combo->SetCurSel(1);
    EXPECT_EQ(dialog.GetDlgItemText(1008), QStringLiteral("Traditional Chinese"));
    dialog.SetDlgItemText(4242, QStringLiteral("ignored"));
    EXPECT_EQ(dialog.GetDlgItemText(4242), QString());
}

namespace {

// A page that supplies its own widget for the list slot, as the search page does.
class PageWithFactory : public CDialogBase {
public:
    PageWithFactory()
        : CDialogBase(SampleTemplate())
    {
    }
    QPointer<QTableWidget> made;

protected:
    QWidget* CreateCustomControl(const ControlTemplate& control, QWidget* parent) override
    {
        return control.kind == ControlKind::List ? (made = new QTableWidget(parent)) : nullptr;
    }
};

} // namespace

TEST(DialogBuilder, PageFactoryTakesTheListSlot)
{
    PageWithFactory page;
    ASSERT_TRUE(page.Create(nullptr));
    ASSERT_FALSE(page.made.isNull());
    EXPECT_EQ(page.GetDlgItem(1003), page.made.data());
    EXPECT_EQ(page.made->geometry(), page.MapDialogRect(QRect(9, 56, 300, 96)));
    EXPECT_NE(page.GetDlgItemAs<QLabel>(1020), nullptr); // other kinds still come from the builder
}
