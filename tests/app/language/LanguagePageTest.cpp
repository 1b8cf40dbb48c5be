#include "CComboBox.h"
#include "CLanguagePage.h"
#include "ProfileSettings.h"
#include "StoredLanguage.h"
#include "TempDir.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

using quill::test::ReadWholeFile;
using quill::test::ScopedWorkingDir;
using quill::test::TempDir;
using quill::test::WriteWholeFile;

DialogTemplate PageTemplate()
{
    DialogTemplate page;
    page.id = 9000;
    page.size = QSize(200, 100);
    page.controls = {
        { 1009, ControlKind::Static, QStringLiteral("Language:"), QRect(10, 80, 36, 10), {} },
        { 1008, ControlKind::DropDownList, {}, QRect(50, 78, 80, 30), ControlFlag::VerticalScroll },
        { 1100, ControlKind::Static, QStringLiteral("Hello"), QRect(10, 10, 60, 10), {} },
    };
    return page;
}

class TestPage : public CLanguagePage {
public:
    explicit TestPage(bool reapplyOnHide, QWidget* parent = nullptr)
        : CLanguagePage(PageTemplate(), reapplyOnHide, parent)
    {
    }
    std::vector<LanguageId> applied;

protected:
    bool OnInitDialog() override
    {
        CLanguagePage::OnInitDialog();
        InitLanguageSelector();
        return true;
    }
    void ApplyPageLanguage(LanguageId language) override
    {
        applied.push_back(language);
        if (!IsLanguage(language))
            return;
        static const LanguageTexts hello { "Hello", "哈囉", "哈喽" };
        SetDlgItemText(1100, LanguageText(hello, language));
        ApplySelectorLanguage(language);
    }
};

// The main window's side: records the posted language announcements.
class TestMainWindow : public CDialogBase {
public:
    TestMainWindow()
        : CDialogBase(DialogTemplate { 9001, QSize(220, 120), QStringLiteral("Main"), {}, 8, {} })
    {
        MapMessage(WM_LANGUAGE_CHANGED, [this](WPARAM language, LPARAM) {
            announced.push_back(static_cast<LanguageId>(language));
            return LRESULT(0);
        });
    }
    std::vector<LanguageId> announced;
};

class LanguagePage : public ::testing::Test {
protected:
    void SetUp() override
    {
        main.Create(nullptr);
        page = new TestPage(true);
        page->Create(&main);
    }

    std::string ConfigText() const { return ReadWholeFile(dir.file("Config.ini")); }

    TempDir dir;
    ScopedWorkingDir cwd { dir.path() };
    TestMainWindow main;
    TestPage* page = nullptr;
};

TEST_F(LanguagePage, StoredLanguageDefaultsAndAtoi)
{
    EXPECT_EQ(ReadStoredLanguage(), kEnglish);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Config.ini")));
    WriteWholeFile(dir.file("Config.ini"), "[system]\r\nLANG=2abc\r\n");
    EXPECT_EQ(ReadStoredLanguage(), kSimplifiedChinese);
    WriteWholeFile(dir.file("Config.ini"), "[SYSTEM]\nlang=zh\n");
    EXPECT_EQ(ReadStoredLanguage(), kEnglish);
    WriteStoredLanguage(-1);
    EXPECT_EQ(ReadStoredLanguage(), -1);
}

TEST_F(LanguagePage, ChoosingALanguageStoresAppliesAndPostsIt)
{
    page->m_languageCombo->SetCurSel(kTraditionalChinese);
    page->OnSelchangeLanguage();
    EXPECT_EQ(page->m_language, kTraditionalChinese);
    EXPECT_EQ(ReadStoredLanguage(), kTraditionalChinese);
    EXPECT_EQ(page->GetDlgItemText(1100), QStringLiteral("哈囉"));
    EXPECT_EQ(page->GetDlgItemText(1009), QStringLiteral("語言:"));
    EXPECT_EQ(page->m_languageCombo->GetLBText(0), QStringLiteral("英語"));
    EXPECT_EQ(page->m_languageCombo->GetCurSel(), kTraditionalChinese);

    // Posted: the main window hears of it only once the event loop turns.
    EXPECT_TRUE(main.announced.empty());
    QApplication::processEvents();
    EXPECT_EQ(main.announced, std::vector<LanguageId> { kTraditionalChinese });

    // The same choice again writes nothing but is announced again.
    std::filesystem::remove(dir.file("Config.ini"));
    page->OnSelchangeLanguage();
    QApplication::processEvents();
    EXPECT_FALSE(std::filesystem::exists(dir.file("Config.ini")));
    EXPECT_EQ(main.announced.size(), 2u);
}

TEST_F(LanguagePage, LanguageOutsideTheTableSelectsNothingAndStoresMinusOne)
{
    page->m_languageCombo->SetCurSel(7);
    page->OnSelchangeLanguage();
    EXPECT_EQ(page->m_language, -1);
    EXPECT_EQ(ReadStoredLanguage(), -1);
    EXPECT_NE(ConfigText().find("LANG=-1"), std::string::npos);
    EXPECT_EQ(page->GetDlgItemText(1100), QStringLiteral("Hello"));
    EXPECT_EQ(page->m_languageCombo->GetLBText(1), QStringLiteral("Traditional Chinese"));
    QApplication::processEvents();
    EXPECT_EQ(main.announced, std::vector<LanguageId> { -1 });
}

TEST_F(LanguagePage, ShowingThePageReappliesItsLanguageWithoutWriting)
{
    page->m_language = kSimplifiedChinese;
    page->ShowWindow(true);
    EXPECT_EQ(page->GetDlgItemText(1100), QStringLiteral("哈喽"));
    EXPECT_EQ(page->m_languageCombo->GetCurSel(), kSimplifiedChinese);
    EXPECT_FALSE(std::filesystem::exists(dir.file("Config.ini")));

    const auto appliedBefore = page->applied.size();
    page->ShowWindow(false);
    EXPECT_EQ(page->applied.size(), appliedBefore + 1);
}

TEST_F(LanguagePage, PageThatReappliesOnlyWhenShownIgnoresHiding)
{
    auto* shownOnly = new TestPage(false);
    shownOnly->Create(&main);
    shownOnly->ShowWindow(true);
    const auto appliedAfterShow = shownOnly->applied.size();
    EXPECT_GE(appliedAfterShow, 1u);
    shownOnly->ShowWindow(false);
    EXPECT_EQ(shownOnly->applied.size(), appliedAfterShow);
}

} // namespace
