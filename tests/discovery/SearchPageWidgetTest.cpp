// The search page's controls on the offscreen platform: the result list, the
// adapter list and the range rule, Search, and the language texts with the
// settings file in a temporary working directory.
#include "SearchPageTestSupport.h"

#include "CComboBox.h"
#include "CIPAddressCtrl.h"
#include "StoredLanguage.h"
#include "TempDir.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace quill::discovery::test;
using namespace std::chrono_literals;
using quill::test::ReadWholeFile;
using Octets = CSearchPage::Ipv4Octets;

class SearchPageWidgets : public ::testing::Test {
protected:
    // Creates the page with the adapters given, as the main window does.
    void CreatePage(const std::vector<std::vector<std::string>>& adapters, std::optional<int> count = {})
    {
        main.Create(nullptr);
        page = std::make_unique<CSearchPage>(DiscoveryPorts { FreeUdpPort(), collector.port() });
        page->m_adapterCount = count.value_or(static_cast<int>(adapters.size()));
        for (std::size_t i = 0; i < adapters.size() && i < page->m_adapterParts.size(); ++i)
            page->m_adapterParts[i] = adapters[i];
        page->Create(&main);
    }

    CComboBox& AdapterCombo() { return *page->GetDlgItemAs<CComboBox>(1002); }
    CIPAddressCtrl& Begin() { return *page->GetDlgItemAs<CIPAddressCtrl>(1000); }
    CIPAddressCtrl& End() { return *page->GetDlgItemAs<CIPAddressCtrl>(1001); }
    void ClickSearch() { QTest::mouseClick(page->GetDlgItemAs<QPushButton>(1007), Qt::LeftButton); }

    // The user picks an entry of a drop-down list.
    static void Choose(CComboBox& combo, int index)
    {
        combo.setCurrentIndex(index);
        Q_EMIT combo.activated(index);
    }

    // The user replaces the text of one field of an address control.
    static void Type(CIPAddressCtrl& address, int field, const QString& text)
    {
        address.Field(field)->selectAll();
        QTest::keyClicks(address.Field(field), text);
    }

    bool ConfigExists() const { return std::filesystem::exists(dir.file("Config.ini")); }

    quill::test::TempDir dir;
    quill::test::ScopedWorkingDir cwd { dir.path() };
    MessageBoxCloser closer;
    UdpPeer collector;
    TestMainWindow main;
    std::unique_ptr<CSearchPage> page;
};

TEST_F(SearchPageWidgets, ResultListHasFourCentredColumnsInItsSlot)
{
    CreatePage({});
    ListCtrlEx::CListCtrlEx& list = page->ResultList();
    EXPECT_EQ(page->GetDlgItem(1003), &list);
    EXPECT_EQ(list.geometry(), page->MapDialogRect(QRect(9, 56, 300, 96)));
    const std::pair<QString, int> columns[] { { "No.", 50 }, { "IP Address", 130 }, { "MAC Address", 130 },
        { "F/W Version", 130 } };
    ASSERT_EQ(list.GetColumnCount(), 4);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(list.model()->headerData(c, Qt::Horizontal).toString(), columns[c].first);
        EXPECT_EQ(list.horizontalHeader()->sectionSize(c), columns[c].second);
        EXPECT_EQ(list.GetColumnFormat(c), ListCtrlEx::LVCFMT_CENTER);
    }
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(list.showGrid());
}

TEST_F(SearchPageWidgets, AdapterRecordsThatCannotNameANetworkAreNotReadBeyondTheirEnd)
{
    // A count beyond the table and a slot with too few parts: the combo lists
    // what there is, the range falls back to the default.
    CreatePage({ { "10", "1" }, { "10", "2", "3", "4" } }, 12);
    ASSERT_EQ(AdapterCombo().GetCount(), 8);
    EXPECT_EQ(AdapterCombo().GetLBText(0), QStringLiteral("10.1.."));
    EXPECT_EQ(AdapterCombo().GetLBText(2), QStringLiteral("..."));
    EXPECT_EQ(page->BeginAddress(), (Octets { 192, 168, 1, 1 }));

    Choose(AdapterCombo(), 1);
    EXPECT_EQ(page->BeginAddress(), (Octets { 10, 2, 3, 0 }));
    // An empty slot leaves the range as it was.
    Choose(AdapterCombo(), 5);
    EXPECT_EQ(page->m_selectedAdapter, 5);
    EXPECT_EQ(page->EndAddress(), (Octets { 10, 2, 3, 255 }));

    // No adapter (or a count below zero): the default range, nothing selected.
    page.reset();
    CreatePage({ { "10", "1", "1", "1" } }, -4);
    EXPECT_EQ(AdapterCombo().GetCount(), 0);
    EXPECT_EQ(AdapterCombo().GetCurSel(), -1);
    EXPECT_EQ(Begin().GetAddress(), (Octets { 192, 168, 1, 1 }));
    EXPECT_EQ(End().GetAddress(), (Octets { 192, 168, 1, 1 }));
}

TEST_F(SearchPageWidgets, EndAddressFollowsTheBeginsNetwork)
{
    // The first adapter is selected and gives its whole network.
    CreatePage({ { "10", "0", "5", "77" }, { "192", "168", "40", "2" } });
    EXPECT_EQ(AdapterCombo().GetLBText(0), QStringLiteral("10.0.5.77"));
    EXPECT_EQ(AdapterCombo().GetCurSel(), 0);
    EXPECT_EQ(Begin().GetAddress(), (Octets { 10, 0, 5, 0 }));

    // The end's first three fields are the begin's: what is typed there goes back.
    Type(End(), 0, QStringLiteral("172"));
    EXPECT_EQ(End().Field(0)->text(), QStringLiteral("10"));
    EXPECT_EQ(page->EndAddress(), (Octets { 10, 0, 5, 255 }));

    // The begin's first fields carry the end along; the end's last field stays.
    Type(Begin(), 0, QStringLiteral("172"));
    EXPECT_EQ(End().GetAddress(), (Octets { 172, 0, 5, 255 }));
    Type(Begin(), 2, QString());
    QTest::keyClick(Begin().Field(2), Qt::Key_Backspace);
    EXPECT_EQ(page->EndAddress(), (Octets { 172, 0, 0, 255 })); // an empty field reads 0

    // Last octets are the user's own; nothing compares them, a begin above
    // the end searches nothing.
    Type(Begin(), 3, QStringLiteral("200"));
    Type(End(), 3, QStringLiteral("100"));
    EXPECT_EQ(Begin().GetAddress(), (Octets { 172, 0, 0, 200 }));
    EXPECT_EQ(End().GetAddress(), (Octets { 172, 0, 0, 100 }));
    ClickSearch();
    EXPECT_TRUE(collector.collect(1, 100ms).empty());

    // Another adapter replaces both addresses, the typed last octets too.
    Choose(AdapterCombo(), 1);
    EXPECT_EQ(Begin().GetAddress(), (Octets { 192, 168, 40, 0 }));
    EXPECT_EQ(End().GetAddress(), (Octets { 192, 168, 40, 255 }));

    // SetRange keeps the rule whoever calls it.
    page->SetRange({ 127, 0, 0, 7 }, { 10, 20, 30, 9 });
    EXPECT_EQ(End().GetAddress(), (Octets { 127, 0, 0, 9 }));
    ClickSearch();
    EXPECT_EQ(collector.collect(5, 300ms), (std::vector<std::string> { "update", "update", "update" }));
}

TEST_F(SearchPageWidgets, ChoosingALanguageRewritesStoresAndAnnouncesIt)
{
    struct LanguageCase {
        LanguageId language;
        std::vector<QString> labels; // 1004, 1005, 1006, 1007, 1009
        std::vector<QString> entries;
    };
    const LanguageCase english { 0,
        { "Ethernet Card List:", "Begining: ", "End Address: ", "Search", "Language:" },
        { "English", "Traditional Chinese", "Simplified Chinese" } };
    const LanguageCase cases[] {
        english,
        { 1, { "網路卡列表:", "起始地址:", "結束地址:", "搜尋", "語言:" },
            { "英語", "繁體中文", "簡體中文" } },
        english,
        { 2, { "网路卡列表:", "起始地址:", "结束地址:", "搜寻", "语言:" },
            { "英语", "繁体中文", "简体中文" } },
    };
    CreatePage({ { "10", "0", "5", "77" } });
    // Until a language is applied the page shows the template's texts.
    EXPECT_EQ(page->GetDlgItemText(1005), QStringLiteral("Begining :"));
    EXPECT_EQ(page->GetDlgItemText(1006), QStringLiteral("End :"));

    for (const LanguageCase& c : cases) {
        Choose(*page->m_languageCombo, c.language);
        const int ids[] { 1004, 1005, 1006, 1007, 1009 };
        for (std::size_t i = 0; i < std::size(ids); ++i)
            EXPECT_EQ(page->GetDlgItemText(ids[i]), c.labels[i]) << c.language << " " << ids[i];
        ASSERT_EQ(page->m_languageCombo->GetCount(), 3);
        for (int e = 0; e < 3; ++e)
            EXPECT_EQ(page->m_languageCombo->GetLBText(e), c.entries[static_cast<std::size_t>(e)]);
        EXPECT_EQ(page->m_languageCombo->GetCurSel(), c.language);
        // English first equals the stored 0, so nothing is written yet.
        if (c.language != 0 || ConfigExists()) {
            EXPECT_EQ(ReadStoredLanguage(), c.language);
        }
    }
    EXPECT_TRUE(main.announced.empty()); // posted, not sent
    QApplication::processEvents();
    EXPECT_EQ(main.announced, (std::vector<LanguageId> { 0, 1, 0, 2 }));

    // The language already in use is not written again, but still announced.
    std::filesystem::remove(dir.file("Config.ini"));
    Choose(*page->m_languageCombo, 2);
    QApplication::processEvents();
    EXPECT_FALSE(ConfigExists());
    EXPECT_EQ(main.announced.size(), 5u);
}

TEST_F(SearchPageWidgets, StoredLanguageAtStartAndOutsideTheTable)
{
    CreatePage({});
    // What the main window does at start: select the stored number and
    // deliver the selection change at once.
    page->m_languageCombo->SetCurSel(2);
    page->SendMessage(WM_COMMAND, MakeWParam(1008, CBN_SELCHANGE));
    EXPECT_EQ(page->GetDlgItemText(1007), QStringLiteral("搜寻"));
    EXPECT_EQ(ReadStoredLanguage(), 2);

    // 7 is no language: the selector shows nothing, -1 is stored and written,
    // the texts stay as they were.
    page->m_languageCombo->SetCurSel(7);
    page->SendMessage(WM_COMMAND, MakeWParam(1008, CBN_SELCHANGE));
    EXPECT_EQ(page->m_language, -1);
    EXPECT_NE(ReadWholeFile(dir.file("Config.ini")).find("LANG=-1"), std::string::npos);
    EXPECT_EQ(page->GetDlgItemText(1007), QStringLiteral("搜寻"));
    EXPECT_EQ(page->m_languageCombo->GetCurSel(), -1);
    page->ApplyLanguage(3);
    EXPECT_EQ(page->GetDlgItemText(1004), QStringLiteral("网路卡列表:"));
    QApplication::processEvents();
    EXPECT_EQ(main.announced, (std::vector<LanguageId> { 2, -1 }));
}

TEST_F(SearchPageWidgets, ShowingOrHidingThePageReappliesItsLanguageWithoutWriting)
{
    CreatePage({});
    main.ShowWindow(true);
    page->m_language = 2; // as the main window does on a tab change
    page->ShowWindow(true);
    EXPECT_EQ(page->GetDlgItemText(1004), QStringLiteral("网路卡列表:"));
    EXPECT_EQ(page->m_languageCombo->GetCurSel(), 2);

    page->m_language = 1;
    page->ShowWindow(false);
    EXPECT_EQ(page->GetDlgItemText(1007), QStringLiteral("搜尋"));
    EXPECT_FALSE(ConfigExists());
    QApplication::processEvents();
    EXPECT_EQ(main.announced, (std::vector<LanguageId> { 2, 1 }));
}

} // namespace
