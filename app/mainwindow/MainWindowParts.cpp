#include "MainWindowParts.h"

#include "CDevicePage.h"
#include "CSearchPage.h"

namespace quill::app {

MainWindowParts MainWindowParts::Product()
{
    return MainWindowParts {
        netinfo::AdapterCollectors::System(),
        [] { return std::make_unique<CSearchPage>(); },
        [] { return std::make_unique<CDevicePage>(); },
        &settings::SettingsPath,
    };
}

} // namespace quill::app
