#pragma once

#include "AdapterRows.h"
#include "CDialogBase.h"
#include "LanguageId.h"
#include "MainWindowParts.h"
#include "MainWindowTemplate.h"

#include <QIcon>
#include <QSize>

class QTimer;

#include <memory>

class CDevicePage;
class CSearchPage;
class CTabCtrl;

namespace quill::netinfo {
class AdapterWatcher;
}
namespace quill::report {
class SiteReportRun;
}

// The main window: collects the PC's adapters at start and again whenever
// they change, lays the search page (tab 0) and the network check page (tab 1)
// over its tab control, switches them when the user picks a tab, and relabels
// the tabs in the language a page announces. Closing it ends the program.
class CZeruruDlg : public CDialogBase {
    Q_OBJECT
public:
    static constexpr int IDD = quill::app::kMainWindowDialogId;
    static constexpr int kSearchTab = 0;
    static constexpr int kDeviceTab = 1;

    explicit CZeruruDlg(quill::app::MainWindowParts parts = quill::app::MainWindowParts::Product(),
        QWidget* parent = nullptr);
    ~CZeruruDlg() override;

    // The adapter table, made of the adapters discovery can search from.
    const quill::netinfo::AdapterTable& Adapters() const { return m_adapters; }
    CTabCtrl* TabCtrl() const { return m_tabCtrl; }
    // The pages exist from OnInitDialog until the window is destroyed.
    CSearchPage* SearchPage() const { return m_searchPage.get(); }
    CDevicePage* DevicePage() const { return m_devicePage.get(); }
    // Follows the adapters while the window runs; none when not asked to.
    quill::netinfo::AdapterWatcher* AdapterWatch() const { return m_adapterWatcher.get(); }

Q_SIGNALS:
    // A note for the search page's status line.
    void SearchStatusNote(const QString& text);

protected:
    void DoDataExchange() override;
    bool OnInitDialog() override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void OnSelchangeTab(NMHDR* header, LRESULT* result);
    LRESULT OnLanguageChanged(WPARAM wParam, LPARAM lParam);

    void OnAdaptersChanged(const std::vector<quill::netinfo::AdapterRow>& adapters);
    // Where the search page gets the adapter table, its list and its range;
    // `selected` is the new slot of the adapter chosen on it (-1: gone).
    void HandAdaptersToSearchPage(int selected = -1);
    // Once per run: a Chinese language chosen that no installed font shows.
    void NoteMissingFont(LanguageId language);

    void CreatePages();
    void PlaceControls();
    // The tab control fills the window and the pages its page area.
    void FitControls();
    // Stores the size the user gave the window, once the resizing has paused.
    void RememberSize();
    // Ctrl+Tab and Ctrl+Shift+Tab: the next or the previous page.
    void SwitchPage(int step);
    void ApplyStoredLanguageToSearchPage();
    // Writes the settings of the adapter in the search page's list into the
    // network check page's four fields. Without such an adapter they keep
    // their text, or are emptied when it has just gone.
    void ShowAdapterSettings(int pageIndex, bool emptyWhenGone = false);
    // The settings of the adapter in the search page's list; none for an
    // entry that does not exist or has no whole address.
    const quill::netinfo::AdapterInfo* UsableAdapter(int pageIndex) const;
    // That adapter as the site report describes it.
    const quill::netinfo::AdapterRow* AdapterRowOf(int pageIndex) const;
    // Runs the check page's checks and saves them with what the search page
    // shows as an HTML site report; one at a time.
    void SaveSiteReport();

    QIcon m_icon;
    std::vector<quill::netinfo::AdapterRow> m_adapterRows;
    // Made of m_adapterRows; the search page's list always shows it.
    quill::netinfo::AdapterTable m_adapters;
    std::unique_ptr<quill::netinfo::AdapterWatcher> m_adapterWatcher;
    bool m_fontNoted = false;
    // The size the window was given or last stored: a resize to it is no
    // resize by the user.
    QSize m_knownSize;
    QTimer* m_sizeWrite = nullptr;
    CTabCtrl* m_tabCtrl = nullptr;
    std::unique_ptr<CSearchPage> m_searchPage;
    std::unique_ptr<CDevicePage> m_devicePage;
    quill::app::MainWindowParts m_parts;
    std::unique_ptr<quill::report::SiteReportRun> m_reportRun;
};
