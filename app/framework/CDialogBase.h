#pragma once
// Base of the main window and the tab pages: a widget built from a dialog
// template, with the framework's life cycle (DoDataExchange and OnInitDialog
// once the controls exist, OnShowWindow on every show and hide, the close
// request) and window messages routed through a message map.
//
// Posted messages (PostMessage) are queued and handled after the event loop
// turns; sent messages (SendMessage) are handled before the call returns, on
// the UI thread: from another thread the sender waits for it (UiHandOff).
#include "DialogBuilder.h"
#include "DialogTemplate.h"
#include "DialogUnits.h"
#include "UiHandOff.h"
#include "WindowMessage.h"

#include <QWidget>

#include <functional>
#include <map>
#include <utility>
#include <vector>

class QEventLoop;

class CDialogBase : public QWidget {
    Q_OBJECT
public:
    explicit CDialogBase(DialogTemplate dialogTemplate, QWidget* parent = nullptr);
    ~CDialogBase() override;

    // Builds the controls and runs DoDataExchange and OnInitDialog. With a
    // parent the dialog becomes a child window of it (a page), created hidden;
    // without one a top-level window. False when already created.
    bool Create(QWidget* parent);
    // Runs the dialog as an application-modal window until EndDialog (or the
    // close request's default processing) ends it; returns EndDialog's result
    // (IDCANCEL when the loop ended otherwise).
    int DoModal();
    void EndDialog(int result);
    bool IsCreated() const { return m_controlsBuilt; }

    const DialogTemplate& Template() const { return m_template; }
    DialogBaseUnits BaseUnits() const { return m_baseUnits; }
    QRect MapDialogRect(const QRect& dialogUnits) const;

    // The first control, in template order, that Tab stops at.
    QWidget* FirstTabStop() const;

    // Controls by id; nullptr when the id is unknown or of another type.
    QWidget* GetDlgItem(int id) const;
    template <class T> T* GetDlgItemAs(int id) const { return qobject_cast<T*>(GetDlgItem(id)); }
    void SetDlgItemText(int id, const QString& text);
    QString GetDlgItemText(int id) const;

    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    // The hand-off to this dialog's thread; close it before joining a worker
    // that may be waiting in it. Closed when the dialog is destroyed.
    UiHandOff HandOff() const { return m_handOff; }
    CDialogBase* GetParentDialog() const;

    void ShowWindow(bool show) { setVisible(show); }
    void SetWindowText(const QString& text) { setWindowTitle(text); }
    QString GetWindowText() const { return windowTitle(); }
    // Calls OnShowWindow whenever the dialog's own visibility changes.
    void setVisible(bool visible) override;

protected:
    // Framework hooks, called in this order by Create.
    virtual QWidget* CreateCustomControl(const ControlTemplate& control, QWidget* parent);
    virtual void DoDataExchange();
    virtual bool OnInitDialog();
    // Called after the dialog was shown (show true) or hidden (show false).
    virtual void OnShowWindow(bool show);

    // Every message, posted or sent, passes here: the message map first, then
    // DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Default processing. WM_CLOSE ends a modal dialog (IDCANCEL) and hides a
    // top-level one; a child page stays as it is.
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The message map, filled by the derived class's constructor.
    using MessageHandler = std::function<LRESULT(WPARAM, LPARAM)>;
    using CommandHandler = std::function<void()>;
    using NotifyHandler = std::function<void(NMHDR* header, LRESULT* result)>;
    void MapMessage(UINT message, MessageHandler handler);
    // WM_COMMAND from control id with the notification code (BN_CLICKED,
    // CBN_SELCHANGE, EN_CHANGE).
    void MapCommand(int controlId, UINT code, CommandHandler handler);
    // WM_NOTIFY from control id with the code (TCN_SELCHANGE, IPN_FIELDCHANGED).
    void MapNotify(int controlId, UINT code, NotifyHandler handler);

    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void ConnectNotifications(int id, QWidget& control);
    // Tab visits the controls in template order, as in a dialog from a template.
    void ChainTabStops();
    std::vector<QWidget*> TabStops() const;
    bool IsTopLevelDialog() const { return isWindow(); }

    DialogTemplate m_template;
    DialogBaseUnits m_baseUnits;
    ControlTable m_controls;
    UiHandOff m_handOff;
    std::map<UINT, MessageHandler> m_messageMap;
    std::map<std::pair<int, UINT>, CommandHandler> m_commandMap;
    std::map<std::pair<int, UINT>, NotifyHandler> m_notifyMap;
    QEventLoop* m_modalLoop = nullptr;
    int m_modalResult = IDCANCEL;
    bool m_endRequested = false;
    bool m_controlsBuilt = false;
    bool m_shown = false; // the dialog's own show state, as OnShowWindow reports it
};
