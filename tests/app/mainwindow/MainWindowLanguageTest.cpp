#include "MainWindowFixture.h"
#include "StoredLanguage.h"

#include <QApplication>
#include <QTest>

#include <chrono>
#include <ostream>

namespace quill::test {
namespace {

    const QString kTitle = QStringLiteral("Tessory Tool");

    struct StartCase {
        const char* what;
        const char* config; // nullptr: no settings file
        LanguageId pageLanguage; // what the search page holds after start
        const char* fileHolds; // the file's "LANG" line afterwards, nullptr: no file
        bool rewritten; // whether start-up wrote the file
        QString label; // the search page's language label
        QString searchTab;
        QString checkTab;

        // Names the case in test listings.
        friend void PrintTo(const StartCase& c, std::ostream* out) { *out << c.what; }
    };

    class MainWindowStart : public MainWindowTest, public ::testing::WithParamInterface<StartCase> { };

    TEST_P(MainWindowStart, AppliesTheStoredLanguageAndRelabelsTheTabsOnceThePostedMessageArrives)
    {
        const StartCase& c = GetParam();
        const auto longAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
        if (c.config) {
            WriteConfig(c.config);
            std::filesystem::last_write_time(dir.file("Config.ini"), longAgo);
        }
        Start();

        // The search page has applied the language before start-up ended ...
        EXPECT_EQ(Search().m_language, c.pageLanguage);
        EXPECT_EQ(Search().GetDlgItemText(CLanguagePage::kLanguageLabelId), c.label);
        EXPECT_EQ(window->TabCtrl()->GetCurSel(), CZeruruDlg::kSearchTab);
        EXPECT_TRUE(Search().isVisible());
        EXPECT_FALSE(Device().isVisible());
        if (c.fileHolds) {
            EXPECT_NE(ConfigText().find(c.fileHolds), std::string::npos) << ConfigText();
            EXPECT_EQ(std::filesystem::last_write_time(dir.file("Config.ini")) != longAgo, c.rewritten);
        } else {
            EXPECT_FALSE(ConfigExists());
        }

        // ... while the tabs follow only when the announcement is handled.
        EXPECT_EQ(TabText(0), QStringLiteral("ORBEK Zeruru"));
        EXPECT_EQ(TabText(1), QStringLiteral("Network Check"));
        QTRY_COMPARE_WITH_TIMEOUT(TabText(0), c.searchTab, 5000);
        EXPECT_EQ(TabText(1), c.checkTab);
        EXPECT_EQ(window->GetWindowText(), kTitle);
    }

    INSTANTIATE_TEST_SUITE_P(MainWindow, MainWindowStart,
        ::testing::Values(
            StartCase { "NoFile", nullptr, kEnglish, nullptr, false, QStringLiteral("Language:"),
                QStringLiteral("ORBEK Zeruru"), QStringLiteral("Network Check") },
            StartCase { "TraditionalChinese", "[system]\nLANG=1\n", kTraditionalChinese, "LANG=1", true,
                QStringLiteral("語言:"), QStringLiteral("尋找ORBEK"), QStringLiteral("網路確認") },
            StartCase { "SimplifiedChinese", "[system]\nLANG=2\n", kSimplifiedChinese, "LANG=2", true,
                QStringLiteral("语言:"), QStringLiteral("寻找ORBEK"), QStringLiteral("网路确认") },
            // No such language: the selector shows nothing, the page stores -1
            // and writes it, its texts and the tabs stay English.
            StartCase { "OutsideTheTable", "[system]\nLANG=7\n", -1, "LANG=-1", true,
                QStringLiteral("Language:"), QStringLiteral("ORBEK Zeruru"),
                QStringLiteral("Network Check") },
            // Every later start from "-1" does the same again.
            StartCase { "MinusOneFromAnEarlierRun", "[system]\nLANG=-1\n", -1, "LANG=-1", true,
                QStringLiteral("Language:"), QStringLiteral("ORBEK Zeruru"),
                QStringLiteral("Network Check") },
            // atoi reads 0: English, which the page holds already, so no write.
            StartCase { "NoLeadingNumber", "[system]\nLANG=zh\n", kEnglish, "LANG=zh", false,
                QStringLiteral("Language:"), QStringLiteral("ORBEK Zeruru"),
                QStringLiteral("Network Check") }),
        [](const ::testing::TestParamInfo<StartCase>& info) { return std::string(info.param.what); });

    TEST_F(MainWindowTest, LanguagePickedOnTheCheckPageReachesTheSearchPageOnTheNextSwitchWithoutAWrite)
    {
        Start();
        ClickTab(CZeruruDlg::kDeviceTab);
        ASSERT_TRUE(Device().isVisible());
        ASSERT_FALSE(Search().isVisible());

        ChooseEntry(*Device().m_languageCombo, kSimplifiedChinese);
        EXPECT_EQ(ReadStoredLanguage(), kSimplifiedChinese);
        QTRY_COMPARE_WITH_TIMEOUT(TabText(0), QStringLiteral("寻找ORBEK"), 5000);
        EXPECT_EQ(TabText(1), QStringLiteral("网路确认"));
        // The hidden search page was not told.
        EXPECT_EQ(Search().m_language, kEnglish);
        EXPECT_EQ(Search().GetDlgItemText(CLanguagePage::kLanguageLabelId), QStringLiteral("Language:"));

        const std::string stored = ConfigText();
        const auto before = std::filesystem::last_write_time(dir.file("Config.ini")) - std::chrono::hours(1);
        std::filesystem::last_write_time(dir.file("Config.ini"), before);

        ClickTab(CZeruruDlg::kSearchTab);
        EXPECT_TRUE(Search().isVisible());
        EXPECT_FALSE(Device().isVisible());
        EXPECT_EQ(Search().m_language, kSimplifiedChinese);
        EXPECT_EQ(Search().GetDlgItemText(CLanguagePage::kLanguageLabelId), QStringLiteral("语言:"));
        EXPECT_EQ(Search().m_languageCombo->GetCurSel(), kSimplifiedChinese);
        EXPECT_EQ(std::filesystem::last_write_time(dir.file("Config.ini")), before);
        EXPECT_EQ(ConfigText(), stored);
        QApplication::processEvents();
        EXPECT_EQ(TabText(0), QStringLiteral("寻找ORBEK"));
        EXPECT_EQ(window->GetWindowText(), kTitle);
    }

    TEST_F(MainWindowTest, FileChangedBehindTheProgramIsReadAtTheNextTabChange)
    {
        Start();
        WriteConfig("[system]\nLANG=1\n");
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Device().m_language, kTraditionalChinese);
        EXPECT_EQ(Device().GetDlgItemText(CLanguagePage::kLanguageLabelId), QStringLiteral("語言:"));
        QTRY_COMPARE_WITH_TIMEOUT(TabText(1), QStringLiteral("網路確認"), 5000);
    }

    struct AnnouncementCase {
        WPARAM language;
        QString searchTab;
        QString checkTab;
    };

    TEST_F(MainWindowTest, AnnouncedLanguageRelabelsTheTabsAndKeepsTheTitle)
    {
        Start();
        const AnnouncementCase cases[] = {
            { 1, QStringLiteral("尋找ORBEK"), QStringLiteral("網路確認") },
            { 2, QStringLiteral("寻找ORBEK"), QStringLiteral("网路确认") },
            { 0, QStringLiteral("ORBEK Zeruru"), QStringLiteral("Network Check") },
            { 2, QStringLiteral("寻找ORBEK"), QStringLiteral("网路确认") },
            { static_cast<WPARAM>(-1), QStringLiteral("ORBEK Zeruru"), QStringLiteral("Network Check") },
            { 2, QStringLiteral("寻找ORBEK"), QStringLiteral("网路确认") },
            { 3, QStringLiteral("ORBEK Zeruru"), QStringLiteral("Network Check") },
        };
        for (const AnnouncementCase& c : cases) {
            SCOPED_TRACE(static_cast<long long>(c.language));
            EXPECT_EQ(window->SendMessage(WM_LANGUAGE_CHANGED, c.language, 0), 0);
            EXPECT_EQ(TabText(0), c.searchTab);
            EXPECT_EQ(TabText(1), c.checkTab);
            EXPECT_EQ(window->GetWindowText(), kTitle);
        }
    }

} // namespace
} // namespace quill::test
