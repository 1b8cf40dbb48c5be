// Addresses typed into the search page's address controls key by key, as a
// user types them (each key to the focus widget of the active window): what
// is typed is what the range holds, under the rule that the end keeps the
// begin's network.
#include "SearchPageTestSupport.h"

#include "CIPAddressCtrl.h"

#include <QClipboard>
#include <QLineEdit>

#include <gtest/gtest.h>

namespace {

using namespace quill::discovery::test;
using Octets = CSearchPage::Ipv4Octets;

class IPAddressTyping : public ::testing::Test, public PageTest {
protected:
    void SetUp() override
    {
        page = MakePage({ { "198", "18", "0", "5" } }, Loopback());
        main.resize(page->size());
        page->ShowWindow(true);
        main.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    }
    CIPAddressCtrl& Control(int id) { return *page->GetDlgItemAs<CIPAddressCtrl>(id); }
    // Tabs into the control, as a user reaches it, then types.
    static void Type(CIPAddressCtrl& control, const QString& keys)
    {
        if (QWidget* focus = QApplication::focusWidget())
            focus->clearFocus();
        control.setFocus(Qt::TabFocusReason);
        for (const QChar key : keys)
            QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
    }
    std::unique_ptr<RecordingSearchPage> page;
};

TEST_F(IPAddressTyping, GivesTheTypedAddressUnderTheRangeRule)
{
    const struct {
        int control;
        const char* keys; // \b: Backspace
        Octets begin, end;
    } cases[] = {
        { 1000, "192.168.1.10", { 192, 168, 1, 10 }, { 192, 168, 1, 255 } }, // "." after a third digit
        { 1000, "10.0.0.254", { 10, 0, 0, 254 }, { 10, 0, 0, 255 } },
        { 1000, "1921681.20", { 192, 168, 1, 20 }, { 192, 168, 1, 255 } }, // digits after the move
        { 1000, "...\b\b\b7.9", { 198, 18, 7, 9 }, { 198, 18, 7, 255 } }, // back across an empty field
        { 1000, "..", { 198, 18, 0, 0 }, { 198, 18, 0, 255 } }, // "." in an empty field stays
        { 1001, "198.18.0.254", { 198, 18, 0, 0 }, { 198, 18, 0, 254 } },
        { 1001, "10.1.2.3", { 198, 18, 0, 0 }, { 198, 18, 0, 3 } }, // the end keeps the begin's network
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.keys);
        page->SetRange({ 198, 18, 0, 0 }, { 198, 18, 0, 255 });
        Type(Control(c.control), QString::fromLatin1(c.keys));
        EXPECT_EQ(page->BeginAddress(), c.begin);
        EXPECT_EQ(page->EndAddress(), c.end);
        EXPECT_EQ(Control(1000).GetAddress(), c.begin) << "shown as held";
    }
}

TEST_F(IPAddressTyping, PastedAddressFillsEveryFieldAndEachControlIsOneTabStop)
{
    QApplication::clipboard()->setText(QStringLiteral(" 10.20.30.40 "));
    Type(Control(1000), QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(page->BeginAddress(), (Octets { 10, 20, 30, 40 }));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("\b5")); // goes on in the last field
    EXPECT_EQ(page->EndAddress(), (Octets { 10, 20, 30, 255 }));
    EXPECT_EQ(page->BeginAddress(), (Octets { 10, 20, 30, 45 }));
    // A paste by other means than the keyboard fills the fields alike.
    Control(1001).Field(1)->selectAll();
    Control(1001).Field(1)->insert(QStringLiteral("10.20.30.99"));
    EXPECT_EQ(page->EndAddress(), (Octets { 10, 20, 30, 99 }));

    Type(Control(1000), QStringLiteral(".."));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), Control(1001).Field(0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Period);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), Control(1000).Field(0));
}

} // namespace
