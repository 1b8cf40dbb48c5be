#pragma once

#include "CDialogBase.h"
#include "LanguageId.h"
#include "ProfileSettings.h"

class CComboBox;

// A tab page with a language selector (control 1008, label 1009). The choice
// made on a page is stored in the settings file, applied to the page's texts
// and announced to the main window with a posted WM_LANGUAGE_CHANGED; every
// showing of the page re-applies its stored language.
class CLanguagePage : public CDialogBase {
    Q_OBJECT

public:
    static constexpr int kLanguageComboId = 1008;
    static constexpr int kLanguageLabelId = 1009;

    explicit CLanguagePage(DialogTemplate dialogTemplate, QWidget* parent = nullptr);

    // The page's current language. The main window may overwrite it before it
    // shows the page; the selection handler keeps it equal to the selector.
    LanguageId m_language = kEnglish;
    CComboBox* m_languageCombo = nullptr;

    // The handler of a selection change of the language selector.
    void OnSelchangeLanguage();

    // Where the page stores the language chosen on it; the main window tells
    // it. A page on its own uses the working directory's "Config.ini"; an
    // empty location changes nothing.
    void SetSettingsLocation(quill::settings::SettingsLocation location);

protected:
    // reapplyOnHide: whether hiding the page re-applies the language as
    // showing it does.
    CLanguagePage(DialogTemplate dialogTemplate, bool reapplyOnHide, QWidget* parent);

    void DoDataExchange() override;
    void OnShowWindow(bool show) override;

    // Fills the selector with the English language names; the page's
    // language starts as English. Part of the page's initialisation.
    void InitLanguageSelector();
    // Writes the selector's label and entry names in the language and selects
    // the entry of m_language; for a value that is no language, nothing.
    void ApplySelectorLanguage(LanguageId language);

    // Rewrites every text of the page in the language (the page's own
    // ApplyLanguage steps).
    virtual void ApplyPageLanguage(LanguageId language) = 0;

private:
    bool m_reapplyOnHide = true;
    quill::settings::SettingsLocation m_settingsLocation = &quill::settings::SettingsPath;
};
