// The framework's controls: the IP address control's four octets, empty
// fields and change reports; the drop-down list's -1 rules; the tab control.
#include "CComboBox.h"
#include "CIPAddressCtrl.h"
#include "CTabCtrl.h"
#include "WindowMessage.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

using Octets = CIPAddressCtrl::Octets;

TEST(IpAddressCtrl, FreshControlIsBlankAndReadsZero)
{
    CIPAddressCtrl control;
    EXPECT_TRUE(control.IsBlank());
    EXPECT_EQ(control.GetAddress(), (Octets { 0, 0, 0, 0 }));
    std::uint8_t b0 = 9, b1 = 9, b2 = 9, b3 = 9;
    EXPECT_EQ(control.GetAddress(b0, b1, b2, b3), 0);
    EXPECT_EQ(b0 + b1 + b2 + b3, 0);
}

TEST(IpAddressCtrl, FourOctetsRoundTrip)
{
    const Octets cases[] = {
        { 0, 0, 0, 0 },
        { 255, 255, 255, 255 },
        { 192, 168, 1, 20 },
        { 10, 0, 5, 77 },
    };
    CIPAddressCtrl control;
    for (const Octets& address : cases) {
        control.SetAddress(address);
        EXPECT_EQ(control.GetAddress(), address);
        EXPECT_FALSE(control.IsBlank());
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(control.Field(i)->text(), QString::number(address[i]));
    }
    control.SetAddress(172, 16, 0, 1);
    std::uint8_t b0 = 0, b1 = 0, b2 = 0, b3 = 0;
    EXPECT_EQ(control.GetAddress(b0, b1, b2, b3), 4);
    EXPECT_EQ((Octets { b0, b1, b2, b3 }), (Octets { 172, 16, 0, 1 }));
}

TEST(IpAddressCtrl, EmptyFieldReadsZero)
{
    CIPAddressCtrl control;
    control.SetAddress(10, 0, 5, 77);
    control.Field(3)->clear();
    control.Field(1)->clear();
    EXPECT_EQ(control.GetAddress(), (Octets { 10, 0, 5, 0 }));
    EXPECT_EQ(control.FieldValue(3), 0);
    std::uint8_t b0, b1, b2, b3;
    EXPECT_EQ(control.GetAddress(b0, b1, b2, b3), 2); // two fields still hold text
    control.ClearAddress();
    EXPECT_TRUE(control.IsBlank());
    EXPECT_EQ(control.FieldValue(4), -1);
    EXPECT_EQ(control.Field(4), nullptr);
}

TEST(IpAddressCtrl, EveryUserChangeIsReportedButWritingFromCodeIsNot)
{
    CIPAddressCtrl control;
    QSignalSpy spy(&control, &CIPAddressCtrl::FieldChanged);
    control.SetAddress(10, 0, 5, 0);
    EXPECT_EQ(spy.count(), 0);

    control.Field(0)->selectAll();
    QTest::keyClicks(control.Field(0), QStringLiteral("172"));
    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(0), (QList<QVariant> { 0, 1 }));
    EXPECT_EQ(spy.at(1), (QList<QVariant> { 0, 17 }));
    EXPECT_EQ(spy.at(2), (QList<QVariant> { 0, 172 }));

    control.Field(3)->setCursorPosition(1);
    QTest::keyClick(control.Field(3), Qt::Key_Backspace); // emptied: reads 0
    ASSERT_EQ(spy.count(), 4);
    EXPECT_EQ(spy.at(3), (QList<QVariant> { 3, 0 }));
    EXPECT_EQ(control.GetAddress(), (Octets { 172, 0, 5, 0 }));
}

TEST(IpAddressCtrl, FieldsHoldOnlyOctets)
{
    CIPAddressCtrl control;
    QLineEdit* field = control.Field(1);
    QTest::keyClicks(field, QStringLiteral("3a0-0"));
    EXPECT_EQ(field->text(), QStringLiteral("30")); // letters, signs and a value above 255 refused
    field->clear();
    QTest::keyClicks(field, QStringLiteral("2555"));
    EXPECT_EQ(field->text(), QStringLiteral("255"));
}

TEST(IpAddressCtrl, DotAndThirdDigitMoveToTheNextField)
{
    CIPAddressCtrl control;
    control.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&control));
    control.Field(0)->setFocus();
    QTest::keyClicks(control.Field(0), QStringLiteral("10"));
    QTest::keyClick(control.Field(0), Qt::Key_Period);
    EXPECT_TRUE(control.Field(1)->hasFocus());
    QTest::keyClicks(control.Field(1), QStringLiteral("200"));
    EXPECT_TRUE(control.Field(2)->hasFocus());
    QTest::keyClicks(control.Field(2), QStringLiteral("5"));
    EXPECT_EQ(control.GetAddress(), (Octets { 10, 200, 5, 0 }));
}

TEST(IpAddressCtrl, HandlerRewritingTheAddressPullsATypedFieldBack)
{
    // The search page's rule: the end address's first three octets follow
    // the begin address, rewritten on every reported change.
    CIPAddressCtrl begin;
    CIPAddressCtrl end;
    begin.SetAddress(10, 0, 5, 0);
    end.SetAddress(10, 0, 5, 255);
    const auto applyRange = [&] {
        const Octets b = begin.GetAddress();
        const Octets e = end.GetAddress();
        begin.SetAddress(b);
        end.SetAddress(b[0], b[1], b[2], e[3]);
    };
    QObject::connect(&end, &CIPAddressCtrl::FieldChanged, applyRange);
    QObject::connect(&begin, &CIPAddressCtrl::FieldChanged, applyRange);

    end.Field(0)->selectAll();
    QTest::keyClicks(end.Field(0), QStringLiteral("172"));
    EXPECT_EQ(end.GetAddress(), (Octets { 10, 0, 5, 255 }));

    begin.Field(0)->selectAll();
    QTest::keyClicks(begin.Field(0), QStringLiteral("172"));
    EXPECT_EQ(begin.GetAddress(), (Octets { 172, 0, 5, 0 }));
    EXPECT_EQ(end.GetAddress(), (Octets { 172, 0, 5, 255 }));
}

TEST(ComboBox, FillingSelectsNothing)
{
    CComboBox combo;
    EXPECT_EQ(combo.GetCurSel(), CB_ERR);
    EXPECT_EQ(combo.AddString(QStringLiteral("English")), 0);
    EXPECT_EQ(combo.AddString(QStringLiteral("Simplified Chinese")), 1);
    EXPECT_EQ(combo.InsertString(1, QStringLiteral("Traditional Chinese")), 1);
    EXPECT_EQ(combo.GetCount(), 3);
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(combo.GetLBText(1), QStringLiteral("Traditional Chinese"));
    EXPECT_EQ(combo.GetLBText(2), QStringLiteral("Simplified Chinese"));
    EXPECT_EQ(combo.GetLBText(3), QString());
    EXPECT_EQ(combo.InsertString(-1, QStringLiteral("appended")), 3);
    EXPECT_EQ(combo.InsertString(9, QStringLiteral("beyond")), CB_ERR);
    EXPECT_EQ(combo.GetCount(), 4);
}

TEST(ComboBox, SelectionRules)
{
    CComboBox combo;
    for (const char* name : { "English", "Traditional Chinese", "Simplified Chinese" })
        combo.AddString(QString::fromUtf8(name));
    QSignalSpy chosen(&combo, &QComboBox::activated);

    struct Case {
        int index;
        int returned;
        int selected;
    };
    const Case cases[] = {
        { 1, 1, 1 },
        { 7, CB_ERR, -1 }, // an index that does not exist clears the selection
        { 2, 2, 2 },
        { -1, CB_ERR, -1 },
        { 0, 0, 0 },
        { 3, CB_ERR, -1 },
    };
    for (const Case& c : cases) {
        EXPECT_EQ(combo.SetCurSel(c.index), c.returned) << c.index;
        EXPECT_EQ(combo.GetCurSel(), c.selected) << c.index;
    }
    EXPECT_EQ(chosen.count(), 0); // no selection by code counts as the user's choice

    combo.SetCurSel(1);
    combo.ResetContent();
    EXPECT_EQ(combo.GetCount(), 0);
    EXPECT_EQ(combo.GetCurSel(), -1);
    combo.AddString(QStringLiteral("英語"));
    EXPECT_EQ(combo.GetCurSel(), -1); // refilled after emptying: still nothing selected
}

TEST(TabCtrl, ItemsSelectionAndUserNotification)
{
    CTabCtrl tab;
    tab.resize(400, 200);
    QSignalSpy changed(&tab, &CTabCtrl::SelChange);
    EXPECT_EQ(tab.GetCurSel(), -1);
    EXPECT_EQ(tab.InsertItem(0, QStringLiteral("ORBEK Zeruru")), 0);
    EXPECT_EQ(tab.InsertItem(1, QStringLiteral("Network Check")), 1);
    EXPECT_EQ(tab.GetItemCount(), 2);
    EXPECT_EQ(tab.GetCurSel(), 0);

    EXPECT_TRUE(tab.SetItemText(1, QStringLiteral("網路確認")));
    EXPECT_EQ(tab.GetItemText(1), QStringLiteral("網路確認"));
    EXPECT_FALSE(tab.SetItemText(2, QStringLiteral("none")));
    EXPECT_EQ(tab.GetItemText(5), QString());

    EXPECT_EQ(tab.SetCurSel(1), 0);
    EXPECT_EQ(tab.GetCurSel(), 1);
    EXPECT_EQ(tab.SetCurSel(4), -1);
    EXPECT_EQ(tab.GetCurSel(), 1);
    EXPECT_EQ(changed.count(), 0); // only the user's choice notifies

    tab.show();
    QTest::mouseClick(tab.TabBar(), Qt::LeftButton, {}, tab.TabBar()->tabRect(0).center());
    EXPECT_EQ(tab.GetCurSel(), 0);
    EXPECT_EQ(changed.count(), 1);

    EXPECT_GE(tab.PageArea().top(), tab.TabBar()->height());
    EXPECT_EQ(tab.PageArea().bottom(), tab.rect().bottom());
}
