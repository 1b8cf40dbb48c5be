#include "CSearchPage.h"

#include "CComboBox.h"
#include "CIPAddressCtrl.h"
#include "CameraHelpText.h"
#include "CameraPage.h"
#include "ExportFileName.h"
#include "FindingMarks.h"
#include "ListCtrlExSortHead.h"
#include "ListItemNotify.h"
#include "Logger.h"
#include "MessageBox.h"
#include "OpenAnywayBox.h"
#include "ResultOrder.h"
#include "SafeWideText.h"
#include "SearchPageLayout.h"
#include "SearchPageMenuTexts.h"
#include "SearchPageNotices.h"
#include "SearchPageTemplate.h"
#include "SearchPageTexts.h"
#include "TextConversion.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPalette>
#include <QToolTip>

#include <algorithm>
#include <utility>

using namespace searchpage;
using quill::discovery::DeviceRecord;
using quill::text::SafeWideText;
using quill::text::Utf8ToWide;
using quill::text::WideToUtf8;

namespace {

struct ResultColumn {
    const char* heading;
    int width; // pixels
};

// The same headings in every language.
constexpr std::array<ResultColumn, 6> kResultColumns { {
    { "No.", 50 },
    { "IP Address", 130 },
    { "MAC Address", 130 },
    { "F/W Version", 130 },
    { "Serial Number", 130 },
    { "Device Name", 150 },
} };

constexpr int kIpAddressColumn = 1;

// The range with no adapter to take it from.
constexpr char kDefaultRangeText[] = "192.168.1.1";

// Rows that arrive within this time are painted together: the rows are in
// the list at once, only their drawing waits. Painting the list for every
// single answer would cost far more than the answer itself.
constexpr int kListPaintDelayMs = 20;

} // namespace

CSearchPage::CSearchPage(QWidget* parent)
    : CSearchPage(DiscoveryPorts {}, parent)
{
}

CSearchPage::CSearchPage(DiscoveryPorts ports, QWidget* parent)
    : CSearchPage(SearchPageOptions { .engine = { .ports = ports } }, parent)
{
}

CSearchPage::CSearchPage(SearchPageOptions options, QWidget* parent)
    : CLanguagePage(SearchPageTemplate(), parent)
    , m_options(std::move(options))
    , m_engine(m_options.engine)
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
        // While clean cameras stream in, the problems' words stay as they were.
        RefreshStatus(std::exchange(m_problemsChanged, false));
    });
    connect(&m_engine, &quill::discovery::DiscoveryEngine::CameraAdded, this, &CSearchPage::OnCameraAdded);
    connect(
        &m_engine, &quill::discovery::DiscoveryEngine::CameraUpdated, this, &CSearchPage::OnCameraUpdated);
    connect(&m_engine, &quill::discovery::DiscoveryEngine::Settled, this, [this] { RefreshStatus(); });
    if (!m_options.chooseExportFile) {
        m_options.chooseExportFile = [this](const QString& suggested) {
            return QFileDialog::getSaveFileName(
                this, LanguageText(kExportText, m_shownLanguage), suggested, QStringLiteral("CSV (*.csv)"));
        };
    }
    if (!m_options.confirmOpen) {
        m_options.confirmOpen
            = [this](const QString& question) { return AskOpenAnyway(this, question, m_shownLanguage); };
    }
    connect(&m_list, &ListCtrlEx::CListCtrlEx::listExRClick, this,
        [this](ListCtrlEx::CListCtrlEx*, ListCtrlEx::CellPos cell) { ShowRowMenu(cell.row); });
    m_list.installEventFilter(this);
    m_list.viewport()->installEventFilter(this);

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
    // The list and its viewport outlive this body and send events while they
    // go; the page that filtered them is gone by then.
    m_list.viewport()->removeEventFilter(this);
    m_list.removeEventFilter(this);
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

    FillAdapterList();
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
    // Tab leaves the list for the next control instead of moving between cells.
    m_list.setTabKeyNavigation(false);
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
    // Serial number and device name sort as text. Rows with findings are marked.
    searchpage::PrepareFindingMarks(m_list, ListCtrlEx::SortOnHeaderClick);
}

// The leading slots that hold a whole address: the list's entries are the
// table's slots, index for index.
int CSearchPage::UsableAdapterCount() const
{
    const int handed = std::clamp(m_adapterCount, 0, kAdapterSlots);
    int usable = 0;
    while (
        usable < handed && quill::discovery::Ipv4FromParts(m_adapterParts[static_cast<std::size_t>(usable)]))
        ++usable;
    return usable;
}

std::optional<CSearchPage::Ipv4Octets> CSearchPage::AdapterAddress(int adapter) const
{
    if (adapter < 0 || adapter >= UsableAdapterCount())
        return std::nullopt;
    return quill::discovery::Ipv4FromParts(m_adapterParts[static_cast<std::size_t>(adapter)]);
}

void CSearchPage::FillAdapterList()
{
    m_adapterCombo->ResetContent();
    for (int i = 0; i < UsableAdapterCount(); ++i)
        m_adapterCombo->InsertString(
            i, QString::fromStdString(quill::discovery::FormatIpv4(*AdapterAddress(i))));
}

void CSearchPage::TakeAdapters(int count, const std::array<std::vector<std::string>, kAdapterSlots>& parts,
    const std::array<AdapterFacts, kAdapterSlots>& facts, int selected)
{
    const std::optional<Ipv4Octets> chosenAddress = AdapterAddress(m_selectedAdapter);
    m_adapterCount = count;
    m_adapterParts = parts;
    m_adapterFacts = facts;
    if (!m_adapterCombo)
        return; // not created yet: its initialisation takes them
    FillAdapterList();
    if (!AdapterAddress(selected))
        selected = 0;
    m_selectedAdapter = selected;
    m_adapterCombo->SetCurSel(selected);
    if (const auto address = AdapterAddress(selected); address && address != chosenAddress) {
        FormAdapterRangeTexts(selected);
        SetRangeFromTexts();
    }
    RefreshStatus();
}

bool CSearchPage::FormAdapterRangeTexts(int adapter)
{
    const auto address = AdapterAddress(adapter);
    if (!address)
        return false;
    const quill::discovery::DiscoveryRange network = quill::discovery::NetworkOf(*address);
    m_beginText = quill::discovery::FormatIpv4(network.begin);
    m_endText = quill::discovery::FormatIpv4(network.end);
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
    m_statusNote.clear();
    ClearResults();
    SendDiscovery();
    RefreshStatus();
}

void CSearchPage::ClearResults()
{
    m_list.DeleteAllItems();
    m_list.RemoveAllCellBkColors();
    m_engine.Clear();
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
    if (row < 0 || row >= m_list.GetItemCount())
        return;
    const quill::discovery::ResultRow camera = RowAt(row);
    if (quill::discovery::MayNotOpen(camera.findings)
        && !m_options.confirmOpen(QString::fromStdString(quill::discovery::OpenAnywayQuestion(
            m_engine.Problems(m_shownLanguage), camera.number, m_shownLanguage))))
        return;
    // The address the camera reports, as it sent it.
    OpenCameraPage(camera.record.ip);
}

void CSearchPage::SendDiscovery()
{
    boost::mutex::scoped_lock sweeping(m_sendLock);
    quill::discovery::SearchTarget target;
    target.range = { m_beginAddr, m_endAddr };
    const int adapter = m_adapterCombo->GetCurSel();
    // The adapter's own slot: its address, not the list's text read back.
    if (const std::optional<Ipv4Octets> address = AdapterAddress(adapter)) {
        target.adapterAddress = address;
        target.adapterLabel = quill::discovery::FormatIpv4(*address);
        target.adapterMask = m_adapterFacts[static_cast<std::size_t>(adapter)].mask;
        target.adapterInterface = m_adapterFacts[static_cast<std::size_t>(adapter)].interfaceName;
    }
    m_engine.Search(target);
}

void CSearchPage::AddDeviceRow(const DeviceRecord& record)
{
    m_engine.Accept(record, {});
    m_engine.TakeAnswers();
}

void CSearchPage::OnCameraAdded(int index)
{
    DeferListPainting();
    const quill::discovery::ResultRow& camera = m_engine.Cameras()[static_cast<std::size_t>(index)];
    const QStringList texts = CameraTexts(camera);
    // Where an active header sort puts it; "No." sorts by the camera's number.
    const int row = m_list.InsertItem(m_list.SortedInsertPosition(texts), texts[0]);
    m_list.SetItemData(row, static_cast<quintptr>(index));
    ShowCameraTexts(row, texts);
    // A row without findings costs nothing more.
    if (camera.findings != 0) {
        searchpage::ShowFindingMark(m_list, row, true);
        m_problemsChanged = true;
    }
}

void CSearchPage::OnCameraUpdated(int index)
{
    for (int row = 0; row < m_list.GetItemCount(); ++row) {
        if (m_list.GetItemData(row) == static_cast<quintptr>(index)) {
            DeferListPainting();
            const quill::discovery::ResultRow& camera = m_engine.Cameras()[static_cast<std::size_t>(index)];
            ShowCameraTexts(row, CameraTexts(camera));
            searchpage::ShowFindingMark(m_list, row, camera.findings != 0);
            m_problemsChanged = true;
            return;
        }
    }
}

QStringList CSearchPage::CameraTexts(const quill::discovery::ResultRow& camera)
{
    // Camera texts show their hidden characters visibly, never as themselves.
    const quill::discovery::DeviceRecord& record = camera.record;
    return { QString::number(camera.number), SafeWideText(record.ip), SafeWideText(record.mac),
        SafeWideText(record.fw), SafeWideText(record.sn), SafeWideText(record.device_name) };
}

void CSearchPage::ShowCameraTexts(int row, const QStringList& texts)
{
    for (int column = 1; column < texts.size(); ++column)
        m_list.SetItemText(row, column, texts[column]);
}

QString CSearchPage::CellToolTip(ListCtrlEx::CellPos cell) const
{
    const quill::discovery::ResultRow camera = RowAt(cell.row);
    if (camera.number == 0)
        return {};
    QStringList lines;
    if (m_list.IsCellTextCut(cell.row, cell.column))
        lines << m_list.GetItemText(cell.row, cell.column);
    if (camera.findings != 0) {
        const std::string problems
            = quill::discovery::CameraProblemsText(m_engine.Problems(m_shownLanguage), camera.number);
        if (!problems.empty())
            lines << QString::fromStdString(problems);
    }
    lines << LanguageText(kAnswerCountText, m_shownLanguage).arg(camera.answers);
    return lines.join(QLatin1Char('\n'));
}

quill::discovery::ResultRow CSearchPage::RowAt(int row) const
{
    const auto index = static_cast<std::size_t>(m_list.GetItemData(row));
    if (row < 0 || row >= m_list.GetItemCount() || index >= m_engine.Cameras().size())
        return {};
    return m_engine.Cameras()[index];
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

void CSearchPage::OpenKeyboardMenu()
{
    // Under X11 the Menu key comes as a context menu request and then as a
    // key press: the second finds the menu open.
    if (qobject_cast<QMenu*>(QApplication::activePopupWidget()))
        return;
    const QModelIndex current = m_list.currentIndex();
    if (!current.isValid() || current.row() >= m_list.GetItemCount())
        return;
    ShowRowMenu(current.row());
    if (QWidget* menu = QApplication::activePopupWidget())
        menu->move(m_list.viewport()->mapToGlobal(m_list.visualRect(current).bottomLeft()));
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
    const QString chosen = m_options.chooseExportFile(SuggestedExportPath(
        m_exportFolder.isEmpty() ? QDir::homePath() : m_exportFolder, QDate::currentDate()));
    if (chosen.isEmpty())
        return;
    const QString path = WithCsvSuffix(chosen);
    m_exportFolder = QFileInfo(path).absolutePath();
    QFile file(path);
    const std::string text = quill::discovery::ResultTableText(ResultRows(), ',');
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size())) {
        AfxMessageBox(LanguageText(kExportFileFailedText, m_shownLanguage)
                          .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
}

bool CSearchPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_list.viewport() && event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = CellToolTip(m_list.HitTestCell(help->pos()));
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, m_list.viewport());
        return true;
    }
    if (watched == &m_list && event->type() == QEvent::ContextMenu
        && static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard) {
        OpenKeyboardMenu();
        return true;
    }
    if (watched == &m_list && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->matches(QKeySequence::Copy)) {
            CopyRows(false);
            return true;
        }
        if (key->key() == Qt::Key_Menu
            || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            OpenKeyboardMenu();
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

void CSearchPage::resizeEvent(QResizeEvent* event)
{
    CLanguagePage::resizeEvent(event);
    LayOutSearchPage(*this);
}

QString CSearchPage::StatusText() const
{
    return m_status ? m_status->text() : QString();
}

void CSearchPage::RefreshStatus(bool withProblems)
{
    if (!m_status)
        return;
    QString text = QString::fromStdString(m_engine.StatusText(m_shownLanguage));
    // Without an adapter the engine could only name none.
    if (UsableAdapterCount() == 0 && m_engine.Cameras().empty()
        && m_engine.state() != quill::discovery::DiscoveryEngine::State::Searching)
        text = LanguageText(kNoAdapterText, m_shownLanguage);
    if (!m_statusNote.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + m_statusNote;
    m_status->setText(text);
    // The problems the status line counts, each in words.
    if (withProblems)
        m_status->setToolTip(QString::fromStdString(m_engine.StatusDetails(m_shownLanguage)));
}

void CSearchPage::ShowStatusNote(const QString& note)
{
    m_statusNote = note;
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
    // Told once the page is up, as a message box and a close request; any
    // other failure is in the log.
    if (m_engine.StartListening().error == quill::discovery::ListenerStart::Error::PortConflict)
        QMetaObject::invokeMethod(
            this, [this] { ReportPortConflict(); }, Qt::QueuedConnection);
}

void CSearchPage::ReportPortConflict()
{
    Logger::instance();
    Logger::write(mirelo::critical, "port conflict!");
    AfxMessageBox(QStringLiteral("Port conflict!\n"));
    SendMessage(WM_CLOSE);
}
