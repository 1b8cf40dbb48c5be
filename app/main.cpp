#include "CQuillscopeApp.h"
#include "Logger.h"
#include "QuillVersion.h"

#include <QApplication>

#include <cstring>
#include <iostream>

int main(int argc, char** argv)
{
    // Answered before Qt starts, so that it needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "quillscope " << quill::kVersion << std::endl;
            return 0;
        }
    }

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
