#pragma once
// A main window over a made-up adapter table and pages on free ports, in a
// temporary working directory that holds its "Config.ini".
#include "CComboBox.h"
#include "CDevicePage.h"
#include "CSearchPage.h"
#include "CTabCtrl.h"
#include "CZeruruDlg.h"
#include "FreePort.h"
#include "TempDir.h"

#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

namespace quill::test {

// A collector that puts the given adapters into the table.
inline netinfo::AdapterCollector TableOf(std::vector<netinfo::AdapterInfo> adapters)
{
    return [adapters = std::move(adapters)](netinfo::AdapterTable& table) {
        for (const auto& adapter : adapters)
            table.slots[static_cast<std::size_t>(table.count++)] = adapter;
        return true;
    };
}

// Chooses an entry as the user does: the selection changes, then the list reports it.
inline void ChooseEntry(CComboBox& combo, int index)
{
    combo.SetCurSel(index);
    Q_EMIT combo.activated(index);
}

class MainWindowTest : public ::testing::Test {
protected:
    // Creates the main window, which collects the adapters and creates the
    // pages (on free ports: never the discovery port), and shows it.
    void Start(netinfo::AdapterCollector adapters = TableOf({}),
        const std::function<void(app::MainWindowParts&)>& adjust = {})
    {
        app::MainWindowParts parts;
        if (adjust)
            adjust(parts);
        parts.collectors.ipconfigReport = std::move(adapters);
        if (!parts.makeSearchPage) {
            parts.makeSearchPage = [] {
                return std::make_unique<CSearchPage>(DiscoveryPorts { FreeUdpPort(), FreeUdpPort() });
            };
        }
        parts.makeDevicePage = [] { return std::make_unique<CDevicePage>(DeviceProbes {}); };
        window = std::make_unique<CZeruruDlg>(std::move(parts));
        ASSERT_TRUE(window->Create(nullptr));
        window->ShowWindow(true);
    }
    std::string ConfigText() const { return ReadWholeFile(dir.file("Config.ini")); }
    void ClickTab(int tab)
    {
        QTabBar* bar = window->TabCtrl()->TabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(tab).center());
    }
    QString TabTexts() const
    {
        return window->TabCtrl()->GetItemText(0) + "|" + window->TabCtrl()->GetItemText(1);
    }
    CSearchPage& Search() const { return *window->SearchPage(); }
    CDevicePage& Device() const { return *window->DevicePage(); }
    QString Fields() const // address, mask, gateway, DNS server on the check page
    {
        QStringList fields;
        for (int id = 1024; id < 1028; ++id)
            fields << Device().GetDlgItemText(id);
        return fields.join('|');
    }

    TempDir dir;
    ScopedWorkingDir cwd { dir.path() };
    std::unique_ptr<CZeruruDlg> window;
};

} // namespace quill::test
