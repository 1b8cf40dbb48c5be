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
};
