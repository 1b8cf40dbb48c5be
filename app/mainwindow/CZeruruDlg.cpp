#include "CZeruruDlg.h"

#include "AdapterWatcher.h"
#include "AppIcon.h"
#include "CComboBox.h"
#include "CDevicePage.h"
#include "CSearchPage.h"
#include "CTabCtrl.h"
#include "ChineseFont.h"
#include "DevicePageIds.h"
#include "MainWindowTemplate.h"
#include "MainWindowTexts.h"
#include "MessageBox.h"
#include "SearchPageMenuTexts.h"
#include "SiteReportFile.h"
#include "SiteReportRun.h"
#include "SiteReportSaving.h"
#include "StoredLanguage.h"
#include "TextConversion.h"
#include "WindowOps.h"
#include "WindowSizeSetting.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeySequence>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

namespace {

using quill::netinfo::AdapterInfo;
using quill::netinfo::kAdapterSlotCount;

// Pages sit inside the tab control's frame, below the row of tabs: 3 pixels
// in from the frame and 23 from the top, or more where the style draws a
// taller row of tabs, so that a page never covers the tabs or the frame's top
// line.
constexpr QMargins kPageInset(3, 23, 3, 3);
constexpr int kFrameBelowTabs = 2;

int FilledSlots(const quill::netinfo::AdapterTable& table)
{
    return std::clamp(table.count, 0, kAdapterSlotCount);
}

// One adapter in two readings of the table: by its system name where the
// collector gives one, else by its address.
bool SameAdapter(const AdapterInfo& a, const AdapterInfo& b)
{
    if (!a.interfaceName.empty() || !b.interfaceName.empty())
        return a.interfaceName == b.interfaceName;
    return a.addressParts == b.addressParts;
}

} // namespace

CZeruruDlg::CZeruruDlg(quill::app::MainWindowParts parts, QWidget* parent)
    : CDialogBase(quill::app::MainWindowTemplate(), parent)
    , m_icon(quill::app::AppIcon())
    , m_parts(std::move(parts))
{
    if (!m_parts.settingsPath)
        m_parts.settingsPath = &quill::settings::SettingsPath;
    // A dialog frame with a title bar, a close button and room to grow.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    MapNotify(quill::app::kTabCtrlId, TCN_SELCHANGE,
        [this](NMHDR* header, LRESULT* result) { OnSelchangeTab(header, result); });
    MapMessage(WM_LANGUAGE_CHANGED,
        [this](WPARAM wParam, LPARAM lParam) { return OnLanguageChanged(wParam, lParam); });
}

CZeruruDlg::~CZeruruDlg()
{
    if (m_sizeWrite && m_sizeWrite->isActive())
        RememberSize();
    m_adapterWatcher.reset();
    // The pages go before the window: the search page's destruction stops
    // its listener thread while everything it may still call exists.
    m_searchPage.reset();
    m_devicePage.reset();
}

void CZeruruDlg::DoDataExchange()
{
    CDialogBase::DoDataExchange();
    m_tabCtrl = GetDlgItemAs<CTabCtrl>(quill::app::kTabCtrlId);
}

bool CZeruruDlg::OnInitDialog()
{
    CDialogBase::OnInitDialog();
    setWindowIcon(m_icon);
    SetWindowText(QString::fromUtf8(quill::app::kMainWindowTitle));

    m_adapterRows = quill::netinfo::ReadAdapterRows(m_parts.collectors);
    m_adapters = quill::netinfo::AdapterTableOf(m_adapterRows);
    if (m_parts.followAdapterChanges) {
        m_adapterWatcher = std::make_unique<quill::netinfo::AdapterWatcher>(m_parts.collectors);
        connect(m_adapterWatcher.get(), &quill::netinfo::AdapterWatcher::AdaptersChanged, this,
            &CZeruruDlg::OnAdaptersChanged);
        m_adapterWatcher->Start(m_adapterRows);
    }

    for (int tab = 0; tab < quill::app::kTabCount; ++tab)
        m_tabCtrl->InsertItem(tab, quill::app::TabLabel(tab, kEnglish));

    CreatePages();
    PlaceControls();
    for (const auto& [keys, step] : { std::pair { QKeySequence(Qt::CTRL | Qt::Key_Tab), 1 },
             std::pair { QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1 },
             std::pair { QKeySequence(Qt::CTRL | Qt::Key_Backtab), -1 } })
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
            [this, step = step] { SwitchPage(step); });
    m_tabCtrl->SetCurSel(kSearchTab);
    ApplyStoredLanguageToSearchPage();

    m_searchPage->ShowWindow(true);
    m_devicePage->ShowWindow(false);
    return true;
}

void CZeruruDlg::CreatePages()
{
    if (m_parts.makeSearchPage)
        m_searchPage = m_parts.makeSearchPage();
    if (!m_searchPage)
        m_searchPage = std::make_unique<CSearchPage>();
    if (m_parts.makeDevicePage)
        m_devicePage = m_parts.makeDevicePage();
    if (!m_devicePage)
        m_devicePage = std::make_unique<CDevicePage>();

    // The search page fills its adapter list and its range during its own
    // initialisation, so it gets the addresses before it is created.
    HandAdaptersToSearchPage();

    // The pages store a language chosen on them where the window reads it.
    m_searchPage->SetSettingsLocation(m_parts.settingsPath);
    m_devicePage->SetSettingsLocation(m_parts.settingsPath);

    m_searchPage->Create(this);
    m_devicePage->Create(this);
    connect(m_searchPage.get(), &CSearchPage::SiteReportRequested, this, &CZeruruDlg::SaveSiteReport);
    connect(this, &CZeruruDlg::SearchStatusNote, m_searchPage.get(), &CSearchPage::ShowStatusNote);
}

void CZeruruDlg::SaveSiteReport()
{
    if (m_reportRun)
        return;
    const LanguageId language = m_searchPage->m_language;
    QString path = m_parts.chooseReportFile
        ? m_parts.chooseReportFile()
        : QFileDialog::getSaveFileName(this, LanguageText(searchpage::kSaveReportText, language),
            QStringLiteral("site-report.html"), QStringLiteral("HTML (*.html)"));
    if (path.isEmpty())
        return;
    if (!quill::report::IsHtmlReportName(path))
        path += QStringLiteral(".html");
    auto file = std::make_unique<QSaveFile>(path);
    if (!file->open(QIODevice::WriteOnly)) {
        AfxMessageBox(LanguageText(searchpage::kExportFailedText, language).arg(file->errorString()));
        return;
    }
    m_reportRun = std::make_unique<quill::report::SiteReportRun>(
        quill::app::WindowSiteReport(*m_searchPage, AdapterRowOf(m_searchPage->m_selectedAdapter), language),
        m_devicePage->CurrentPlan(), m_devicePage->Probes(), std::move(file));
    connect(m_reportRun.get(), &quill::report::SiteReportRun::Finished, this,
        [this, language](const QString& error) {
            QApplication::restoreOverrideCursor();
            m_reportRun.release()->deleteLater();
            if (!error.isEmpty())
                AfxMessageBox(LanguageText(searchpage::kExportFailedText, language).arg(error));
        });
    // The checks take a few seconds at most; the window stays usable meanwhile.
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_reportRun->Start();
}

void CZeruruDlg::PlaceControls()
{
    // The template's size is the smallest; the user may make the window
    // larger, and it opens at the size it was left at.
    setMinimumSize(size());
    m_knownSize = size();
    if (const auto stored = quill::app::ReadWindowSize(m_parts.settingsPath())) {
        m_knownSize = stored->expandedTo(minimumSize());
        resize(m_knownSize);
    }
    FitControls();
}

void CZeruruDlg::FitControls()
{
    // The tab control fills the dialog from the client origin.
    MoveWindow(*m_tabCtrl, QRect(QPoint(0, 0), size()));
    QMargins inset = kPageInset;
    inset.setTop(std::max(inset.top(), m_tabCtrl->PageArea().top() + kFrameBelowTabs));
    const QRect pageRect = m_tabCtrl->geometry().marginsRemoved(inset);
    MoveWindow(*m_searchPage, pageRect);
    MoveWindow(*m_devicePage, pageRect);
}

void CZeruruDlg::resizeEvent(QResizeEvent* event)
{
    CDialogBase::resizeEvent(event);
    if (!m_tabCtrl || !m_searchPage || !m_devicePage)
        return;
    FitControls();
    if (size() == m_knownSize)
        return;
    // A drag resizes many times: the size is stored once it rests.
    if (!m_sizeWrite) {
        m_sizeWrite = new QTimer(this);
        m_sizeWrite->setSingleShot(true);
        m_sizeWrite->setInterval(500);
        connect(m_sizeWrite, &QTimer::timeout, this, &CZeruruDlg::RememberSize);
    }
    m_sizeWrite->start();
}

void CZeruruDlg::RememberSize()
{
    if (m_sizeWrite)
        m_sizeWrite->stop();
    if (size() == m_knownSize)
        return;
    m_knownSize = size();
    quill::app::WriteWindowSize(m_parts.settingsPath(), m_knownSize);
}

void CZeruruDlg::closeEvent(QCloseEvent* event)
{
    if (m_sizeWrite && m_sizeWrite->isActive())
        RememberSize();
    CDialogBase::closeEvent(event);
}

void CZeruruDlg::SwitchPage(int step)
{
    const int count = m_tabCtrl->GetItemCount();
    if (count <= 0)
        return;
    m_tabCtrl->SetCurSel((m_tabCtrl->GetCurSel() + step + count) % count);
    OnSelchangeTab(nullptr, nullptr);
    CDialogBase* shown = m_tabCtrl->GetCurSel() == kSearchTab ? static_cast<CDialogBase*>(m_searchPage.get())
                                                              : m_devicePage.get();
    if (QWidget* first = shown->FirstTabStop())
        first->setFocus(Qt::TabFocusReason);
}

void CZeruruDlg::ApplyStoredLanguageToSearchPage()
{
    // Delivered synchronously: the page has applied the language (and posted
    // its announcement for the tab labels) before initialisation goes on.
    if (m_searchPage->m_languageCombo)
        m_searchPage->m_languageCombo->SetCurSel(ReadStoredLanguage(m_parts.settingsPath()));
    m_searchPage->SendMessage(WM_COMMAND, MakeWParam(CLanguagePage::kLanguageComboId, CBN_SELCHANGE),
        reinterpret_cast<LPARAM>(m_searchPage->m_languageCombo));
}

void CZeruruDlg::OnSelchangeTab(NMHDR*, LRESULT* result)
{
    // Read afresh: the other page may have stored a new choice meanwhile.
    const LanguageId stored = ReadStoredLanguage(m_parts.settingsPath());
    switch (m_tabCtrl->GetCurSel()) {
    case kSearchTab:
        if (m_searchPage->m_language != stored)
            m_searchPage->m_language = stored;
        m_searchPage->ShowWindow(true);
        m_devicePage->ShowWindow(false);
        break;
    case kDeviceTab:
        if (m_devicePage->m_language != stored)
            m_devicePage->m_language = stored;
        ShowAdapterSettings(m_searchPage->m_selectedAdapter);
        m_searchPage->ShowWindow(false);
        m_devicePage->ShowWindow(true);
        break;
    default:
        break;
    }
    if (result)
        *result = 0;
}

const AdapterInfo* CZeruruDlg::UsableAdapter(int pageIndex) const
{
    if (pageIndex < 0 || pageIndex >= FilledSlots(m_adapters))
        return nullptr;
    const AdapterInfo& adapter = m_adapters.slots[static_cast<std::size_t>(pageIndex)];
    return quill::discovery::Ipv4FromParts(adapter.addressParts) ? &adapter : nullptr;
}

const quill::netinfo::AdapterRow* CZeruruDlg::AdapterRowOf(int pageIndex) const
{
    const AdapterInfo* adapter = UsableAdapter(pageIndex);
    if (!adapter)
        return nullptr;
    const auto address = quill::discovery::Ipv4FromParts(adapter->addressParts);
    const auto row = std::find_if(
        m_adapterRows.begin(), m_adapterRows.end(), [&](const quill::netinfo::AdapterRow& known) {
            return known.searchable && known.name == adapter->interfaceName && known.address == *address;
        });
    return row == m_adapterRows.end() ? nullptr : &*row;
}

void CZeruruDlg::ShowAdapterSettings(int pageIndex, bool emptyWhenGone)
{
    const AdapterInfo* adapter = UsableAdapter(pageIndex);
    if (!adapter) {
        if (emptyWhenGone) {
            for (const int id : { device_page::kIpText, device_page::kMaskText, device_page::kGatewayText,
                     device_page::kDnsText })
                m_devicePage->SetDlgItemText(id, QString());
        }
        return;
    }
    using quill::text::Utf8ToWide;
    m_devicePage->SetDlgItemText(device_page::kIpText,
        QString::fromStdString(
            quill::discovery::FormatIpv4(*quill::discovery::Ipv4FromParts(adapter->addressParts))));
    m_devicePage->SetDlgItemText(device_page::kMaskText, Utf8ToWide(adapter->subnetMask));
    m_devicePage->SetDlgItemText(device_page::kGatewayText, Utf8ToWide(adapter->defaultGateway));
    m_devicePage->SetDlgItemText(device_page::kDnsText, Utf8ToWide(adapter->dnsServer));
}

void CZeruruDlg::OnAdaptersChanged(const std::vector<quill::netinfo::AdapterRow>& adapters)
{
    // The adapter chosen on the search page, found again in the new table.
    std::optional<AdapterInfo> chosen;
    if (const AdapterInfo* listed = UsableAdapter(m_searchPage->m_selectedAdapter))
        chosen = *listed;
    m_adapterRows = adapters;
    m_adapters = quill::netinfo::AdapterTableOf(m_adapterRows);
    int selected = -1;
    for (int slot = 0; chosen && slot < FilledSlots(m_adapters); ++slot) {
        if (SameAdapter(m_adapters.slots[static_cast<std::size_t>(slot)], *chosen)) {
            selected = slot;
            break;
        }
    }
    HandAdaptersToSearchPage(selected);
    // The check page shows the selected adapter's settings as they are now,
    // also while it is on the screen.
    if (m_tabCtrl->GetCurSel() == kDeviceTab)
        ShowAdapterSettings(m_searchPage->m_selectedAdapter, true);
}

void CZeruruDlg::HandAdaptersToSearchPage(int selected)
{
    std::array<std::vector<std::string>, CSearchPage::kAdapterSlots> parts;
    std::array<CSearchPage::AdapterFacts, CSearchPage::kAdapterSlots> facts;
    const int filled = std::min(FilledSlots(m_adapters), CSearchPage::kAdapterSlots);
    for (std::size_t slot = 0; slot < static_cast<std::size_t>(filled); ++slot) {
        const AdapterInfo& adapter = m_adapters.slots[slot];
        parts[slot] = adapter.addressParts;
        facts[slot] = { quill::discovery::ParseIpv4(adapter.subnetMask), adapter.interfaceName };
    }
    m_searchPage->TakeAdapters(filled, parts, facts, selected);
}

void CZeruruDlg::NoteMissingFont(LanguageId language)
{
    if (m_fontNoted || (language != kTraditionalChinese && language != kSimplifiedChinese))
        return;
    const bool shows = m_parts.fontShows ? m_parts.fontShows(language) : InstalledFontShows(language);
    if (shows)
        return;
    m_fontNoted = true;
    Q_EMIT SearchStatusNote(LanguageText(kNoChineseFontText, language));
}

LRESULT CZeruruDlg::OnLanguageChanged(WPARAM wParam, LPARAM)
{
    const auto language = static_cast<LanguageId>(wParam);
    NoteMissingFont(language);
    const int tabs = std::min(m_tabCtrl->GetItemCount(), quill::app::kTabCount);
    for (int tab = 0; tab < tabs; ++tab)
        m_tabCtrl->SetItemText(tab, quill::app::TabLabel(tab, language));
    RedrawWindow(*this);
    return 0;
}
