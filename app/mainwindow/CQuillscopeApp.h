#pragma once

#include "MainWindowParts.h"

class CZeruruDlg;

// The application object: gives the process its identity on the desktop and
// runs the main window as a modal dialog. The QApplication must exist first.
class CQuillscopeApp {
public:
    explicit CQuillscopeApp(quill::app::MainWindowParts parts = quill::app::MainWindowParts::Product());

    // Runs the whole program: returns true once the main window has closed
    // and has been destroyed (with its pages and their worker threads).
    bool InitInstance();
    int ExitInstance();

    // The main window while InitInstance runs it, nullptr otherwise.
    CZeruruDlg* MainWindow() const { return m_pMainWnd; }

    CQuillscopeApp(const CQuillscopeApp&) = delete;
    CQuillscopeApp& operator=(const CQuillscopeApp&) = delete;

private:
    quill::app::MainWindowParts m_parts;
    CZeruruDlg* m_pMainWnd = nullptr;
};
