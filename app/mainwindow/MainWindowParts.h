#pragma once

#include "AdapterCollection.h"
#include "LanguageId.h"
#include "ProfileSettings.h"

#include <QString>

#include <functional>
#include <memory>

class CDevicePage;
class CSearchPage;

namespace quill::app {

using SearchPageFactory = std::function<std::unique_ptr<CSearchPage>()>;
using DevicePageFactory = std::function<std::unique_ptr<CDevicePage>()>;

// What the main window is built from: where its adapters come from, how its
// two pages are made and where its settings file is. The product's parts are
// the default; tests hand in made-up adapters and pages on free ports. A
// factory left empty, or one that makes no page, stands for the product's
// page; a settings location left empty for the working directory's file.
struct MainWindowParts {
    netinfo::AdapterCollectors collectors;
    SearchPageFactory makeSearchPage;
    DevicePageFactory makeDevicePage;
    settings::SettingsLocation settingsPath = &settings::SettingsPath;
    // Asks where to save a site report; empty when cancelled. Left empty: a
    // file dialog.
    std::function<QString()> chooseReportFile {};
    // Reads the adapters again, with the same collectors, whenever the
    // system says they changed.
    bool followAdapterChanges = true;
    // Whether an installed font shows a language. Left empty: the fonts are asked.
    std::function<bool(LanguageId)> fontShows {};

    static MainWindowParts Product();
};

} // namespace quill::app
