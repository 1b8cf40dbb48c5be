// The main window over made-up adapter tables: collection at start, the
// check tab's four fields at each switch, and the layout of dialog and pages.
#include "DialogUnits.h"
#include "MainWindowFixture.h"

#include <algorithm>

namespace quill::test {
namespace {

    constexpr int kIpAddressField = 1024; // mask, gateway and DNS server follow
    constexpr int kAdapterCombo = 1002;

    const std::vector<netinfo::AdapterInfo> kTwoAdapters {
        MadeUpAdapter({ "10", "0", "5", "77" }, "255.255.255.0", "10.0.5.1", "10.0.5.2"),
        MadeUpAdapter({ "198", "18", "0", "20" }, "255.255.0.0", "", "198.18.0.53"),
    };

    class MainWindowAdapters : public MainWindowTest {
    protected:
        QStringList Fields() const
        {
            QStringList fields;
            for (int id = kIpAddressField; id < kIpAddressField + 4; ++id)
                fields << Device().GetDlgItemText(id);
            return fields;
        }
        void ChooseAdapter(int index)
        {
            ChooseEntry(*Search().GetDlgItemAs<CComboBox>(kAdapterCombo), index);
        }
    };

    TEST_F(MainWindowAdapters, CheckTabShowsTheAdapterSelectedAtTheMomentOfTheSwitch)
    {
        Start(kTwoAdapters);
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Fields(), QStringList({ "10.0.5.77", "255.255.255.0", "10.0.5.1", "10.0.5.2" }));

        ClickTab(CZeruruDlg::kSearchTab);
        ChooseAdapter(1);
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Fields(), QStringList({ "198.18.0.20", "255.255.0.0", "", "198.18.0.53" }));

        ClickTab(CZeruruDlg::kSearchTab);
        ChooseAdapter(0);
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Fields()[0], QStringLiteral("10.0.5.77"));
    }

    TEST_F(MainWindowAdapters, BrokenUtf8LosesOnlyItsBrokenBytesAndExtraAddressPartsAreIgnored)
    {
        Start({ MadeUpAdapter(
            { "10", "0", "5", "7\xff", "9" }, "255.255.255.0", "網\xe7\xb6", "dns\x80.example") });
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Fields(), QStringList({ "10.0.5.7", "255.255.255.0", "網", "dns.example" }));
    }

    // No usable adapter at the switch: the fields keep the text they had, and
    // nothing is read out of range.
    TEST_F(MainWindowAdapters, FieldsKeepTheirTextWithoutAUsableAdapter)
    {
        const struct {
            const char* what;
            std::vector<netinfo::AdapterInfo> adapters;
            int selected; // forced into the search page before the switch; -2: leave it
        } cases[] = {
            { "no adapter", {}, -2 },
            { "no adapter but index 0", {}, 0 },
            { "nothing selected", kTwoAdapters, -1 },
            { "index beyond the count", kTwoAdapters, 2 },
            { "index beyond the table", kTwoAdapters, 8 },
            { "three address parts", { MadeUpAdapter({ "10", "0", "5" }, "255.0.0.0") }, -2 },
            { "no address parts", { MadeUpAdapter({}, "255.0.0.0") }, -2 },
        };
        const QStringList previous { "a", "b", "c", "d" };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.what);
            Start(c.adapters);
            for (int field = 0; field < 4; ++field)
                Device().SetDlgItemText(kIpAddressField + field, previous[field]);
            if (c.selected != -2)
                Search().m_selectedAdapter = c.selected;
            ClickTab(CZeruruDlg::kDeviceTab);
            EXPECT_TRUE(Device().isVisible());
            EXPECT_EQ(Fields(), previous);
        }
    }

    TEST_F(MainWindowAdapters, CollectsOnceAndHandsTheAddressesToTheSearchPage)
    {
        int calls = 0;
        Start(TestParts([&calls](netinfo::AdapterTable& table) {
            ++calls;
            return TableOf(kTwoAdapters)(table);
        }));
        EXPECT_EQ(Search().m_adapterCount, 2);
        EXPECT_EQ(Search().m_adapterParts[1], kTwoAdapters[1].addressParts);
        EXPECT_TRUE(Search().m_adapterParts[2].empty());
        ClickTab(CZeruruDlg::kDeviceTab);
        ClickTab(CZeruruDlg::kSearchTab);
        EXPECT_EQ(calls, 1); // tab changes never collect again
    }

    TEST_F(MainWindowAdapters, DialogAndPagesFollowTheTemplate)
    {
        Start();
        const QSize dialogSize = MapDialogSize(QSize(319, 210), window->BaseUnits());
        EXPECT_EQ(window->size(), dialogSize);
        EXPECT_EQ(window->GetWindowText(), QStringLiteral("Tessory Tool"));
        EXPECT_FALSE(window->windowIcon().isNull());

        // The tab control fills the dialog; both pages lie over its page area
        // and leave the row of tabs free to click.
        CTabCtrl* tab = window->TabCtrl();
        EXPECT_EQ(tab->geometry(), QRect(QPoint(0, 0), dialogSize));
        // 23 pixels from the top unless the style's row of tabs needs more.
        const QRect pageRect = tab->geometry().adjusted(3, std::max(23, tab->PageArea().top() + 2), -3, -3);
        EXPECT_EQ(Search().geometry(), pageRect);
        EXPECT_EQ(Device().geometry(), pageRect);
        EXPECT_LT(tab->TabBar()->geometry().bottom(), pageRect.top());
        EXPECT_EQ(Search().Template().id, CSearchPage::IDD);
        EXPECT_EQ(Device().Template().id, CDevicePage::IDD);
    }

} // namespace
} // namespace quill::test
