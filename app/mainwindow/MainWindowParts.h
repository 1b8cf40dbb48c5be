#pragma once

#include "AdapterCollection.h"

#include <functional>
#include <memory>

class CDevicePage;
class CSearchPage;

namespace quill::app {

using SearchPageFactory = std::function<std::unique_ptr<CSearchPage>()>;
using DevicePageFactory = std::function<std::unique_ptr<CDevicePage>()>;

// What the main window is built from: where its adapters come from and how
// its two pages are made. The product's parts are the default; tests hand in
// made-up adapters and pages on free ports. A factory left empty, or one that
// makes no page, stands for the product's page.
struct MainWindowParts {
    netinfo::AdapterCollectors collectors;
    SearchPageFactory makeSearchPage;
    DevicePageFactory makeDevicePage;

    static MainWindowParts Product();
};

} // namespace quill::app
