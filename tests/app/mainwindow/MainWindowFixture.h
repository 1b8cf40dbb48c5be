#pragma once
// A main window over a made-up adapter table and pages on free ports, in a
// temporary working directory that holds its "Config.ini".
#include "CComboBox.h"
#include "CDevicePage.h"
#include "CSearchPage.h"
#include "CTabCtrl.h"
#include "CZeruruDlg.h"
#include "TempDir.h"

#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace quill::test {

inline netinfo::AdapterInfo MadeUpAdapter(
    std::vector<std::string> parts, std::string mask, std::string gateway = {}, std::string dns = {})
{
    return netinfo::AdapterInfo { std::move(parts), std::move(mask), std::move(gateway), std::move(dns) };
}

// A collector that puts the given adapters into the table.
inline netinfo::AdapterCollector TableOf(std::vector<netinfo::AdapterInfo> adapters)
{
    return [adapters = std::move(adapters)](netinfo::AdapterTable& table) {
        for (const auto& adapter : adapters)
            table.slots[static_cast<std::size_t>(table.count++)] = adapter;
        return true;
    };
}

app::MainWindowParts TestParts(netinfo::AdapterCollector adapters);

// Chooses an entry of a drop-down list as the user does: the selection
// changes, then the list reports the choice.
inline void ChooseEntry(CComboBox& combo, int index)
{
    combo.SetCurSel(index);
    Q_EMIT combo.activated(index);
}

class MainWindowTest : public ::testing::Test {
protected:
    // Creates the main window (which collects the adapters and creates the pages) and shows it.
    void Start(std::vector<netinfo::AdapterInfo> adapters = {})
    {
        Start(TestParts(TableOf(std::move(adapters))));
    }
    void Start(app::MainWindowParts parts)
    {
        window = std::make_unique<CZeruruDlg>(std::move(parts));
        ASSERT_TRUE(window->Create(nullptr));
        window->ShowWindow(true);
    }
    std::string ConfigText() const { return ReadWholeFile(dir.file("Config.ini")); }
    bool ConfigExists() const { return std::filesystem::exists(dir.file("Config.ini")); }

    void ClickTab(int tab)
    {
        QTabBar* bar = window->TabCtrl()->TabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
    QString TabText(int tab) const { return window->TabCtrl()->GetItemText(tab); }
    CSearchPage& Search() const { return *window->SearchPage(); }
    CDevicePage& Device() const { return *window->DevicePage(); }

    TempDir dir;
    ScopedWorkingDir cwd { dir.path() };
    std::unique_ptr<CZeruruDlg> window;
};

} // namespace quill::test
