#pragma once

#include "CLanguagePage.h"
#include "DeviceRecord.h"
#include "DiscoveryEngine.h"
#include "DiscoveryPorts.h"
#include "ListCtrlEx.h"
#include "ResultTable.h"
#include "SearchPageOptions.h"

#include <QTimer>

#include <boost/thread/mutex.hpp>

#include <array>
#include <optional>
#include <string>
#include <vector>

class CComboBox;
class CIPAddressCtrl;
class QLabel;

// The camera search tab page: the adapter list, the address range, the Search
// button and the result list, one row per camera, over the discovery engine,
// which listens for the whole run and sweeps the range on Search.
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
    ~CSearchPage() override;

    // Handed over by the main window before Create().
    int m_adapterCount = 0;
    std::array<std::vector<std::string>, kAdapterSlots> m_adapterParts;
    // The adapter chosen in the adapter list; read by the main window.
    int m_selectedAdapter = 0;

    // What the page knows of a slot's adapter besides its address: its mask,
    // which decides which cameras are off its network, and its system name,
    // whose reverse-path filter decides whether other subnets can be heard.
    struct AdapterFacts {
        std::optional<Ipv4Octets> mask;
        std::string interfaceName;
    };
    std::array<AdapterFacts, kAdapterSlots> m_adapterFacts;

    // A new adapter table from the main window, as handed over before
    // Create(). `selected` is the new entry of the adapter chosen so far, -1
    // when it has gone (the first entry then takes its place). The range is
    // reset from the chosen adapter only when its address changed, so a
    // typed range survives changes of other adapters.
    void TakeAdapters(int count, const std::array<std::vector<std::string>, kAdapterSlots>& parts,
        const std::array<AdapterFacts, kAdapterSlots>& facts, int selected = -1);
    // A note for the status line, shown with it until the next Search.
    void ShowStatusNote(const QString& note);

    // Stores the range under the range rule (the end's first three octets are
    // always the begin's) and shows it in both address controls.
    void SetRange(const Ipv4Octets& begin, const Ipv4Octets& end);
    // Writes the page's texts in the language; a number that is no language
    // changes nothing.
    void ApplyLanguage(LanguageId language);

    // One sweep over the range, on the UI thread; returns once every query
    // was sent. Failures are counted and logged, never thrown.
    void SendDiscovery();
    // Takes one accepted answer as the listener does: logged, then its
    // camera's row added or brought up to date.
    void AddDeviceRow(const quill::discovery::DeviceRecord& record);
    // Empties the list of cameras and its rows.
    void ClearResults();

    const Ipv4Octets& BeginAddress() const { return m_beginAddr; }
    const Ipv4Octets& EndAddress() const { return m_endAddr; }
    ListCtrlEx::CListCtrlEx& ResultList() { return m_list; }
    const quill::discovery::DiscoveryEngine& Engine() const { return m_engine; }
    // Whether the listener holds its port and receives (false before it has
    // bound it and after a port conflict).
    bool IsListening() const { return m_engine.IsListening(); }

    // The status line: the search under way, its outcome, or why no camera answered.
    QString StatusText() const;
    // Every camera with all five answer fields and its number, in list order.
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
    void resizeEvent(QResizeEvent* event) override;

private:
    void SetUpResultList();
    void ShowRowMenu(int row);
    // The current row's menu from the keyboard (the Menu key, Shift+F10).
    void OpenKeyboardMenu();
    void OpenRow(int row);
    void CopyRows(bool all);
    void ExportCsv();
    // The camera shown in a row.
    quill::discovery::ResultRow RowAt(int row) const;
    void OnCameraAdded(int index);
    void OnCameraUpdated(int index);
    // A camera's cells, "No." first, as the list shows them.
    static QStringList CameraTexts(const quill::discovery::ResultRow& camera);
    void ShowCameraTexts(int row, const QStringList& texts);
    // What a cell's tooltip says: its whole text when it is cut, the row's
    // problems, its count of answers.
    QString CellToolTip(ListCtrlEx::CellPos cell) const;

    // The status line, and with `withProblems` its tooltip, the problems in words.
    void RefreshStatus(bool withProblems = true);
    // Holds back the list's repainting for a moment while rows stream in.
    void DeferListPainting();
    // The adapter's whole /24 network as begin and end texts; false when its
    // slot holds no whole address.
    bool FormAdapterRangeTexts(int adapter);
    // An entry's address; none for an index without a listed adapter.
    std::optional<Ipv4Octets> AdapterAddress(int adapter) const;
    void FillAdapterList();
    // m_beginText and m_endText as addresses through SetRange; false, with
    // the range unchanged, when either is no dotted IPv4 address.
    bool SetRangeFromTexts();
    int UsableAdapterCount() const;

    void StartListener();
    void ReportPortConflict();

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
    QString m_statusNote;
    // A row's findings changed since the status tooltip was last written.
    bool m_problemsChanged = false;
    // Where the last export went in this run; none before the first.
    QString m_exportFolder;
    // The language the page's texts are in: the status line and menu follow it.
    LanguageId m_shownLanguage = kEnglish;
    // The rows' item data is the camera's index in the engine's list.
    quill::discovery::DiscoveryEngine m_engine;
};
