// The stored language at start and at every tab change, and the tab labels
// that follow the posted language announcement.
#include "MainWindowFixture.h"
#include "StoredLanguage.h"

#include <chrono>

namespace quill::test {
namespace {

    namespace fs = std::filesystem;

    struct StartCase {
        const char* what;
        const char* config; // nullptr: no settings file
        LanguageId pageLanguage; // what the search page holds after start
        const char* fileHolds; // the file's "LANG" line afterwards, nullptr: no file
        bool rewritten; // whether start-up wrote the file
        QString label; // the search page's language label
        QString searchTab;
        QString checkTab;
        friend void PrintTo(const StartCase& c, std::ostream* out) { *out << c.what; }
    };

    class MainWindowStart : public MainWindowTest, public ::testing::WithParamInterface<StartCase> { };

    TEST_P(MainWindowStart, AppliesTheStoredLanguageAndRelabelsTheTabsOnceThePostedMessageArrives)
    {
        const StartCase& c = GetParam();
        const auto longAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);
        if (c.config) {
            WriteWholeFile(dir.file("Config.ini"), c.config);
            fs::last_write_time(dir.file("Config.ini"), longAgo);
        }
        Start();

        // The search page has applied the language before start-up ended ...
        EXPECT_EQ(Search().m_language, c.pageLanguage);
        EXPECT_EQ(Search().GetDlgItemText(CLanguagePage::kLanguageLabelId), c.label);
        EXPECT_TRUE(Search().isVisible());
        EXPECT_FALSE(Device().isVisible());
        if (c.fileHolds) {
            EXPECT_NE(ConfigText().find(c.fileHolds), std::string::npos) << ConfigText();
            EXPECT_EQ(fs::last_write_time(dir.file("Config.ini")) != longAgo, c.rewritten);
        } else {
            EXPECT_FALSE(ConfigExists());
        }

        // ... while the tabs follow only when the announcement is handled.
        EXPECT_EQ(TabText(0), QStringLiteral("ORBEK Zeruru"));
        QTRY_COMPARE_WITH_TIMEOUT(TabText(0), c.searchTab, 5000);
        EXPECT_EQ(TabText(1), c.checkTab);
    }

    INSTANTIATE_TEST_SUITE_P(MainWindow, MainWindowStart,
        ::testing::Values(
            StartCase { "NoFile", nullptr, kEnglish, nullptr, false, QStringLiteral("Language:"),
                QStringLiteral("ORBEK Zeruru"), QStringLiteral("Network Check") },
            StartCase { "TraditionalChinese", "[system]\nLANG=1\n", kTraditionalChinese, "LANG=1", true,
                QStringLiteral("語言:"), QStringLiteral("尋找ORBEK"), QStringLiteral("網路確認") },
            // No such language: the selector shows nothing, the page stores -1
            // and writes it, its texts and the tabs stay English.
            StartCase { "OutsideTheTable", "[system]\nLANG=7\n", -1, "LANG=-1", true,
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
        ChooseEntry(*Device().m_languageCombo, kSimplifiedChinese);
        EXPECT_EQ(ReadStoredLanguage(), kSimplifiedChinese);
        QTRY_COMPARE_WITH_TIMEOUT(TabText(0), QStringLiteral("寻找ORBEK"), 5000);
        EXPECT_EQ(Search().m_language, kEnglish); // the hidden search page was not told

        const std::string stored = ConfigText();
        const auto before = fs::last_write_time(dir.file("Config.ini")) - std::chrono::hours(1);
        fs::last_write_time(dir.file("Config.ini"), before);

        ClickTab(CZeruruDlg::kSearchTab);
        EXPECT_TRUE(Search().isVisible());
        EXPECT_EQ(Search().m_language, kSimplifiedChinese);
        EXPECT_EQ(Search().GetDlgItemText(CLanguagePage::kLanguageLabelId), QStringLiteral("语言:"));
        EXPECT_EQ(Search().m_languageCombo->GetCurSel(), kSimplifiedChinese);
        EXPECT_EQ(fs::last_write_time(dir.file("Config.ini")), before);
        EXPECT_EQ(ConfigText(), stored);
    }

    TEST_F(MainWindowTest, FileChangedBehindTheProgramIsReadAtTheNextTabChange)
    {
        Start();
        WriteWholeFile(dir.file("Config.ini"), "[system]\nLANG=1\n");
        ClickTab(CZeruruDlg::kDeviceTab);
        EXPECT_EQ(Device().GetDlgItemText(CLanguagePage::kLanguageLabelId), QStringLiteral("語言:"));
        QTRY_COMPARE_WITH_TIMEOUT(TabText(1), QStringLiteral("網路確認"), 5000);
    }

    TEST_F(MainWindowTest, AnnouncedLanguageRelabelsTheTabsAndKeepsTheTitle)
    {
        Start();
        const struct {
            WPARAM language;
            QString searchTab;
            QString checkTab;
        } cases[] = {
            { 1, QStringLiteral("尋找ORBEK"), QStringLiteral("網路確認") },
            { 0, QStringLiteral("ORBEK Zeruru"), QStringLiteral("Network Check") },
            { 2, QStringLiteral("寻找ORBEK"), QStringLiteral("网路确认") },
            { static_cast<WPARAM>(-1), QStringLiteral("ORBEK Zeruru"), QStringLiteral("Network Check") },
            { 2, QStringLiteral("寻找ORBEK"), QStringLiteral("网路确认") },
            { 3, QStringLiteral("ORBEK Zeruru"), QStringLiteral("Network Check") },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(static_cast<long long>(c.language));
            EXPECT_EQ(window->SendMessage(WM_LANGUAGE_CHANGED, c.language, 0), 0);
            EXPECT_EQ(TabText(0), c.searchTab);
            EXPECT_EQ(TabText(1), c.checkTab);
            EXPECT_EQ(window->GetWindowText(), QStringLiteral("Tessory Tool"));
        }
    }

} // namespace
} // namespace quill::test
