#include "DialogUnits.h"
#include "MainWindowFixture.h"

#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <ostream>

namespace quill::test {
namespace {

    constexpr int kIpAddressField = 1024;
    constexpr int kSubnetMaskField = 1025;
    constexpr int kGatewayField = 1026;
    constexpr int kDnsServerField = 1027;
    constexpr int kAdapterCombo = 1002;

    const std::vector<netinfo::AdapterInfo> kTwoAdapters {
        MadeUpAdapter({ "10", "0", "5", "77" }, "255.255.255.0", "10.0.5.1", "10.0.5.2"),
        MadeUpAdapter({ "198", "18", "0", "20" }, "255.255.0.0", "", "198.18.0.53"),
    };

    class MainWindowAdapters : public MainWindowTest {
    protected:
        std::vector<QString> Fields() const
        {
            return { Device().GetDlgItemText(kIpAddressField), Device().GetDlgItemText(kSubnetMaskField),
                Device().GetDlgItemText(kGatewayField), Device().GetDlgItemText(kDnsServerField) };
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
        EXPECT_EQ(Fields(),
            (std::vector<QString> { QStringLiteral("10.0.5.77"), QStringLiteral("255.255.255.0"),
                QStringLiteral("10.0.5.1"), QStringLiteral("10.0.5.2") }));

        ClickTab(CZeruruDlg::kSearchTab);
        ChooseAdapter(1);
        ASSERT_EQ(Search().m_selectedAdapter, 1);
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Fields(),
            (std::vector<QString> { QStringLiteral("198.18.0.20"), QStringLiteral("255.255.0.0"), QString(),
                QStringLiteral("198.18.0.53") }));

        ClickTab(CZeruruDlg::kSearchTab);
        ChooseAdapter(0);
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Fields()[0], QStringLiteral("10.0.5.77"));
    }

    TEST_F(MainWindowAdapters, TextsThatAreNotUtf8LoseOnlyTheirBrokenBytes)
    {
        Start(
            { MadeUpAdapter({ "10", "0", "5", "7\xff" }, "255.255.255.0", "網\xe7\xb6", "dns\x80.example") });
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Fields(),
            (std::vector<QString> { QStringLiteral("10.0.5.7"), QStringLiteral("255.255.255.0"),
                QStringLiteral("網"), QStringLiteral("dns.example") }));
    }

    // What the check page shows when the switch finds no usable adapter: the
    // fields keep the text they had, and nothing is read out of range.
    struct NoAdapterCase {
        const char* what;
        std::vector<netinfo::AdapterInfo> adapters;
        int selected; // forced into the search page before the switch; -2: leave it

        // Names the case in test listings.
        friend void PrintTo(const NoAdapterCase& c, std::ostream* out) { *out << c.what; }
    };

    class NoUsableAdapter : public MainWindowAdapters,
                            public ::testing::WithParamInterface<NoAdapterCase> { };

    TEST_P(NoUsableAdapter, FieldsKeepTheirText)
    {
        const NoAdapterCase& c = GetParam();
        Start(c.adapters);
        const std::vector<QString> previous { QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"),
            QStringLiteral("d") };
        for (int field = 0; field < 4; ++field)
            Device().SetDlgItemText(kIpAddressField + field, previous[static_cast<std::size_t>(field)]);
        if (c.selected != -2)
            Search().m_selectedAdapter = c.selected;

        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_TRUE(Device().isVisible());
        EXPECT_EQ(Fields(), previous);
        ClickTab(CZeruruDlg::kSearchTab);
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Fields(), previous);
    }

    INSTANTIATE_TEST_SUITE_P(MainWindow, NoUsableAdapter,
        ::testing::Values(NoAdapterCase { "NoAdapter", {}, -2 },
            NoAdapterCase { "NoAdapterButIndexZero", {}, 0 },
            NoAdapterCase { "NothingSelected", kTwoAdapters, -1 },
            NoAdapterCase { "IndexBeyondTheCount", kTwoAdapters, 2 },
            NoAdapterCase { "IndexBeyondTheTable", kTwoAdapters, 8 },
            NoAdapterCase {
                "ThreeAddressParts", { MadeUpAdapter({ "10", "0", "5" }, "255.0.0.0", "", "") }, -2 },
            NoAdapterCase { "NoAddressParts", { MadeUpAdapter({}, "255.0.0.0", "", "") }, -2 }),
        [](const ::testing::TestParamInfo<NoAdapterCase>& info) { return std::string(info.param.what); });

    TEST_F(MainWindowAdapters, MoreThanFourAddressPartsUseTheFirstFour)
    {
        Start({ MadeUpAdapter({ "10", "0", "5", "77", "9" }, "255.0.0.0", "", "") });
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Fields()[0], QStringLiteral("10.0.5.77"));
    }

    TEST_F(MainWindowAdapters, CollectsOnceInOrderAndHandsTheAddressesToTheSearchPage)
    {
        std::vector<std::string> calls;
        auto parts = TestParts([&calls](netinfo::AdapterTable&) {
            calls.push_back("report");
            return true;
        });
        parts.collectors.adapterList = [&calls](netinfo::AdapterTable& table) {
            calls.push_back("list");
            return TableOf(kTwoAdapters)(table) && false; // the result is not looked at
        };
        Start(std::move(parts));
        EXPECT_EQ(calls, (std::vector<std::string> { "report", "report", "list" }));
        EXPECT_EQ(window->Adapters().count, 2);
        EXPECT_EQ(Search().m_adapterCount, 2);
        EXPECT_EQ(Search().m_adapterParts[0], kTwoAdapters[0].addressParts);
        EXPECT_EQ(Search().m_adapterParts[1], kTwoAdapters[1].addressParts);
        EXPECT_TRUE(Search().m_adapterParts[2].empty());

        // Tab changes never collect again.
        ClickTab(CZeruruDlg::kDeviceTab);
        ClickTab(CZeruruDlg::kSearchTab);
        EXPECT_EQ(calls.size(), 3u);
    }

    TEST_F(MainWindowAdapters, DialogAndPagesFollowTheTemplate)
    {
        Start();
        const DialogBaseUnits base = window->BaseUnits();
        const QSize dialogSize = MapDialogSize(QSize(319, 210), base);
        EXPECT_EQ(window->size(), dialogSize);
        EXPECT_EQ(window->Template().id, CZeruruDlg::IDD);
        EXPECT_EQ(window->GetWindowText(), QStringLiteral("Tessory Tool"));
        EXPECT_FALSE(window->windowIcon().isNull());

        // The tab control fills the dialog; both pages lie over its page area.
        CTabCtrl* tab = window->TabCtrl();
        ASSERT_EQ(window->GetDlgItem(1010), tab);
        EXPECT_EQ(tab->geometry(), QRect(QPoint(0, 0), dialogSize));
        // 23 pixels from the top unless the style's row of tabs needs more.
        const int top = std::max(23, tab->PageArea().top() + 2);
        const QRect pageRect = tab->geometry().adjusted(3, top, -3, -3);
        EXPECT_EQ(Search().geometry(), pageRect);
        EXPECT_EQ(Device().geometry(), pageRect);
        EXPECT_EQ(Search().parentWidget(), window.get());
        EXPECT_EQ(Device().parentWidget(), window.get());
        // The pages leave the row of tabs free to click.
        EXPECT_LT(tab->TabBar()->geometry().bottom(), pageRect.top());

        EXPECT_EQ(tab->GetItemCount(), 2);
        EXPECT_EQ(Search().Template().id, CSearchPage::IDD);
        EXPECT_EQ(Device().Template().id, CDevicePage::IDD);
    }

    TEST_F(MainWindowAdapters, CloseRequestEndsTheModalRunAndDestroyingTheWindowDestroysThePages)
    {
        Start(kTwoAdapters);
        QPointer<CSearchPage> search = &Search();
        QPointer<CDevicePage> device = &Device();
        QTimer::singleShot(0, window.get(), [this] { window->SendMessage(WM_CLOSE); });
        EXPECT_EQ(window->DoModal(), IDCANCEL);
        EXPECT_FALSE(window->isVisible());
        window.reset();
        EXPECT_TRUE(search.isNull());
        EXPECT_TRUE(device.isNull());
    }

} // namespace
} // namespace quill::test
