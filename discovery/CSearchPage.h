#pragma once

#include "CLanguagePage.h"
#include "DeviceRecord.h"
#include "DiscoveryPorts.h"
#include "DiscoverySweep.h"
#include "ListCtrlEx.h"
#include "ResultTable.h"
#include "SearchPageOptions.h"
#include "SearchStatus.h"
#include "UiHandOff.h"

#include <QElapsedTimer>
#include <QTimer>

#include <boost/thread/mutex.hpp>

#include <array>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

class CComboBox;
class CIPAddressCtrl;
class QLabel;

namespace quill::discovery {
class DiscoveryListener;
}

// The camera search tab page: the adapter list, the address range, the Search
// button and the result list, with the discovery engine behind them: a
// listener thread that turns every answer reaching the listen port into a row,
// and the sweep that sends the query to every address of the range.
class CSearchPage : public CLanguagePage {
    Q_OBJECT

public:
    static constexpr int IDD = 2000;
    static constexpr int kAdapterSlots = 8;
    using Ipv4Octets = quill::discovery::Ipv4Octets;

    // The program's page: answers and queries on the discovery port.
    explicit CSearchPage(QWidget* parent = nullptr);
    // A page on other ports (tests on loopback).
    CSearchPage(DiscoveryPorts ports, QWidget* parent = nullptr);
    explicit CSearchPage(SearchPageOptions options, QWidget* parent = nullptr);
    // Stops the listener and waits for it, so that no answer reaches a page
    // that is going away and no port-conflict message appears at exit.
    ~CSearchPage() override;

    // Handed over by the main window before Create().
    int m_adapterCount = 0;
    std::array<std::vector<std::string>, kAdapterSlots> m_adapterParts;
    // The adapter chosen in the adapter list; read by the main window.
    int m_selectedAdapter = 0;

    // Stores the range under the range rule (the end's first three octets are
    // always the begin's) and shows it in both address controls.
    void SetRange(const Ipv4Octets& begin, const Ipv4Octets& end);
    // Writes the page's texts in the language; a number that is no language
    // changes nothing.
    void ApplyLanguage(LanguageId language);

    // One sweep over the range, on the UI thread; returns once every query
    // was sent. Failures are counted and logged, never thrown.
    void SendDiscovery();
    // Logs one accepted answer and appends its row on the UI thread; the
    // listener waits until the row is in the list.
    void AddDeviceRow(const quill::discovery::DeviceRecord& record);

    const Ipv4Octets& BeginAddress() const { return m_beginAddr; }
    const Ipv4Octets& EndAddress() const { return m_endAddr; }
    ListCtrlEx::CListCtrlEx& ResultList() { return m_list; }
    // Whether the listener holds its port and receives (false before it has
    // bound it and after a port conflict).
    bool IsListening() const;

    // The status line: the search under way, its outcome, or why no camera answered.
    QString StatusText() const;
    // Every row with all five answer fields and its arrival number, in list order.
    std::vector<quill::discovery::ResultRow> ResultRows() const;

Q_SIGNALS:
    // "Save site report…" was chosen in the result list's menu.
    void SiteReportRequested();

protected:
    QWidget* CreateCustomControl(const ControlTemplate& control, QWidget* parent) override;
    void DoDataExchange() override;
    bool OnInitDialog() override;
    void ApplyPageLanguage(LanguageId language) override;

    void OnSelchangeAdapter();
    void OnFieldchangedAddress(NMHDR* header, LRESULT* result);
    void OnClickedSearch();
    void OnDblclkList(NMHDR* header, LRESULT* result);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetUpResultList();
    void ShowRowMenu(int row);
    void OpenRow(int row);
    void CopyRows(bool all);
    void ExportCsv();
    // Where a new row with these column texts goes: the end, or under an
    // active header sort where the sort puts it.
    quill::discovery::ResultRow RowAt(int row) const;

    // The status line and the settle rule.
    enum class SearchState { Idle, Searching, Settled };
    void RefreshStatus();
    void OnSearchSettled();
    int CameraCount() const { return static_cast<int>(m_cameraKeys.size()); }
    // Holds back the list's repainting for a moment while rows stream in.
    void DeferListPainting();
    // The adapter's whole /24 network as begin and end texts; false when its
    // slot holds too few address parts.
    bool FormAdapterRangeTexts(int adapter);
    // m_beginText and m_endText as addresses through SetRange; false, with
    // the range unchanged, when either is no dotted IPv4 address.
    bool SetRangeFromTexts();
    int UsableAdapterCount() const;

    void StartListener();
    void StopListener();
    void ReportPortConflict();
    // Any listener failure but the port conflict: one critical record.
    void ReportListenerFailure(const std::string& what);

    SearchPageOptions m_options;
    CIPAddressCtrl* m_ipBegin = nullptr;
    CIPAddressCtrl* m_ipEnd = nullptr;
    CComboBox* m_adapterCombo = nullptr;
    std::string m_beginText;
    std::string m_endText;
    Ipv4Octets m_beginAddr {};
    Ipv4Octets m_endAddr {};
    boost::mutex m_sendLock;
    ListCtrlEx::CListCtrlEx m_list;
    QTimer m_listPaintTimer;
    QLabel* m_status = nullptr;

    // Every answer's fields, indexed by the rows' item data (the arrival
    // number less one), and the cameras told apart by address and MAC.
    std::vector<quill::discovery::DeviceRecord> m_records;
    std::set<std::string> m_cameraKeys;
    SearchState m_searchState = SearchState::Idle;
    // The language the page's texts are in: the status line and menu follow it.
    LanguageId m_shownLanguage = kEnglish;
    std::optional<quill::discovery::SweepOutcome> m_lastSweep;
    std::optional<std::pair<quill::discovery::NoAnswerCause, quill::discovery::SearchFacts>> m_diagnosis;
    QTimer m_settleTimer;
    QElapsedTimer m_sinceSweep;

    // What the listener thread holds of the page: the hand-off to the UI
    // thread, taken before it starts.
    std::optional<UiHandOff> m_listenerHandOff;
    std::unique_ptr<quill::discovery::DiscoveryListener> m_listener;
};
