#include "CQuillscopeApp.h"
#include "Logger.h"
#include "QuillVersion.h"

#include <QApplication>

#include <cstring>
#include <filesystem>
#include <iostream>
#include <system_error>

namespace {

constexpr char kUsage[] = R"(Usage: quillscope [--help] [--version] [Qt options]

Opens the window "Tessory Tool": camera discovery on the LAN of a chosen
adapter, and the network check of the site. The settings (Config.ini) and
the logs folder are in the working directory.

Options:
  --help       show this text and exit
  --version    show the version and exit
Qt's own options, such as -platform NAME or -style NAME, are passed to Qt.

Without a window: quillscope-cli --help
)";

} // namespace

int main(int argc, char** argv)
{
    // Answered before Qt starts, so that it needs no display.
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::cout << "quillscope " << quill::kVersion << std::endl;
            return 0;
        }
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << kUsage;
            return 0;
        }
    }

    // The log lives in the working directory, beside "Config.ini". Without a
    // readable working directory the empty path still means it.
    std::error_code noWorkingDirectory;
    Logger::configure({ std::filesystem::current_path(noWorkingDirectory) });

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
