// The stored language at start and at every tab change, the tab labels that
// follow the posted language announcement, and the note on a missing font.
#include "ChineseFont.h"
#include "MainWindowFixture.h"
#include "StoredLanguage.h"

#include <QSignalSpy>

#include <chrono>

namespace quill::test {
namespace {

    namespace fs = std::filesystem;
    const auto kLongAgo = fs::file_time_type::clock::now() - std::chrono::hours(1);

    TEST_F(MainWindowTest, StartAppliesTheStoredLanguageAndTheTabsFollowOnceThePostedMessageArrives)
    {
        const struct {
            const char* config; // nullptr: no settings file
            LanguageId pageLanguage; // what the search page holds after start
            const char* fileHolds; // the file's "LANG" line afterwards, nullptr: no file
            bool rewritten;
            QString label, tabs;
        } cases[] = {
            { nullptr, kEnglish, nullptr, false, QStringLiteral("Language:"),
                QStringLiteral("ORBEK Zeruru|Network Check") },
            { "[system]\nLANG=1\n", kTraditionalChinese, "LANG=1", true, QStringLiteral("語言:"),
                QStringLiteral("尋找ORBEK|網路確認") },
            // No such language: the page stores and writes -1; texts and tabs stay English.
            { "[system]\nLANG=7\n", -1, "LANG=-1", true, QStringLiteral("Language:"),
                QStringLiteral("ORBEK Zeruru|Network Check") },
            // atoi reads 0: English, which the page holds already, so no write.
            { "[system]\nLANG=zh\n", kEnglish, "LANG=zh", false, QStringLiteral("Language:"),
                QStringLiteral("ORBEK Zeruru|Network Check") },
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.config ? c.config : "no file");
            fs::remove(dir.file("Config.ini"));
            if (c.config) {
                WriteWholeFile(dir.file("Config.ini"), c.config);
                fs::last_write_time(dir.file("Config.ini"), kLongAgo);
            }
            Start();
            // The search page has applied the language before start-up ended ...
            EXPECT_EQ(Search().m_language, c.pageLanguage);
            EXPECT_EQ(Search().GetDlgItemText(CLanguagePage::kLanguageLabelId), c.label);
            EXPECT_TRUE(Search().isVisible() && !Device().isVisible());
            EXPECT_EQ(fs::exists(dir.file("Config.ini")), c.fileHolds != nullptr);
            if (c.fileHolds) {
                EXPECT_NE(ConfigText().find(c.fileHolds), std::string::npos) << ConfigText();
                EXPECT_EQ(fs::last_write_time(dir.file("Config.ini")) != kLongAgo, c.rewritten);
            }
            // ... while the tabs follow only when the announcement is handled.
            EXPECT_EQ(TabTexts(), QStringLiteral("ORBEK Zeruru|Network Check"));
            QTRY_COMPARE_WITH_TIMEOUT(TabTexts(), c.tabs, 5000);
        }
    }

    TEST_F(MainWindowTest, ChineseChosenWithoutAFontThatShowsItNamesThePackageOnce)
    {
        for (const bool installed : { false, true }) {
            Start(TableOf({}), [installed](app::MainWindowParts& parts) {
                parts.fontShows = [installed](LanguageId) { return installed; };
            });
            QSignalSpy notes(window.get(), &CZeruruDlg::SearchStatusNote);
            for (const LanguageId language : { kEnglish, kTraditionalChinese, kSimplifiedChinese })
                ChooseEntry(*Search().m_languageCombo, language);
            QTRY_COMPARE_WITH_TIMEOUT(TabTexts(), QStringLiteral("寻找ORBEK|网路确认"), 5000);
            ASSERT_EQ(notes.count(), installed ? 0 : 1);
            if (!installed) {
                EXPECT_EQ(notes[0][0].toString(), LanguageText(kNoChineseFontText, kTraditionalChinese));
                // Shown once, under the status line.
                EXPECT_EQ(Search().StatusText().count(notes[0][0].toString()), 1);
            }
        }
    }

    TEST_F(MainWindowTest, LanguagePickedOnTheCheckPageReachesTheSearchPageOnTheNextSwitchWithoutAWrite)
    {
        Start();
        ClickTab(CZeruruDlg::kDeviceTab);
        ChooseEntry(*Device().m_languageCombo, kSimplifiedChinese);
        EXPECT_EQ(ReadStoredLanguage(dir.file("Config.ini").string()), kSimplifiedChinese);
        QTRY_COMPARE_WITH_TIMEOUT(TabTexts(), QStringLiteral("寻找ORBEK|网路确认"), 5000);
        EXPECT_EQ(Search().m_language, kEnglish); // the hidden search page was not told

        fs::last_write_time(dir.file("Config.ini"), kLongAgo);
        ClickTab(CZeruruDlg::kSearchTab);
        EXPECT_TRUE(Search().isVisible());
        EXPECT_EQ(Search().m_language, kSimplifiedChinese);
        EXPECT_EQ(Search().GetDlgItemText(CLanguagePage::kLanguageLabelId), QStringLiteral("语言:"));
        EXPECT_EQ(fs::last_write_time(dir.file("Config.ini")), kLongAgo);
    }

} // namespace
} // namespace quill::test
