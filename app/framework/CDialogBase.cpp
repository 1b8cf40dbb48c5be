#include "CDialogBase.h"

#include "CComboBox.h"
#include "CIPAddressCtrl.h"
#include "CTabCtrl.h"
#include "ControlText.h"
#include "WindowMessageEvent.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPointer>

#include <algorithm>

CDialogBase::CDialogBase(DialogTemplate dialogTemplate, QWidget* parent)
    : QWidget(parent)
    , m_template(std::move(dialogTemplate))
    , m_handOff(this)
{
}

CDialogBase::~CDialogBase()
{
    // Release every worker waiting for this window before it goes away.
    m_handOff.Close();
}

bool CDialogBase::Create(QWidget* parent)
{
    if (m_controlsBuilt)
        return false;
    if (parent != parentWidget())
        setParent(parent);
    QWidget::setVisible(false); // created hidden; no show hook for that
    setFont(DialogFontOf(m_template));
    m_baseUnits = BaseUnitsOf(font());
    resize(MapDialogSize(m_template.size, m_baseUnits));
    if (!m_template.caption.isEmpty())
        setWindowTitle(m_template.caption);

    m_controls = BuildControls(
        m_template, *this, m_baseUnits, [this](const ControlTemplate& control, QWidget* controlParent) {
            return CreateCustomControl(control, controlParent);
        });
    for (const auto& [id, control] : m_controls)
        ConnectNotifications(id, *control);
    ChainTabStops();
    m_controlsBuilt = true;

    DoDataExchange();
    OnInitDialog();
    return true;
}

int CDialogBase::DoModal()
{
    if (!m_controlsBuilt && !Create(nullptr))
        return -1;
    m_modalResult = IDCANCEL;
    if (!m_endRequested) {
        setWindowModality(Qt::ApplicationModal);
        ShowWindow(true);
        QEventLoop loop;
        m_modalLoop = &loop;
        const QPointer<CDialogBase> alive(this);
        const int loopResult = loop.exec(QEventLoop::DialogExec);
        if (!alive)
            return loopResult; // destroyed while running: its members are gone
        m_modalLoop = nullptr;
    }
    m_endRequested = false;
    ShowWindow(false);
    return m_modalResult;
}

void CDialogBase::EndDialog(int result)
{
    m_modalResult = result;
    if (m_modalLoop)
        m_modalLoop->exit(result);
    else
        m_endRequested = true; // ended during OnInitDialog: DoModal returns at once
}

std::vector<QWidget*> CDialogBase::TabStops() const
{
    std::vector<QWidget*> stops;
    for (const ControlTemplate& control : m_template.controls) {
        QWidget* widget = GetDlgItem(control.id);
        if (widget && (widget->focusPolicy() & Qt::TabFocus) != 0
            && std::find(stops.begin(), stops.end(), widget) == stops.end())
            stops.push_back(widget);
    }
    return stops;
}

void CDialogBase::ChainTabStops()
{
    const std::vector<QWidget*> stops = TabStops();
    for (std::size_t i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops[i - 1], stops[i]);
}

QWidget* CDialogBase::FirstTabStop() const
{
    for (QWidget* stop : TabStops()) {
        if (stop->isVisible() && stop->isEnabled())
            return stop;
    }
    return nullptr;
}

QRect CDialogBase::MapDialogRect(const QRect& dialogUnits) const
{
    return ::MapDialogRect(dialogUnits, m_baseUnits);
}

QWidget* CDialogBase::GetDlgItem(int id) const
{
    const auto found = m_controls.find(id);
    return found == m_controls.end() ? nullptr : found->second;
}

void CDialogBase::SetDlgItemText(int id, const QString& text)
{
    if (QWidget* control = GetDlgItem(id))
        SetControlText(*control, text);
}

QString CDialogBase::GetDlgItemText(int id) const
{
    const QWidget* control = GetDlgItem(id);
    return control ? ControlText(*control) : QString();
}

bool CDialogBase::PostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    QCoreApplication::postEvent(this, new WindowMessageEvent(message, wParam, lParam));
    return true;
}

LRESULT CDialogBase::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_handOff.IsUiThread())
        return WindowProc(message, wParam, lParam);
    return m_handOff.Run([&] { return WindowProc(message, wParam, lParam); }).value_or(0);
}

CDialogBase* CDialogBase::GetParentDialog() const
{
    return qobject_cast<CDialogBase*>(parentWidget());
}

void CDialogBase::setVisible(bool visible)
{
    const bool changed = visible != m_shown;
    m_shown = visible;
    QWidget::setVisible(visible);
    if (changed && m_controlsBuilt)
        OnShowWindow(visible);
}

QWidget* CDialogBase::CreateCustomControl(const ControlTemplate&, QWidget*)
{
    return nullptr;
}

void CDialogBase::DoDataExchange()
{
}

bool CDialogBase::OnInitDialog()
{
    return true;
}

void CDialogBase::OnShowWindow(bool)
{
}

LRESULT CDialogBase::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const auto handler = m_messageMap.find(message); handler != m_messageMap.end())
        return handler->second(wParam, lParam);

    if (message == WM_COMMAND) {
        const auto key = std::make_pair(static_cast<int>(LoWord(wParam)), static_cast<UINT>(HiWord(wParam)));
        if (const auto handler = m_commandMap.find(key); handler != m_commandMap.end()) {
            handler->second();
            return 0;
        }
    } else if (message == WM_NOTIFY && lParam != 0) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (const auto handler = m_notifyMap.find(std::make_pair(header->idFrom, header->code));
            handler != m_notifyMap.end()) {
            LRESULT result = 0;
            handler->second(header, &result);
            return result;
        }
    }
    return DefWindowProc(message, wParam, lParam);
}

LRESULT CDialogBase::DefWindowProc(UINT message, WPARAM, LPARAM)
{
    if (message == WM_CLOSE && IsTopLevelDialog()) {
        if (m_modalLoop)
            EndDialog(IDCANCEL);
        else
            ShowWindow(false);
    }
    return 0;
}

void CDialogBase::MapMessage(UINT message, MessageHandler handler)
{
    m_messageMap[message] = std::move(handler);
}

void CDialogBase::MapCommand(int controlId, UINT code, CommandHandler handler)
{
    m_commandMap[std::make_pair(controlId, code)] = std::move(handler);
}

void CDialogBase::MapNotify(int controlId, UINT code, NotifyHandler handler)
{
    m_notifyMap[std::make_pair(controlId, code)] = std::move(handler);
}

bool CDialogBase::event(QEvent* event)
{
    if (event->type() == WindowMessageEvent::EventType()) {
        const auto* message = static_cast<WindowMessageEvent*>(event);
        WindowProc(message->message, message->wParam, message->lParam);
        return true;
    }
    return QWidget::event(event);
}

void CDialogBase::closeEvent(QCloseEvent* event)
{
    // The window system's close button becomes the close request; whether
    // the window really goes is up to its handler or the default processing.
    event->ignore();
    SendMessage(WM_CLOSE);
}

// Turns the controls' own signals into the notifications the message map
// routes: commands for buttons, drop-down lists and edits, WM_NOTIFY records
// for the address and tab controls.
void CDialogBase::ConnectNotifications(int id, QWidget& control)
{
    const auto command = [this, id, &control](UINT code) {
        SendMessage(
            WM_COMMAND, MakeWParam(static_cast<unsigned>(id), code), reinterpret_cast<LPARAM>(&control));
    };
    if (auto* button = qobject_cast<QAbstractButton*>(&control)) {
        connect(button, &QAbstractButton::clicked, this, [command] { command(BN_CLICKED); });
    } else if (auto* combo = qobject_cast<CComboBox*>(&control)) {
        connect(combo, &QComboBox::activated, this, [command] { command(CBN_SELCHANGE); });
    } else if (auto* edit = qobject_cast<QLineEdit*>(&control)) {
        connect(edit, &QLineEdit::textChanged, this, [command] { command(EN_CHANGE); });
    } else if (auto* address = qobject_cast<CIPAddressCtrl*>(&control)) {
        connect(address, &CIPAddressCtrl::FieldChanged, this, [this, id, address] {
            NMHDR record { address, id, IPN_FIELDCHANGED };
            SendMessage(WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&record));
        });
    } else if (auto* tab = qobject_cast<CTabCtrl*>(&control)) {
        connect(tab, &CTabCtrl::SelChange, this, [this, id, tab] {
            NMHDR record { tab, id, TCN_SELCHANGE };
            SendMessage(WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&record));
        });
    }
}
