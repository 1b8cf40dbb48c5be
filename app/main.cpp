#include "CQuillscopeApp.h"
#include "Logger.h"

#include <QApplication>

int main(int argc, char** argv)
{
    int exitCode = 0;
    {
        QApplication application(argc, argv);
        CQuillscopeApp app;
        // Returns once the main window has closed and its pages, with the
        // discovery listener, are gone.
        app.InitInstance();
        exitCode = app.ExitInstance();
    }
    // Closes the current log file and moves it into "logs" while everything
    // it needs still exists, rather than during static destruction.
    Logger::shutdown();
    return exitCode;
}
