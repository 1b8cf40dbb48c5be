#pragma once

#include "CComboBox.h"
#include "CDevicePage.h"
#include "DevicePageIds.h"
#include "TempDir.h"
#include "TestLog.h"

#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

namespace quill::netcheck::test {

// Probes that fail quickly, yet give a loopback server time to answer under
// the sanitizers; every port stays the product's until a test sets its own.
inline DeviceProbes QuickProbes()
{
    constexpr std::chrono::milliseconds kTimeout { 400 };
    DeviceProbes probes;
    probes.portTimeout = probes.httpsTimeout = probes.ntpTimeout = kTimeout;
    return probes;
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

// A page on a stand-in main window, with "Config.ini" in a fresh working directory.
class DevicePageTest : public ::testing::Test {
protected:
    void SetUp() override { main.Create(nullptr); }

    void WriteSettings(const std::string& content) { quill::test::WriteWholeFile(dir.file("Config.ini"), content); }
    std::string SettingsText() const { return quill::test::ReadWholeFile(dir.file("Config.ini")); }

    // Creates and shows the page, as the main window does when tab 1 is chosen.
    void ShowPage(DeviceProbes probes = QuickProbes())
    {
        page = new CDevicePage(probes);
        page->Create(&main);
        main.show();
        page->ShowWindow(true);
    }

    QString Text(int id) const { return page->GetDlgItemText(id); }
    // The texts of several controls, as UTF-8 so that a failure prints them.
    std::vector<std::string> Texts(std::span<const int> ids) const
    {
        std::vector<std::string> texts;
        for (const int id : ids)
            texts.push_back(Text(id).toStdString());
        return texts;
    }
    void Click(int buttonId) { QTest::mouseClick(page->GetDlgItemAs<QPushButton>(buttonId), Qt::LeftButton); }
    // Types a host into a field and presses the TEST button beside it.
    void TestCloud(const QString& host)
    {
        page->SetDlgItemText(device_page::kCloudHostEdit, host);
        Click(device_page::kCloudTestButton);
    }
    void TestNtp(const QString& host)
    {
        page->SetDlgItemText(device_page::kNtpHostEdit, host);
        Click(device_page::kNtpTestButton);
    }

    // Picks a language on the page's selector with the keyboard, as a user would.
    void ChooseLanguage(LanguageId language)
    {
        CComboBox& combo = *page->m_languageCombo;
        for (int step = 0; step < 3 && combo.GetCurSel() != language; ++step)
            QTest::keyClick(&combo, combo.GetCurSel() < language ? Qt::Key_Down : Qt::Key_Up);
    }

    // Set up before anything logs, so the log files stay out of `dir`.
    quill::test::LogCapture log;
    quill::test::TempDir dir;
    quill::test::ScopedWorkingDir cwd { dir.path() };
    TestMainWindow main;
    CDevicePage* page = nullptr; // owned by main
};

} // namespace quill::netcheck::test
