#pragma once

#include "CComboBox.h"
#include "CDevicePage.h"
#include "DevicePageIds.h"
#include "LogCapture.h"
#include "TempDir.h"

#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace quill::netcheck::test {

// Short enough that a failing probe does not slow the tests down, long enough
// for a loopback server to answer under the sanitizers.
inline constexpr std::chrono::milliseconds kTestTimeout { 400 };

// Probes that fail quickly; every port still the product's until a test sets
// its own.
inline DeviceProbes QuickProbes()
{
    DeviceProbes probes;
    probes.portTimeout = kTestTimeout;
    probes.httpsTimeout = kTestTimeout;
    probes.ntpTimeout = kTestTimeout;
    return probes;
}

// Waits at most `limit` for a condition that a server thread makes true.
inline bool WaitFor(
    const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::milliseconds(2000))
{
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

// The main window's side of the page: the parent that hears WM_LANGUAGE_CHANGED.
class TestMainWindow : public CDialogBase {
public:
    TestMainWindow()
        : CDialogBase(DialogTemplate { 140, QSize(319, 210), QStringLiteral("Tessory Tool"), {}, 8, {} })
    {
        MapMessage(WM_LANGUAGE_CHANGED, [this](WPARAM language, LPARAM) {
            announced.push_back(static_cast<LanguageId>(language));
            return LRESULT(0);
        });
    }
    std::vector<LanguageId> announced;
};

// A page on a stand-in main window, with "Config.ini" in a fresh working
// directory.
class DevicePageTest : public ::testing::Test {
protected:
    void SetUp() override { main.Create(nullptr); }

    void WriteSettings(const std::string& content)
    {
        quill::test::WriteWholeFile(dir.file("Config.ini"), content);
    }
    std::string SettingsText() const { return quill::test::ReadWholeFile(dir.file("Config.ini")); }

    // Creates and shows the page, as the main window does when tab 1 is chosen.
    CDevicePage& ShowPage(DeviceProbes probes = QuickProbes())
    {
        page = new CDevicePage(probes);
        page->Create(&main);
        main.show();
        page->ShowWindow(true);
        return *page;
    }

    QString Text(int id) const { return page->GetDlgItemText(id); }
    void Click(int buttonId) { QTest::mouseClick(page->GetDlgItemAs<QPushButton>(buttonId), Qt::LeftButton); }
    void TypeCloudHost(const QString& host) { page->SetDlgItemText(device_page::kCloudHostEdit, host); }
    void TypeNtpHost(const QString& host) { page->SetDlgItemText(device_page::kNtpHostEdit, host); }

    // Picks a language on the page's selector with the keyboard, as a user
    // would, starting from the entry shown.
    void ChooseLanguage(LanguageId language)
    {
        CComboBox& combo = *page->m_languageCombo;
        while (combo.GetCurSel() < language)
            QTest::keyClick(&combo, Qt::Key_Down);
        while (combo.GetCurSel() > language)
            QTest::keyClick(&combo, Qt::Key_Up);
    }

    // Set up before anything logs, so the log files stay out of `dir`.
    LogCapture log;
    quill::test::TempDir dir;
    quill::test::ScopedWorkingDir cwd { dir.path() };
    TestMainWindow main;
    CDevicePage* page = nullptr; // owned by main
};

} // namespace quill::netcheck::test
