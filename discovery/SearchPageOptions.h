#pragma once

#include "DiscoveryEngine.h"

#include <QString>

#include <functional>

// What the search page takes from outside; the program uses the defaults.
struct SearchPageOptions {
    quill::discovery::DiscoveryEngineOptions engine {};
    // Asks the user where to export the results, offering the suggested
    // path; empty when cancelled. The program asks with a file dialog.
    std::function<QString(const QString& suggested)> chooseExportFile {};
    // Asks the user the question (yes or no) before a camera's web page that
    // may not load is opened; true: open it. The program asks with a message box.
    std::function<bool(const QString& question)> confirmOpen {};
};
