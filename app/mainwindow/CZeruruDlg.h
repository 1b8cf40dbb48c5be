#pragma once

#include "AdapterInfo.h"
#include "CDialogBase.h"
#include "LanguageId.h"
#include "MainWindowParts.h"
#include "MainWindowTemplate.h"

#include <QIcon>

#include <memory>

class CDevicePage;
class CSearchPage;
class CTabCtrl;

namespace quill::report {
class SiteReportRun;
}

// The main window: collects the PC's adapters once, lays the search page
// (tab 0) and the network check page (tab 1) over its tab control, switches
// them when the user picks a tab, and relabels the tabs in the language a page
// announces. Closing it ends the program.
class CZeruruDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = quill::app::kMainWindowDialogId;
    static constexpr int kSearchTab = 0;
    static constexpr int kDeviceTab = 1;

    explicit CZeruruDlg(quill::app::MainWindowParts parts = quill::app::MainWindowParts::Product(),
        QWidget* parent = nullptr);
    ~CZeruruDlg() override;

    const quill::netinfo::AdapterTable& Adapters() const { return m_adapters; }
    CTabCtrl* TabCtrl() const { return m_tabCtrl; }
    // The pages exist from OnInitDialog until the window is destroyed.
    CSearchPage* SearchPage() const { return m_searchPage.get(); }
    CDevicePage* DevicePage() const { return m_devicePage.get(); }

protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;

private:
    void OnSelchangeTab(NMHDR* header, LRESULT* result);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);

    void CreatePages();
    void PlaceControls();
    void ApplyStoredLanguageToSearchPage();
    // Writes the settings of the adapter into the network check page's four
    // fields; leaves them as they are when there is no such adapter.
    void ShowAdapterSettings(int adapterIndex);
    const quill::netinfo::AdapterInfo* UsableAdapter(int adapterIndex) const;
    // Runs the check page's checks and saves them with what the search page
    // shows as an HTML site report; one at a time.
    void SaveSiteReport();

    QIcon m_icon;
    quill::netinfo::AdapterTable m_adapters;
    CTabCtrl* m_tabCtrl = nullptr;
    std::unique_ptr<CSearchPage> m_searchPage;
    std::unique_ptr<CDevicePage> m_devicePage;
    quill::app::MainWindowParts m_parts;
    std::unique_ptr<quill::report::SiteReportRun> m_reportRun;
};
