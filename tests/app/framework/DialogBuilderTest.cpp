// Dialog templates turned into widgets: dialog units to pixels, control kinds
// and flags, lookup by id, and the page's own list put into a template slot.
#include "DialogBuilder.h"
#include "CComboBox.h"
#include "CDialogBase.h"
#include "CIPAddressCtrl.h"
#include "CTabCtrl.h"
#include "DialogUnits.h"
#include "WindowOps.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

DialogTemplate SampleTemplate(int pointSize)
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
        { 1032, ControlKind::Edit, QString(), QRect(102, 124, 120, 14),
            ControlFlag::Border | ControlFlag::AutoScroll },
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
    explicit PlainDialog(DialogTemplate t)
        : CDialogBase(std::move(t))
    {
    }
};

} // namespace

TEST(DialogUnits, MapsRectanglesWithQuarterWidthAndEighthHeight)
{
    const DialogBaseUnits base { 6, 13 };
    struct Case {
        QRect units;
        QRect pixels;
    };
    // Corners are mapped and rounded half away from zero, as MulDiv does:
    // 56*6/4 = 84, 17*13/8 = 27.6 -> 28, (56+26)*6/4 = 123, (17+14)*13/8 = 50.4 -> 50.
    const Case cases[] = {
        { QRect(56, 17, 26, 14), QRect(84, 28, 39, 22) },
        { QRect(0, 0, 318, 209), QRect(0, 0, 477, 340) }, // 209*13/8 = 339.6 -> 340
        { QRect(1, 1, 1, 1), QRect(2, 2, 1, 1) }, // 1.5 -> 2, 1.6 -> 2; 3.0 and 3.25 -> 3
        { QRect(-4, -8, 4, 8), QRect(-6, -13, 6, 13) },
    };
    for (const Case& c : cases)
        EXPECT_EQ(MapDialogRect(c.units, base), c.pixels) << c.units.x() << "," << c.units.y();
    EXPECT_EQ(MapDialogSize(QSize(316, 190), base), QSize(474, 309)); // 308.75 -> 309
}

TEST(DialogUnits, BaseUnitsComeFromTheAlphabetWidthAndLineHeight)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(8);
    const QFontMetrics metrics(font);
    const int alphabet
        = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    const DialogBaseUnits base = BaseUnitsOf(font);
    EXPECT_EQ(base.charWidth, (alphabet / 26 + 1) / 2);
    EXPECT_EQ(base.charHeight, metrics.height());
    EXPECT_GT(base.charWidth, 0);
}

TEST(DialogUnits, WindowsShellFontMeansTheApplicationFont)
{
    DialogTemplate t;
    t.fontFamily = QStringLiteral("MS Shell Dlg");
    t.fontPointSize = 8;
    EXPECT_EQ(DialogFontOf(t).family(), QApplication::font().family());
    EXPECT_EQ(DialogFontOf(t).pointSize(), 8);
}

TEST(DialogBuilder, PlacesEveryControlAtItsConvertedRectangle)
{
    PlainDialog dialog(SampleTemplate(8));
    ASSERT_TRUE(dialog.Create(nullptr));
    const DialogBaseUnits base = BaseUnitsOf(dialog.font());
    EXPECT_EQ(dialog.size(), MapDialogSize(QSize(316, 190), base));
    for (const ControlTemplate& control : dialog.Template().controls) {
        QWidget* widget = dialog.GetDlgItem(control.id);
        ASSERT_NE(widget, nullptr) << control.id;
        EXPECT_EQ(widget->parentWidget(), &dialog);
        EXPECT_EQ(ControlIdOf(*widget), control.id);
        const QRect expected = MapDialogRect(control.rect, base);
        if (control.kind == ControlKind::DropDownList) {
            // Closed, a drop-down list is as tall as its font needs.
            EXPECT_EQ(widget->pos(), expected.topLeft());
            EXPECT_EQ(widget->width(), expected.width());
            EXPECT_EQ(widget->height(), widget->sizeHint().height());
        } else {
            EXPECT_EQ(widget->geometry(), expected) << control.id;
        }
    }
}

TEST(DialogBuilder, BiggerFontScalesTheLayout)
{
    PlainDialog small(SampleTemplate(8));
    PlainDialog large(SampleTemplate(16));
    ASSERT_TRUE(small.Create(nullptr));
    ASSERT_TRUE(large.Create(nullptr));
    const DialogBaseUnits smallBase = small.BaseUnits();
    const DialogBaseUnits largeBase = large.BaseUnits();
    ASSERT_GT(largeBase.charWidth, smallBase.charWidth);
    ASSERT_GT(largeBase.charHeight, smallBase.charHeight);

    const QRect smallRect = small.GetDlgItem(1003)->geometry();
    const QRect largeRect = large.GetDlgItem(1003)->geometry();
    EXPECT_EQ(largeRect, MapDialogRect(QRect(9, 56, 300, 96), largeBase));
    // Proportions hold: the list's width grows with the character width.
    const double widthRatio = double(largeRect.width()) / smallRect.width();
    const double baseRatio = double(largeBase.charWidth) / smallBase.charWidth;
    EXPECT_NEAR(widthRatio, baseRatio, 0.02);
    EXPECT_GT(large.width(), small.width());
    EXPECT_GT(large.height(), small.height());
}

TEST(DialogBuilder, KindsAndFlagsGiveTheRightWidgets)
{
    PlainDialog dialog(SampleTemplate(8));
    ASSERT_TRUE(dialog.Create(nullptr));

    auto* label = dialog.GetDlgItemAs<QLabel>(1020);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("IP :"));
    EXPECT_EQ(label->frameShape(), QFrame::NoFrame);
    auto* sunken = dialog.GetDlgItemAs<QLabel>(1024);
    ASSERT_NE(sunken, nullptr);
    EXPECT_EQ(sunken->frameShadow(), QFrame::Sunken);
    EXPECT_NE(sunken->frameShape(), QFrame::NoFrame);

    ASSERT_NE(dialog.GetDlgItemAs<QGroupBox>(1030), nullptr);
    EXPECT_EQ(dialog.GetDlgItemAs<QGroupBox>(1030)->title(), QStringLiteral("Lan Network Information:"));
    ASSERT_NE(dialog.GetDlgItemAs<QLineEdit>(1032), nullptr);
    EXPECT_TRUE(dialog.GetDlgItemAs<QLineEdit>(1032)->hasFrame());
    EXPECT_FALSE(dialog.GetDlgItemAs<QLineEdit>(1035)->hasFrame());
    ASSERT_NE(dialog.GetDlgItemAs<QPushButton>(1033), nullptr);
    EXPECT_NE(dialog.GetDlgItemAs<CComboBox>(1008), nullptr);
    EXPECT_NE(dialog.GetDlgItemAs<CIPAddressCtrl>(1000), nullptr);
    EXPECT_NE(dialog.GetDlgItemAs<CTabCtrl>(1010), nullptr);
    EXPECT_NE(dialog.GetDlgItem(1003), nullptr);

    EXPECT_TRUE(dialog.GetDlgItem(1047)->isHidden());
    EXPECT_FALSE(dialog.GetDlgItem(1020)->isHidden());
    EXPECT_FALSE(dialog.GetDlgItem(1053)->isEnabled());
    EXPECT_TRUE(dialog.GetDlgItem(1033)->isEnabled());

    // Wrong type or unknown id: no control.
    EXPECT_EQ(dialog.GetDlgItemAs<QLineEdit>(1020), nullptr);
    EXPECT_EQ(dialog.GetDlgItem(4242), nullptr);
}

TEST(DialogBuilder, GroupBoxesLieBeneathAndLetClicksThrough)
{
    PlainDialog dialog(SampleTemplate(8));
    ASSERT_TRUE(dialog.Create(nullptr));
    QWidget* group = dialog.GetDlgItem(1030);
    QWidget* framed = dialog.GetDlgItem(1024); // created before the group box
    const QObjectList stacking = dialog.children(); // bottom first
    EXPECT_LT(stacking.indexOf(group), stacking.indexOf(framed));
    EXPECT_TRUE(group->testAttribute(Qt::WA_TransparentForMouseEvents));
}

TEST(DialogBuilder, TextsByIdForEveryKind)
{
    PlainDialog dialog(SampleTemplate(8));
    ASSERT_TRUE(dialog.Create(nullptr));
    dialog.SetDlgItemText(1024, QStringLiteral("10.0.5.77"));
    dialog.SetDlgItemText(1032, QStringLiteral("cloud.example"));
    dialog.SetDlgItemText(1033, QStringLiteral("測試"));
    dialog.SetDlgItemText(1030, QStringLiteral("區域網路資訊 :"));
    dialog.SetDlgItemText(1000, QStringLiteral("192.168.1.20"));
    EXPECT_EQ(dialog.GetDlgItemText(1024), QStringLiteral("10.0.5.77"));
    EXPECT_EQ(dialog.GetDlgItemText(1032), QStringLiteral("cloud.example"));
    EXPECT_EQ(dialog.GetDlgItemText(1033), QStringLiteral("測試"));
    EXPECT_EQ(dialog.GetDlgItemText(1030), QStringLiteral("區域網路資訊 :"));
    EXPECT_EQ(dialog.GetDlgItemText(1000), QStringLiteral("192.168.1.20"));

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

// A page that supplies its own widget for the list slot.
class PageWithFactory : public CDialogBase {
public:
    PageWithFactory()
        : CDialogBase(SampleTemplate(8))
    {
    }
    QPointer<QTableWidget> made;

protected:
    QWidget* CreateCustomControl(const ControlTemplate& control, QWidget* parent) override
    {
        if (control.kind != ControlKind::List)
            return nullptr;
        made = new QTableWidget(parent);
        return made;
    }
};

// A page that owns its list as a member and binds it in DoDataExchange.
class PageWithMemberList : public CDialogBase {
public:
    PageWithMemberList()
        : CDialogBase(SampleTemplate(8))
    {
    }
    QTableWidget m_list;
    QPointer<QWidget> placeholder;
    QWidget* placeholderPrevious = nullptr;
    QWidget* placeholderNext = nullptr;

protected:
    void DoDataExchange() override
    {
        placeholder = GetDlgItem(1003);
        placeholderPrevious = placeholder->previousInFocusChain();
        placeholderNext = placeholder->nextInFocusChain();
        AttachDlgItem(1003, m_list);
    }

public:
    // The first widget after the list and its own parts in the keyboard order.
    QWidget* AfterList() const
    {
        QWidget* next = m_list.nextInFocusChain();
        while (next != &m_list && m_list.isAncestorOf(next))
            next = next->nextInFocusChain();
        return next;
    }
};

} // namespace

TEST(DialogBuilder, FactorySuppliesTheListControl)
{
    PageWithFactory page;
    ASSERT_TRUE(page.Create(nullptr));
    ASSERT_FALSE(page.made.isNull());
    EXPECT_EQ(page.GetDlgItem(1003), page.made.data());
    EXPECT_EQ(page.made->parentWidget(), &page);
    EXPECT_EQ(page.made->geometry(), page.MapDialogRect(QRect(9, 56, 300, 96)));
    EXPECT_EQ(ControlIdOf(*page.made), 1003);
    // Other kinds still come from the builder.
    EXPECT_NE(page.GetDlgItemAs<QLabel>(1020), nullptr);
}

TEST(DialogBuilder, AttachedMemberTakesThePlaceholdersSlot)
{
    PageWithMemberList page;
    ASSERT_TRUE(page.Create(nullptr));
    EXPECT_EQ(page.GetDlgItem(1003), &page.m_list);
    EXPECT_TRUE(page.placeholder.isNull()); // the builder's placeholder is gone
    EXPECT_EQ(page.m_list.parentWidget(), &page);
    EXPECT_EQ(page.m_list.geometry(), page.MapDialogRect(QRect(9, 56, 300, 96)));
    EXPECT_FALSE(page.m_list.isHidden());
    // The same place in the keyboard order.
    EXPECT_EQ(page.m_list.previousInFocusChain(), page.placeholderPrevious);
    EXPECT_EQ(page.AfterList(), page.placeholderNext);
    EXPECT_EQ(ControlIdOf(page.m_list), 1003);
}

TEST(WindowOps, ChildRectanglesRoundTripThroughScreenCoordinates)
{
    QWidget window;
    window.resize(400, 300);
    window.move(50, 60);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWidget child(&window);
    MoveWindow(child, QRect(10, 20, 100, 50));
    EXPECT_EQ(child.geometry(), QRect(10, 20, 100, 50));
    EXPECT_EQ(GetClientRect(child), QRect(0, 0, 100, 50));
    // A child's window rectangle, taken back into its parent's client
    // coordinates, is where it was moved to.
    EXPECT_EQ(ScreenToClient(window, GetWindowRect(child)), QRect(10, 20, 100, 50));
}
