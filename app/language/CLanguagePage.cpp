#include "CLanguagePage.h"

#include "CComboBox.h"
#include "StoredLanguage.h"

namespace {

const LanguageTexts kLabelText { "Language:", "語言:", "语言:" };
const std::array<LanguageTexts, kLanguageCount> kLanguageNames { {
    { "English", "英語", "英语" },
    { "Traditional Chinese", "繁體中文", "繁体中文" },
    { "Simplified Chinese", "簡體中文", "简体中文" },
} };

void FillLanguageNames(CComboBox& combo, LanguageId language)
{
    combo.ResetContent();
    for (int entry = 0; entry < kLanguageCount; ++entry)
        combo.InsertString(entry, LanguageText(kLanguageNames[static_cast<std::size_t>(entry)], language));
}

} // namespace

CLanguagePage::CLanguagePage(DialogTemplate dialogTemplate, QWidget* parent)
    : CLanguagePage(std::move(dialogTemplate), true, parent)
{
}

CLanguagePage::CLanguagePage(DialogTemplate dialogTemplate, bool reapplyOnHide, QWidget* parent)
    : CDialogBase(std::move(dialogTemplate), parent)
    , m_reapplyOnHide(reapplyOnHide)
{
    MapCommand(kLanguageComboId, CBN_SELCHANGE, [this] { OnSelchangeLanguage(); });
}

void CLanguagePage::DoDataExchange()
{
    CDialogBase::DoDataExchange();
    m_languageCombo = GetDlgItemAs<CComboBox>(kLanguageComboId);
}

void CLanguagePage::InitLanguageSelector()
{
    if (m_languageCombo)
        FillLanguageNames(*m_languageCombo, kEnglish);
    m_language = kEnglish;
}

void CLanguagePage::ApplySelectorLanguage(LanguageId language)
{
    if (!IsLanguage(language))
        return;
    SetDlgItemText(kLanguageLabelId, LanguageText(kLabelText, language));
    if (!m_languageCombo)
        return;
    FillLanguageNames(*m_languageCombo, language);
    m_languageCombo->SetCurSel(m_language);
}

void CLanguagePage::OnSelchangeLanguage()
{
    const LanguageId selected = m_languageCombo ? m_languageCombo->GetCurSel() : -1;
    if (selected != m_language) {
        m_language = selected;
        WriteStoredLanguage(selected, m_settingsLocation());
    }
    ApplyPageLanguage(selected);
    if (CDialogBase* mainWindow = GetParentDialog())
        mainWindow->PostMessage(WM_LANGUAGE_CHANGED, static_cast<WPARAM>(selected), 0);
}

void CLanguagePage::SetSettingsLocation(quill::settings::SettingsLocation location)
{
    if (location)
        m_settingsLocation = std::move(location);
}

void CLanguagePage::OnShowWindow(bool show)
{
    CDialogBase::OnShowWindow(show);
    if (!show && !m_reapplyOnHide)
        return;
    if (m_languageCombo)
        m_languageCombo->SetCurSel(m_language);
    // What the selection-changed command would run, run directly: the
    // selection equals the language, so nothing is written.
    OnSelchangeLanguage();
}
