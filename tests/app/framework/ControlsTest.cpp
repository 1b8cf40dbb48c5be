// The framework's controls: the IP address control's four octets, empty
// fields and change reports; the drop-down list's -1 rules; the tab control.
#include "CComboBox.h"
#include "CIPAddressCtrl.h"
#include "CTabCtrl.h"
#include "WindowMessage.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using Octets = CIPAddressCtrl::Octets;

TEST(IpAddressCtrl, FourOctetsRoundTripAndEmptyFieldsReadZero)
{
    CIPAddressCtrl control;
    EXPECT_TRUE(control.IsBlank());
    std::uint8_t b0 = 9, b1 = 9, b2 = 9, b3 = 9;
    EXPECT_EQ(control.GetAddress(b0, b1, b2, b3), 0);
    EXPECT_EQ((Octets { b0, b1, b2, b3 }), (Octets { 0, 0, 0, 0 }));

    for (const Octets& address :
        { Octets { 0, 0, 0, 0 }, Octets { 255, 255, 255, 255 }, Octets { 10, 0, 5, 77 } }) {
        control.SetAddress(address);
        EXPECT_EQ(control.GetAddress(), address);
        EXPECT_EQ(control.Field(3)->text(), QString::number(address[3]));
    }
    control.Field(3)->clear();
    control.Field(1)->clear();
    EXPECT_EQ(control.GetAddress(b0, b1, b2, b3), 2); // two fields still hold text
    EXPECT_EQ((Octets { b0, b1, b2, b3 }), (Octets { 10, 0, 5, 0 }));
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
    control.Field(3)->setCursorPosition(1);
    QTest::keyClick(control.Field(3), Qt::Key_Backspace); // emptied: reads 0
    const QList<QList<QVariant>> expected { { 0, 1 }, { 0, 17 }, { 0, 172 }, { 3, 0 } };
    EXPECT_EQ(QList<QList<QVariant>>(spy), expected);
    EXPECT_EQ(control.GetAddress(), (Octets { 172, 0, 5, 0 }));
}

TEST(IpAddressCtrl, FieldsTakeOnlyOctetsAndMoveOnAfterDotOrThirdDigit)
{
    CIPAddressCtrl control;
    control.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&control));
    control.Field(0)->setFocus();
    QTest::keyClicks(control.Field(0), QStringLiteral("1a-0"));
    QTest::keyClick(control.Field(0), Qt::Key_Period);
    EXPECT_TRUE(control.Field(1)->hasFocus());
    QTest::keyClicks(control.Field(1), QStringLiteral("2555"));
    EXPECT_TRUE(control.Field(2)->hasFocus());
    QTest::keyClicks(control.Field(2), QStringLiteral("300")); // a value above 255 refused
    EXPECT_EQ(control.GetAddress(), (Octets { 10, 255, 30, 0 }));
}

// The search page's rule rewrites both controls from inside their own change
// reports: a typed field must be pulled back, not left half-changed.
TEST(IpAddressCtrl, HandlerRewritingTheAddressPullsATypedFieldBack)
{
    CIPAddressCtrl begin;
    CIPAddressCtrl end;
    begin.SetAddress(10, 0, 5, 0);
    end.SetAddress(10, 0, 5, 255);
    const auto applyRange = [&] {
        const Octets b = begin.GetAddress();
        begin.SetAddress(b);
        end.SetAddress(b[0], b[1], b[2], end.GetAddress()[3]);
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

TEST(ComboBox, FillingSelectsNothingAndBadIndexesClearTheSelection)
{
    CComboBox combo;
    EXPECT_EQ(combo.AddString(QStringLiteral("English")), 0);
    EXPECT_EQ(combo.AddString(QStringLiteral("Simplified Chinese")), 1);
    EXPECT_EQ(combo.InsertString(1, QStringLiteral("Traditional Chinese")), 1);
    EXPECT_EQ(combo.InsertString(9, QStringLiteral("beyond")), CB_ERR);
    EXPECT_EQ(combo.GetCurSel(), -1);
    EXPECT_EQ(combo.GetLBText(2), QStringLiteral("Simplified Chinese"));
    EXPECT_EQ(combo.GetLBText(3), QString());

    const struct {
        int index, returned, selected;
    } cases[]
        = { { 1, 1, 1 }, { 7, CB_ERR, -1 }, { 2, 2, 2 }, { -1, CB_ERR, -1 }, { 0, 0, 0 }, { 3, CB_ERR, -1 } };
    for (const auto& c : cases) {
        EXPECT_EQ(combo.SetCurSel(c.index), c.returned) << c.index;
        EXPECT_EQ(combo.GetCurSel(), c.selected) << c.index;
    }
    combo.ResetContent();
    combo.AddString(QStringLiteral("英語"));
    EXPECT_EQ(combo.GetCurSel(), -1); // refilled after emptying: still nothing selected
}

// The user's clicks and their notification are shown with the dialog's message map.
TEST(TabCtrl, ItemsAndSelectionFromCodeNotifyNothing)
{
    CTabCtrl tab;
    QSignalSpy changed(&tab, &CTabCtrl::SelChange);
    EXPECT_EQ(tab.GetCurSel(), -1);
    tab.InsertItem(0, QStringLiteral("ORBEK Zeruru"));
    tab.InsertItem(1, QStringLiteral("Network Check"));
    EXPECT_EQ(tab.GetCurSel(), 0);
    EXPECT_TRUE(tab.SetItemText(1, QStringLiteral("網路確認")));
    EXPECT_EQ(tab.GetItemText(1), QStringLiteral("網路確認"));
    EXPECT_FALSE(tab.SetItemText(2, QStringLiteral("none")));
    EXPECT_EQ(tab.SetCurSel(1), 0);
    EXPECT_EQ(tab.SetCurSel(4), -1);
    EXPECT_EQ(tab.GetCurSel(), 1);
    EXPECT_EQ(changed.count(), 0);
}
