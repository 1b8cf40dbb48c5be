// The main window over made-up adapter tables: collected at start and again
// on a change, and the check tab's four fields written at each switch and
// on a change while the tab is shown.
#include "MainWindowFixture.h"

#include "AdapterWatcher.h"

#include <atomic>

namespace quill::test {
namespace {

    // The second one's broken UTF-8 loses only its broken bytes; a fifth part is ignored.
    const std::vector<netinfo::AdapterInfo> kTwoAdapters {
        { { "10", "0", "5", "77" }, "255.255.255.0", "10.0.5.1", "10.0.5.2" },
        { { "198", "18", "0", "2", "9" }, "255.255.0.0", "網\xe7\xb6", "dns\x80.example" },
    };

    using MainWindowAdapters = MainWindowTest;

    TEST_F(MainWindowAdapters, CollectedOnceTheCheckTabShowsTheAdapterSelectedAtTheMomentOfTheSwitch)
    {
        int calls = 0;
        Start([&calls](netinfo::AdapterTable& table) { return ++calls, TableOf(kTwoAdapters)(table); });
        EXPECT_EQ(Search().m_adapterCount, 2);
        EXPECT_EQ(Search().m_adapterParts[1], (std::vector<std::string> { "198", "18", "0", "2" }));
        const std::pair<int, QString> switches[] = {
            { 0, QStringLiteral("10.0.5.77|255.255.255.0|10.0.5.1|10.0.5.2") },
            { 1, QStringLiteral("198.18.0.2|255.255.0.0|網|dns.example") },
            { 0, QStringLiteral("10.0.5.77|255.255.255.0|10.0.5.1|10.0.5.2") },
        };
        for (const auto& [adapter, fields] : switches) {
            ClickTab(CZeruruDlg::kSearchTab);
            ChooseEntry(*Search().GetDlgItemAs<CComboBox>(1002), adapter);
            ClickTab(CZeruruDlg::kDeviceTab);
            EXPECT_EQ(Fields(), fields);
        }
        EXPECT_EQ(calls, 1); // tab changes never collect again
    }

    TEST_F(MainWindowAdapters, CheckTabFollowsTheSelectedAdapterWhileShown)
    {
        const std::vector<netinfo::AdapterInfo> tables[] = {
            { { { "10", "0", "5", "77" }, "255.255.255.0", "10.0.5.1", "10.0.5.2", "eth0" } },
            { { { "10", "0", "6", "9" }, "255.255.0.0", "10.0.6.1", "", "eth0" } }, // readdressed
            { { { "10", "0", "6", "9" }, "255.255.0.0", "10.0.6.254", "", "wlan0" } }, // another one
            {}, // none
        };
        std::atomic<int> reading = 0;
        Start([&](netinfo::AdapterTable& table) { return TableOf(tables[reading])(table); });
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Fields(), QStringLiteral("10.0.5.77|255.255.255.0|10.0.5.1|10.0.5.2"));
        for (const QString& expected : { QStringLiteral("10.0.6.9|255.255.0.0|10.0.6.1|"),
                 QStringLiteral("10.0.6.9|255.255.0.0|10.0.6.254|"), QStringLiteral("|||") }) {
            ++reading;
            window->AdapterWatch()->Refresh();
            EXPECT_TRUE(QTest::qWaitFor([&] { return Fields() == expected; }, 5000))
                << Fields().toStdString();
        }
        EXPECT_EQ(window->Adapters().count, 0);
    }

    // No usable adapter at the switch: the fields keep the text they had, and
    // nothing is read out of range.
    TEST_F(MainWindowAdapters, FieldsKeepTheirTextWithoutAUsableAdapter)
    {
        const struct {
            std::vector<netinfo::AdapterInfo> adapters;
            int selected; // forced into the search page before the switch; -2: leave it
        } cases[] = {
            { {}, -2 },
            { {}, 0 },
            { kTwoAdapters, -1 },
            { kTwoAdapters, 2 },
            { kTwoAdapters, 8 },
            { { { { "10", "0", "5" }, "255.0.0.0" } }, -2 },
        };
        for (const auto& c : cases) {
            Start(TableOf(c.adapters));
            for (int id = 1024; id < 1028; ++id)
                Device().SetDlgItemText(id, QStringLiteral("kept"));
            if (c.selected != -2)
                Search().m_selectedAdapter = c.selected;
            ClickTab(CZeruruDlg::kDeviceTab);
            EXPECT_TRUE(Device().isVisible());
            EXPECT_EQ(Fields(), QStringLiteral("kept|kept|kept|kept"))
                << c.adapters.size() << " " << c.selected;
        }
    }

} // namespace
} // namespace quill::test
