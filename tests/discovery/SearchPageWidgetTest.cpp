// The search page's controls on the offscreen platform: template 2000, the
// result list, the adapter list and the range rule, Search, and the language
// texts with the settings file in a temporary working directory.
#include "SearchPageTestSupport.h"

#include "CComboBox.h"
#include "CIPAddressCtrl.h"
#include "SearchPageTemplate.h"
#include "StoredLanguage.h"
#include "TempDir.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <optional>

namespace {

using namespace quill::discovery::test;
using namespace std::chrono_literals;
using quill::test::ReadWholeFile;
using quill::test::ScopedWorkingDir;
using quill::test::TempDir;
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
    QPushButton& Search() { return *page->GetDlgItemAs<QPushButton>(1007); }

    // The user picks an entry of a drop-down list.
    static void Choose(CComboBox& combo, int index)
    {
        combo.setCurrentIndex(index);
        Q_EMIT combo.activated(index);
    }

    // The user replaces the text of one field of an address control.
    static void Type(CIPAddressCtrl& address, int field, const QString& text)
    {
        QLineEdit* edit = address.Field(field);
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }

    bool ConfigExists() const { return std::filesystem::exists(dir.file("Config.ini")); }

    TempDir dir;
    ScopedWorkingDir cwd { dir.path() };
    MessageBoxCloser closer;
    DatagramCollector collector;
    TestMainWindow main;
    std::unique_ptr<CSearchPage> page;
};

TEST_F(SearchPageWidgets, TemplateHoldsEveryControlWithItsTextAndRectangle)
{
    const DialogTemplate page2000 = searchpage::SearchPageTemplate();
    EXPECT_EQ(page2000.id, 2000);
    EXPECT_EQ(CSearchPage::IDD, 2000);
    EXPECT_EQ(page2000.size, QSize(316, 190));
    EXPECT_TRUE(page2000.caption.isEmpty());
    EXPECT_EQ(page2000.fontFamily, QStringLiteral("MS Shell Dlg"));
    EXPECT_EQ(page2000.fontPointSize, 8);

    struct Expected {
        int id;
        ControlKind kind;
        const char* text;
        QRect rect;
    };
    const std::vector<Expected> expected {
        { 1000, ControlKind::IpAddress, "", QRect(168, 12, 100, 15) },
        { 1001, ControlKind::IpAddress, "", QRect(168, 34, 100, 15) },
        { 1002, ControlKind::DropDownList, "", QRect(47, 13, 71, 30) },
        { 1004, ControlKind::Static, "Ethernet Card List:", QRect(1, 14, 44, 18) },
        { 1005, ControlKind::Static, "Begining :", QRect(122, 14, 44, 17) },
        { 1006, ControlKind::Static, "End :", QRect(122, 36, 43, 14) },
        { 1003, ControlKind::List, "", QRect(9, 56, 300, 96) },
        { 1007, ControlKind::Button, "Search", QRect(270, 12, 40, 36) },
        { 1009, ControlKind::Static, "Language:", QRect(197, 175, 36, 10) },
        { 1008, ControlKind::DropDownList, "", QRect(236, 172, 80, 30) },
    };
    ASSERT_EQ(page2000.controls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const ControlTemplate& control = page2000.controls[i];
        EXPECT_EQ(control.id, expected[i].id) << i;
        EXPECT_EQ(control.kind, expected[i].kind) << control.id;
        EXPECT_EQ(control.text, QString::fromUtf8(expected[i].text)) << control.id;
        EXPECT_EQ(control.rect, expected[i].rect) << control.id;
    }
    EXPECT_TRUE(page2000.Find(1002)->flags.testFlag(ControlFlag::VerticalScroll));
    EXPECT_TRUE(page2000.Find(1008)->flags.testFlag(ControlFlag::VerticalScroll));
    EXPECT_TRUE(page2000.Find(1003)->flags.testFlag(ControlFlag::Border));
    EXPECT_TRUE(page2000.Find(1007)->flags.testFlag(ControlFlag::Flat));

    // The built page: the list in its slot, controls where the template puts them.
    CreatePage({});
    EXPECT_EQ(page->GetDlgItem(1003), &page->ResultList());
    EXPECT_EQ(page->GetDlgItem(1003)->geometry(), page->MapDialogRect(QRect(9, 56, 300, 96)));
    EXPECT_EQ(page->GetDlgItem(1007)->geometry(), page->MapDialogRect(QRect(270, 12, 40, 36)));
    EXPECT_EQ(page->size(), page->MapDialogRect(QRect(0, 0, 316, 190)).size());
}

TEST_F(SearchPageWidgets, ResultListHasFourCentredColumns)
{
    CreatePage({});
    ListCtrlEx::CListCtrlEx& list = page->ResultList();
    const std::vector<std::pair<QString, int>> columns { { "No.", 50 }, { "IP Address", 130 },
        { "MAC Address", 130 }, { "F/W Version", 130 } };
    ASSERT_EQ(list.GetColumnCount(), 4);
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(list.model()->headerData(c, Qt::Horizontal).toString(), columns[c].first);
        EXPECT_EQ(list.horizontalHeader()->sectionSize(c), columns[c].second);
        EXPECT_EQ(list.GetColumnFormat(c), ListCtrlEx::LVCFMT_CENTER);
        EXPECT_EQ(list.GetColumnType(c), ListCtrlEx::ColumnType::Text);
    }
    EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_TRUE(list.showGrid());
    EXPECT_EQ(list.palette().color(QPalette::Inactive, QPalette::Highlight),
        list.palette().color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(list.GetOptions(), 0u);
    EXPECT_EQ(list.GetItemCount(), 0);
}

TEST_F(SearchPageWidgets, OneAdapterGivesItsWholeNetwork)
{
    CreatePage({ { "10", "0", "5", "77" } });
    ASSERT_EQ(AdapterCombo().GetCount(), 1);
    EXPECT_EQ(AdapterCombo().GetLBText(0), QStringLiteral("10.0.5.77"));
    EXPECT_EQ(AdapterCombo().GetCurSel(), 0);
    EXPECT_EQ(page->m_selectedAdapter, 0);
    EXPECT_EQ(Begin().GetAddress(), (Octets { 10, 0, 5, 0 }));
    EXPECT_EQ(End().GetAddress(), (Octets { 10, 0, 5, 255 }));
    EXPECT_EQ(page->BeginAddress(), (Octets { 10, 0, 5, 0 }));
    EXPECT_EQ(page->EndAddress(), (Octets { 10, 0, 5, 255 }));
}

TEST_F(SearchPageWidgets, NoAdapterGivesTheDefaultRange)
{
    CreatePage({});
    EXPECT_EQ(AdapterCombo().GetCount(), 0);
    EXPECT_EQ(AdapterCombo().GetCurSel(), -1);
    EXPECT_EQ(Begin().GetAddress(), (Octets { 192, 168, 1, 1 }));
    EXPECT_EQ(End().GetAddress(), (Octets { 192, 168, 1, 1 }));
    // Search sends one query, to 192.168.1.1 on the query port.
    EXPECT_EQ(page->BeginAddress(), page->EndAddress());
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
    EXPECT_EQ(page->m_selectedAdapter, 1);
    EXPECT_EQ(page->BeginAddress(), (Octets { 10, 2, 3, 0 }));
    // An empty slot leaves the range as it was.
    Choose(AdapterCombo(), 5);
    EXPECT_EQ(page->m_selectedAdapter, 5);
    EXPECT_EQ(page->EndAddress(), (Octets { 10, 2, 3, 255 }));

    page.reset();
    CreatePage({ { "10", "1", "1", "1" } }, -4);
    EXPECT_EQ(AdapterCombo().GetCount(), 0);
    EXPECT_EQ(page->BeginAddress(), (Octets { 192, 168, 1, 1 }));
}

TEST_F(SearchPageWidgets, EndAddressFollowsTheBeginsNetwork)
{
    CreatePage({ { "10", "0", "5", "77" }, { "192", "168", "40", "2" } });

    // The end's first three fields are the begin's: what is typed there goes back.
    Type(End(), 0, QStringLiteral("172"));
    EXPECT_EQ(End().Field(0)->text(), QStringLiteral("10"));
    EXPECT_EQ(page->EndAddress(), (Octets { 10, 0, 5, 255 }));

    // The begin's first fields carry the end along; the end's last field stays.
    Type(Begin(), 0, QStringLiteral("172"));
    EXPECT_EQ(page->BeginAddress(), (Octets { 172, 0, 5, 0 }));
    EXPECT_EQ(End().GetAddress(), (Octets { 172, 0, 5, 255 }));
    Type(Begin(), 2, QString());
    QTest::keyClick(Begin().Field(2), Qt::Key_Backspace);
    EXPECT_EQ(page->EndAddress(), (Octets { 172, 0, 0, 255 })); // an empty field reads 0

    // Last octets are the user's own; nothing compares them.
    Type(Begin(), 3, QStringLiteral("200"));
    Type(End(), 3, QStringLiteral("100"));
    EXPECT_EQ(Begin().GetAddress(), (Octets { 172, 0, 0, 200 }));
    EXPECT_EQ(End().GetAddress(), (Octets { 172, 0, 0, 100 }));
    QTest::mouseClick(&Search(), Qt::LeftButton);
    EXPECT_TRUE(collector.collect(1, 100ms).empty());

    // Another adapter replaces both addresses, the typed last octets too.
    Choose(AdapterCombo(), 1);
    EXPECT_EQ(page->m_selectedAdapter, 1);
    EXPECT_EQ(Begin().GetAddress(), (Octets { 192, 168, 40, 0 }));
    EXPECT_EQ(End().GetAddress(), (Octets { 192, 168, 40, 255 }));
}

TEST_F(SearchPageWidgets, SetRangeKeepsTheRuleWhoeverCallsIt)
{
    CreatePage({});
    page->SetRange({ 127, 0, 0, 7 }, { 10, 20, 30, 9 });
    EXPECT_EQ(page->EndAddress(), (Octets { 127, 0, 0, 9 }));
    EXPECT_EQ(End().GetAddress(), (Octets { 127, 0, 0, 9 }));
    QTest::mouseClick(&Search(), Qt::LeftButton);
    EXPECT_EQ(collector.collect(5, 300ms), (std::vector<std::string> { "update", "update", "update" }));
}

TEST_F(SearchPageWidgets, SearchEmptiesTheListFirst)
{
    CreatePage({});
    page->SetRange({ 127, 0, 0, 1 }, { 127, 0, 0, 1 });
    for (int i = 0; i < 3; ++i)
        page->AddDeviceRow({ "10.0.0." + std::to_string(i), "sn", "mac", "name", "fw" });
    ASSERT_EQ(page->ResultList().GetItemCount(), 3);
    EXPECT_EQ(page->ResultList().GetItemText(2, 0), QStringLiteral("3"));
    QTest::mouseClick(&Search(), Qt::LeftButton);
    EXPECT_EQ(page->ResultList().GetItemCount(), 0);
    EXPECT_EQ(collector.collect(2, 300ms).size(), 1u);
    page->AddDeviceRow({ "10.0.0.9", "sn", "mac", "name", "fw" });
    EXPECT_EQ(page->ResultList().GetItemText(0, 0), QStringLiteral("1"));
    EXPECT_TRUE(Search().isEnabled());
}

struct LanguageCase {
    LanguageId language;
    std::vector<QString> labels; // 1004, 1005, 1006, 1007, 1009
    std::vector<QString> entries;
};

const std::vector<LanguageCase> kLanguageCases {
    { 0, { "Ethernet Card List:", "Begining: ", "End Address: ", "Search", "Language:" },
        { "English", "Traditional Chinese", "Simplified Chinese" } },
    { 1, { "網路卡列表:", "起始地址:", "結束地址:", "搜尋", "語言:" }, { "英語", "繁體中文", "簡體中文" } },
    { 2, { "网路卡列表:", "起始地址:", "结束地址:", "搜寻", "语言:" }, { "英语", "繁体中文", "简体中文" } },
};

TEST_F(SearchPageWidgets, ChoosingALanguageRewritesStoresAndAnnouncesIt)
{
    CreatePage({ { "10", "0", "5", "77" } });
    // Until a language is applied the page shows the template's texts.
    EXPECT_EQ(page->GetDlgItemText(1005), QStringLiteral("Begining :"));
    EXPECT_EQ(page->GetDlgItemText(1006), QStringLiteral("End :"));
    EXPECT_EQ(page->m_language, 0);
    EXPECT_EQ(page->m_languageCombo->GetLBText(1), QStringLiteral("Traditional Chinese"));

    // English first: it equals the stored 0, so nothing is written.
    for (const LanguageCase& c :
        { kLanguageCases[0], kLanguageCases[1], kLanguageCases[2], kLanguageCases[0] }) {
        Choose(*page->m_languageCombo, c.language);
        const std::vector<int> ids { 1004, 1005, 1006, 1007, 1009 };
        for (std::size_t i = 0; i < ids.size(); ++i)
            EXPECT_EQ(page->GetDlgItemText(ids[i]), c.labels[i]) << c.language << " " << ids[i];
        ASSERT_EQ(page->m_languageCombo->GetCount(), 3);
        for (int e = 0; e < 3; ++e)
            EXPECT_EQ(page->m_languageCombo->GetLBText(e), c.entries[static_cast<std::size_t>(e)]);
        EXPECT_EQ(page->m_languageCombo->GetCurSel(), c.language);
        EXPECT_EQ(page->m_language, c.language);
        // Column headings are the same in every language.
        EXPECT_EQ(page->ResultList().model()->headerData(1, Qt::Horizontal).toString(),
            QStringLiteral("IP Address"));
        if (c.language == 0 && !ConfigExists())
            continue;
        EXPECT_EQ(ReadStoredLanguage(), c.language);
    }
    QApplication::processEvents();
    EXPECT_EQ(main.announced, (std::vector<LanguageId> { 0, 1, 2, 0 }));
}

TEST_F(SearchPageWidgets, TraditionalChineseTwiceWritesOnceAndAnnouncesTwice)
{
    CreatePage({});
    EXPECT_FALSE(ConfigExists());
    Choose(*page->m_languageCombo, 1);
    EXPECT_NE(ReadWholeFile(dir.file("Config.ini")).find("LANG=1"), std::string::npos);
    EXPECT_TRUE(main.announced.empty()); // posted, not sent
    QApplication::processEvents();
    EXPECT_EQ(main.announced, std::vector<LanguageId> { 1 });

    std::filesystem::remove(dir.file("Config.ini"));
    Choose(*page->m_languageCombo, 1);
    QApplication::processEvents();
    EXPECT_FALSE(ConfigExists());
    EXPECT_EQ(main.announced, (std::vector<LanguageId> { 1, 1 }));
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
    EXPECT_FALSE(ConfigExists());

    page->m_language = 1;
    page->ShowWindow(false);
    EXPECT_EQ(page->GetDlgItemText(1007), QStringLiteral("搜尋"));
    EXPECT_FALSE(ConfigExists());
    QApplication::processEvents();
    EXPECT_EQ(main.announced, (std::vector<LanguageId> { 2, 1 }));
}

} // namespace
