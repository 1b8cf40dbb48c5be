#include "CQuillscopeApp.h"

#include "AppIcon.h"
#include "CZeruruDlg.h"
#include "MessageBox.h"
#include "TerminationRequests.h"

#include <QApplication>

#include <utility>

namespace {

// The desktop entry that groups the program's windows in a task list.
constexpr char kDesktopFileName[] = "org.quillscope.Quillscope";
// Qt's counterpart of a per-user registry key: the folder QSettings would use.
// The program keeps nothing there; its settings live in "Config.ini" in the
// working directory.
constexpr char kOrganizationName[] = "Local Quillscope";

} // namespace

CQuillscopeApp::CQuillscopeApp(quill::app::MainWindowParts parts)
    : m_parts(std::move(parts))
{
    // The name message boxes carry as their caption.
    QApplication::setApplicationName(ApplicationName());
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopFileName));
}

bool CQuillscopeApp::InitInstance()
{
    QCoreApplication::setOrganizationName(QString::fromLatin1(kOrganizationName));
    QApplication::setWindowIcon(quill::app::AppIcon());

    {
        CZeruruDlg dialog(m_parts);
        m_pMainWnd = &dialog;
        // The session ending, or Ctrl+C, closes the window as its close
        // button does.
        const TerminationRequests termination([&dialog] { dialog.PostMessage(WM_CLOSE); });
        dialog.DoModal();
        m_pMainWnd = nullptr;
    }
    return true;
}

int CQuillscopeApp::ExitInstance()
{
    return 0;
}
