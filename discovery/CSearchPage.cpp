#include "CSearchPage.h"

#include "CComboBox.h"
#include "CIPAddressCtrl.h"
#include "CameraPage.h"
#include "DeviceLogLine.h"
#include "DiscoveryListener.h"
#include "ListCtrlExSortHead.h"
#include "ListItemNotify.h"
#include "Logger.h"
#include "MessageBox.h"
#include "ResultOrder.h"
#include "SearchFactsGathering.h"
#include "SearchPageMenuTexts.h"
#include "SearchPageTemplate.h"
#include "SearchPageTexts.h"
#include "SearchStatus.h"
#include "TextConversion.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPalette>

#include <boost/format.hpp>

#include <algorithm>

using namespace searchpage;
using quill::discovery::DeviceRecord;
using quill::text::Utf8ToWide;
using quill::text::WideToUtf8;

namespace {

struct ResultColumn {
    const char* heading;
    int width; // pixels
};

// The same headings in every language.
constexpr std::array<ResultColumn, 4> kResultColumns { {
    { "No.", 50 },
    { "IP Address", 130 },
    { "MAC Address", 130 },
    { "F/W Version", 130 },
} };

constexpr int kIpAddressColumn = 1;

// The range with no adapter to take it from.
constexpr char kDefaultRangeText[] = "192.168.1.1";

// Rows that arrive within this time are painted together: the rows are in
// the list at once, only their drawing waits. Painting the list for every
// single answer would cost far more than the answer itself.
constexpr int kListPaintDelayMs = 20;

// Part i of an adapter's address, empty when the slot holds fewer parts.
const std::string& AddressPart(const std::vector<std::string>& parts, std::size_t i)
{
    static const std::string none;
    return i < parts.size() ? parts[i] : none;
}

void LogRecord(mirelo::severity_level level, std::string text)
{
    Logger::instance();
    Logger::write(level, std::move(text));
}

// Writes the record; a log that fails says why instead of throwing.
std::optional<std::string> TryLogRecord(mirelo::severity_level level, std::string text)
{
    try {
        LogRecord(level, std::move(text));
        return std::nullopt;
    } catch (const std::exception& error) {
        return std::string(error.what());
    } catch (...) {
        return std::string("unknown failure");
    }
}

} // namespace

CSearchPage::CSearchPage(QWidget* parent)
    : CSearchPage(DiscoveryPorts {}, parent)
{
}

CSearchPage::CSearchPage(DiscoveryPorts ports, QWidget* parent)
    : CSearchPage(SearchPageOptions { .ports = ports }, parent)
{
}

CSearchPage::CSearchPage(SearchPageOptions options, QWidget* parent)
    : CLanguagePage(SearchPageTemplate(), parent)
    , m_options(std::move(options))
{
    MapCommand(kAdapterComboId, CBN_SELCHANGE, [this] { OnSelchangeAdapter(); });
    MapNotify(kBeginAddressId, IPN_FIELDCHANGED,
        [this](NMHDR* header, LRESULT* result) { OnFieldchangedAddress(header, result); });
    MapNotify(kEndAddressId, IPN_FIELDCHANGED,
        [this](NMHDR* header, LRESULT* result) { OnFieldchangedAddress(header, result); });
    MapCommand(kSearchButtonId, BN_CLICKED, [this] { OnClickedSearch(); });
    MapNotify(
        kResultListId, NM_DBLCLK, [this](NMHDR* header, LRESULT* result) { OnDblclkList(header, result); });

    m_listPaintTimer.setSingleShot(true);
    m_listPaintTimer.setInterval(kListPaintDelayMs);
    connect(&m_listPaintTimer, &QTimer::timeout, this, [this] {
        m_list.setUpdatesEnabled(true);
        RefreshStatus();
    });
    m_settleTimer.setSingleShot(true);
    connect(&m_settleTimer, &QTimer::timeout, this, [this] { OnSearchSettled(); });
    if (!m_options.chooseExportFile) {
        m_options.chooseExportFile = [this] {
            return QFileDialog::getSaveFileName(
                this, LanguageText(kExportText, m_shownLanguage), QString(), QStringLiteral("CSV (*.csv)"));
        };
    }
    connect(&m_list, &ListCtrlEx::CListCtrlEx::listExRClick, this,
        [this](ListCtrlEx::CListCtrlEx*, ListCtrlEx::CellPos cell) { ShowRowMenu(cell.row); });
    m_list.installEventFilter(this);

    // The list reports a double click as a signal; it reaches the message map
    // as the list view's NM_DBLCLK notification.
    connect(&m_list, &ListCtrlEx::CListCtrlEx::listExDblClick, this,
        [this](ListCtrlEx::CListCtrlEx*, ListCtrlEx::CellPos cell) {
            NMITEMACTIVATE record;
            record.hwndFrom = &m_list;
            record.idFrom = kResultListId;
            record.code = NM_DBLCLK;
            record.iItem = cell.row;
            record.iSubItem = cell.column;
            SendMessage(WM_NOTIFY, static_cast<WPARAM>(kResultListId), reinterpret_cast<LPARAM>(&record));
        });
}

CSearchPage::~CSearchPage()
{
    StopListener();
}

QWidget* CSearchPage::CreateCustomControl(const ControlTemplate& control, QWidget* parent)
{
    if (control.id == kResultListId)
        return &m_list;
    return CLanguagePage::CreateCustomControl(control, parent);
}

void CSearchPage::DoDataExchange()
{
    CLanguagePage::DoDataExchange();
    m_ipBegin = GetDlgItemAs<CIPAddressCtrl>(kBeginAddressId);
    m_ipEnd = GetDlgItemAs<CIPAddressCtrl>(kEndAddressId);
    m_adapterCombo = GetDlgItemAs<CComboBox>(kAdapterComboId);
}

bool CSearchPage::OnInitDialog()
{
    CLanguagePage::OnInitDialog();
    SetUpResultList();

    const int adapters = UsableAdapterCount();
    bool rangeSet = false;
    if (adapters > 0 && FormAdapterRangeTexts(0))
        rangeSet = SetRangeFromTexts();
    if (!rangeSet) {
        m_beginText = kDefaultRangeText;
        m_endText = kDefaultRangeText;
        SetRangeFromTexts();
    }

    for (int i = 0; i < adapters; ++i) {
        const auto& parts = m_adapterParts[static_cast<std::size_t>(i)];
        const std::string address = (boost::format("%s.%s.%s.%s") % AddressPart(parts, 0)
            % AddressPart(parts, 1) % AddressPart(parts, 2) % AddressPart(parts, 3))
                                        .str();
        m_adapterCombo->InsertString(i, Utf8ToWide(address));
    }
    m_selectedAdapter = 0;
    m_adapterCombo->SetCurSel(0);

    m_status = GetDlgItemAs<QLabel>(kStatusTextId);
    m_status->setWordWrap(true);
    m_status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    InitLanguageSelector();
    StartListener();
    return true;
}

void CSearchPage::SetUpResultList()
{
    // Report view with single, whole-row selection and grid lines is the
    // list's own way; the selection stays visible when the list loses focus.
    m_list.setSelectionMode(QAbstractItemView::SingleSelection);
    m_list.setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list.setShowGrid(true);
    QPalette palette = m_list.palette();
    palette.setColor(
        QPalette::Inactive, QPalette::Highlight, palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
        palette.color(QPalette::Active, QPalette::HighlightedText));
    m_list.setPalette(palette);
    m_list.SetDlgCtrlID(kResultListId);

    for (std::size_t column = 0; column < kResultColumns.size(); ++column) {
        m_list.InsertColumn(static_cast<int>(column), QString::fromLatin1(kResultColumns[column].heading),
            kResultColumns[column].width);
    }
    // The header sorts each column in its own order; the texts are the
    // cameras' own bytes, decoded.
    using Order = int (*)(std::string_view, std::string_view);
    const Order orders[] { quill::discovery::CompareNumberTexts, quill::discovery::CompareAddressTexts,
        quill::discovery::CompareMacTexts, quill::discovery::CompareVersionTexts };
    for (int column = 0; column < 4; ++column) {
        m_list.SetColumnCompare(column, [order = orders[column]](QStringView a, QStringView b) {
            const QByteArray ua = a.toUtf8();
            const QByteArray ub = b.toUtf8();
            return order(std::string_view(ua.data(), ua.size()), std::string_view(ub.data(), ub.size()));
        });
    }
    m_list.SetOptions(ListCtrlEx::SortOnHeaderClick);
}

int CSearchPage::UsableAdapterCount() const
{
    return std::clamp(m_adapterCount, 0, kAdapterSlots);
}

bool CSearchPage::FormAdapterRangeTexts(int adapter)
{
    const auto& parts = m_adapterParts[static_cast<std::size_t>(adapter)];
    if (parts.size() < 3)
        return false;
    m_beginText = (boost::format("%s.%s.%s.0") % parts[0] % parts[1] % parts[2]).str();
    m_endText = (boost::format("%s.%s.%s.255") % parts[0] % parts[1] % parts[2]).str();
    return true;
}

bool CSearchPage::SetRangeFromTexts()
{
    const auto begin = quill::discovery::ParseIpv4(m_beginText);
    const auto end = quill::discovery::ParseIpv4(m_endText);
    if (!begin || !end)
        return false;
    SetRange(*begin, *end);
    return true;
}

void CSearchPage::SetRange(const Ipv4Octets& begin, const Ipv4Octets& end)
{
    const quill::discovery::DiscoveryRange range = quill::discovery::RangeWithin24(begin, end);
    m_beginAddr = range.begin;
    m_endAddr = range.end;
    if (m_ipBegin)
        m_ipBegin->SetAddress(m_beginAddr);
    if (m_ipEnd)
        m_ipEnd->SetAddress(m_endAddr);
}

void CSearchPage::ApplyLanguage(LanguageId language)
{
    if (!IsLanguage(language))
        return;
    for (const ControlText& text : kPageTexts)
        SetDlgItemText(text.controlId, LanguageText(text.texts, language));
    ApplySelectorLanguage(language);
    m_shownLanguage = language;
    RefreshStatus();
}

void CSearchPage::ApplyPageLanguage(LanguageId language)
{
    ApplyLanguage(language);
}

void CSearchPage::OnSelchangeAdapter()
{
    m_selectedAdapter = m_adapterCombo->GetCurSel();
    if (m_selectedAdapter < 0 || m_selectedAdapter >= UsableAdapterCount())
        return;
    if (FormAdapterRangeTexts(m_selectedAdapter))
        SetRangeFromTexts();
}

void CSearchPage::OnFieldchangedAddress(NMHDR*, LRESULT* result)
{
    SetRange(m_ipBegin->GetAddress(), m_ipEnd->GetAddress());
    *result = 0;
}

void CSearchPage::OnClickedSearch()
{
    m_list.DeleteAllItems();
    m_records.clear();
    m_cameraKeys.clear();
    m_searchState = SearchState::Searching;
    SendDiscovery();
    m_sinceSweep.start();
    m_settleTimer.start(quill::discovery::SettlesAt(m_options.settle, {}));
    RefreshStatus();
}

void CSearchPage::OnDblclkList(NMHDR* header, LRESULT* result)
{
    *result = 0;
    const int row = static_cast<NMITEMACTIVATE*>(header)->iItem;
    // The double click arrives queued: a Search in between may have emptied
    // the list, and a row that is gone opens nothing.
    OpenRow(row);
}

void CSearchPage::OpenRow(int row)
{
    if (row >= 0 && row < m_list.GetItemCount())
        OpenCameraPage(WideToUtf8(m_list.GetItemText(row, kIpAddressColumn)));
}

void CSearchPage::SendDiscovery()
{
    boost::mutex::scoped_lock sweeping(m_sendLock);
    const quill::discovery::SweepOutcome outcome
        = quill::discovery::SendQueries(m_beginAddr, m_endAddr, m_options.ports.queryPort);
    m_lastSweep = outcome;
    // One record per sweep, however many queries failed; the user is not
    // interrupted: the sweep goes on with the remaining addresses.
    if (outcome.failed > 0) {
        LogRecord(mirelo::warning,
            (boost::format("discovery sweep: %d of %d queries could not be sent (%s)") % outcome.failed
                % outcome.attempted % outcome.firstError)
                .str());
    }
}

void CSearchPage::AddDeviceRow(const DeviceRecord& record)
{
    // A log that cannot be written costs the record, never the row.
    const std::optional<std::string> logFailure
        = TryLogRecord(mirelo::debug, quill::discovery::FormatDeviceLogLine(record));

    // Decoded before the hand-off, so the UI thread's share stays short and
    // the listener gets back to the socket quickly.
    const std::array<QString, 4> texts { QString(), Utf8ToWide(record.ip), Utf8ToWide(record.mac),
        Utf8ToWide(record.fw) };
    std::string cameraKey = record.ip + ' ' + record.mac;
    quill::discovery::DeviceRecord kept = record;
    const UiHandOff handOff = m_listenerHandOff ? *m_listenerHandOff : HandOff();
    handOff.Run([&] {
        DeferListPainting();
        m_records.push_back(std::move(kept));
        m_cameraKeys.insert(std::move(cameraKey));
        const int number = static_cast<int>(m_records.size());
        // Where an active header sort puts it; "No." sorts by the arrival number.
        const int row = m_list.InsertItem(
            m_list.SortedInsertPosition({ QString::number(number), texts[1], texts[2], texts[3] }),
            QString::number(number));
        for (int column = 1; column < 4; ++column)
            m_list.SetItemText(row, column, texts[static_cast<std::size_t>(column)]);
        m_list.SetItemData(row, static_cast<quintptr>(number - 1));
        // A search settles only once its answers have stopped coming.
        if (m_searchState == SearchState::Searching && m_sinceSweep.isValid()) {
            const std::chrono::milliseconds since(m_sinceSweep.elapsed());
            m_settleTimer.start(std::max(std::chrono::milliseconds::zero(),
                quill::discovery::SettlesAt(m_options.settle, since) - since));
        }
    });
    if (logFailure)
        ReportListenerFailure("the log could not be written: " + *logFailure);
}

quill::discovery::ResultRow CSearchPage::RowAt(int row) const
{
    const auto index = static_cast<std::size_t>(m_list.GetItemData(row));
    if (index >= m_records.size())
        return {};
    return { static_cast<int>(index) + 1, m_records[index] };
}

std::vector<quill::discovery::ResultRow> CSearchPage::ResultRows() const
{
    std::vector<quill::discovery::ResultRow> rows;
    for (int row = 0; row < m_list.GetItemCount(); ++row)
        rows.push_back(RowAt(row));
    return rows;
}

void CSearchPage::ShowRowMenu(int row)
{
    if (row < 0 || row >= m_list.GetItemCount())
        return;
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    const auto add = [&](const LanguageTexts& text, auto action) {
        connect(menu->addAction(LanguageText(text, m_shownLanguage)), &QAction::triggered, this, action);
    };
    add(kOpenWebPageText, [this, row] { OpenRow(row); });
    add(kCopyIpText,
        [this, row] { QApplication::clipboard()->setText(m_list.GetItemText(row, kIpAddressColumn)); });
    add(kCopyRowText, [this] { CopyRows(false); });
    add(kCopyAllText, [this] { CopyRows(true); });
    add(kExportText, [this] { ExportCsv(); });
    add(kSaveReportText, [this] { Q_EMIT SiteReportRequested(); });
    m_list.selectRow(row);
    menu->popup(QCursor::pos());
}

void CSearchPage::CopyRows(bool all)
{
    std::vector<quill::discovery::ResultRow> rows;
    if (all)
        rows = ResultRows();
    else if (m_list.currentIndex().isValid())
        rows.push_back(RowAt(m_list.currentIndex().row()));
    else
        return;
    QApplication::clipboard()->setText(
        QString::fromStdString(quill::discovery::ResultTableText(rows, '\t', all)));
}

void CSearchPage::ExportCsv()
{
    const QString path = m_options.chooseExportFile();
    if (path.isEmpty())
        return;
    QFile file(path);
    const std::string text = quill::discovery::ResultTableText(ResultRows(), ',');
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        AfxMessageBox(LanguageText(kExportFailedText, m_shownLanguage).arg(file.errorString()));
    }
}

bool CSearchPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            CopyRows(false);
            return true;
        }
        if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            && m_list.currentIndex().isValid()) {
            OpenRow(m_list.currentIndex().row());
            return true;
        }
    }
    return CLanguagePage::eventFilter(watched, event);
}

QString CSearchPage::StatusText() const
{
    return m_status ? m_status->text() : QString();
}

void CSearchPage::RefreshStatus()
{
    if (!m_status)
        return;
    using namespace quill::discovery;
    const int language = m_shownLanguage;
    std::string text;
    if (m_searchState == SearchState::Searching)
        text = SearchingText(language, m_beginAddr, m_endAddr, CameraCount());
    else if (m_searchState == SearchState::Settled && m_cameraKeys.empty() && m_diagnosis)
        text = NoAnswerText(language, m_diagnosis->first, m_diagnosis->second);
    else if (!m_cameraKeys.empty() || m_searchState == SearchState::Settled)
        text = OutcomeText(language, CameraCount(), m_lastSweep ? &*m_lastSweep : nullptr);
    m_status->setText(QString::fromStdString(text));
}

void CSearchPage::OnSearchSettled()
{
    m_searchState = SearchState::Settled;
    if (m_cameraKeys.empty()) {
        using namespace quill::discovery;
        std::string adapterLabel;
        std::optional<Ipv4Octets> adapterAddress;
        if (const auto adapter = m_adapterCombo->GetCurSel(); adapter >= 0) {
            adapterLabel = WideToUtf8(m_adapterCombo->itemText(adapter));
            adapterAddress = ParseIpv4(adapterLabel);
        }
        const SearchFacts facts = GatherSearchFacts(IsListening(), m_options.ports.listenPort,
            m_lastSweep.value_or(SweepOutcome {}), m_beginAddr, m_endAddr, adapterLabel, adapterAddress,
            m_options.neighbourTable);
        const NoAnswerCause cause = DiagnoseNoAnswer(facts);
        TryLogRecord(mirelo::warning, NoAnswerText(kEnglish, cause, facts));
        // Kept, so that a change of language tells it again.
        m_diagnosis = std::make_pair(cause, facts);
    } else {
        m_diagnosis.reset();
    }
    RefreshStatus();
}

void CSearchPage::DeferListPainting()
{
    if (m_listPaintTimer.isActive())
        return;
    m_list.setUpdatesEnabled(false);
    m_listPaintTimer.start();
}

void CSearchPage::StartListener()
{
    m_listenerHandOff = HandOff();
    m_listener = std::make_unique<quill::discovery::DiscoveryListener>(
        m_options.ports.listenPort, [this](const DeviceRecord& record) { AddDeviceRow(record); },
        [this](const std::string& what) { ReportListenerFailure(what); });
    const quill::discovery::ListenerStart start = m_listener->Start();
    using Error = quill::discovery::ListenerStart::Error;
    // Told once the page is up, as a message box and a close request.
    if (start.error == Error::PortConflict)
        QMetaObject::invokeMethod(
            this, [this] { ReportPortConflict(); }, Qt::QueuedConnection);
    else if (start.error == Error::Failed)
        ReportListenerFailure(start.what);
}

void CSearchPage::StopListener()
{
    if (!m_listener)
        return;
    m_listener->RequestStop();
    // Releases a listener waiting for its row; it then finds its socket
    // stopped and ends.
    HandOff().Close();
    m_listener.reset();
}

bool CSearchPage::IsListening() const
{
    return m_listener && m_listener->IsListening();
}

void CSearchPage::ReportListenerFailure(const std::string& what)
{
    TryLogRecord(mirelo::critical, (boost::format("discovery listener: %s") % what).str());
}

void CSearchPage::ReportPortConflict()
{
    TryLogRecord(mirelo::critical, "port conflict!");
    AfxMessageBox(QStringLiteral("Port conflict!\n"));
    SendMessage(WM_CLOSE);
}
