// Opening a camera's web page: the browsers are reached through PATH, where
// the tests put stand-in scripts that record how they were started.
#include "CameraPage.h"
#include "SearchPageTestSupport.h"

#include "TempDir.h"

#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace quill::discovery::test;
using namespace std::chrono_literals;
using quill::test::ScopedWorkingDir;
using quill::test::TempDir;

class CameraPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_previousPath = qgetenv("PATH");
        // Only the stand-ins can be found: no real browser starts in a test.
        qputenv("PATH", QByteArray::fromStdString(bin().string()));
        Reset();
    }
    void TearDown() override { qputenv("PATH", m_previousPath); }

    std::filesystem::path bin() const { return dir.path() / "bin"; }
    std::filesystem::path records() const { return dir.path() / "records"; }
    void Reset()
    {
        std::filesystem::remove_all(bin());
        std::filesystem::remove_all(records());
        std::filesystem::create_directories(bin());
        std::filesystem::create_directories(records());
    }

    // A program on PATH that writes its argument count and arguments, one per
    // line, to records/<name> (renamed into place, so a reader sees it whole).
    void StandIn(const std::string& name, bool executable = true)
    {
        const std::string record = (records() / name).string();
        quill::test::WriteWholeFile(bin() / name,
            "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" + record + ".part'\n/bin/mv '" + record + ".part' '"
                + record + "'\n");
        ::chmod((bin() / name).c_str(), executable ? 0755 : 0644);
    }

    // What the program recorded, waiting a while; empty when it did not start.
    std::string Started(const std::string& name, std::chrono::milliseconds wait = 5s)
    {
        WaitUntil([&] { return std::filesystem::exists(records() / name); }, wait);
        return quill::test::ReadWholeFile(records() / name);
    }
    std::size_t StartedCount() const
    {
        const std::filesystem::directory_iterator all(records());
        return static_cast<std::size_t>(std::distance(begin(all), end(all)));
    }

    TempDir dir;
    ScopedWorkingDir cwd { dir.path() };
    MessageBoxCloser closer;
    QByteArray m_previousPath;
};

TEST_F(CameraPage, FirstChromeThatStartsGetsTheUrlElseTheUserIsToldAndTheDefaultBrowserOpens)
{
    struct Case {
        std::vector<std::string> present;
        std::string expected; // empty: nothing can start
        bool told; // "Chrome does not exist!" shown
    };
    const Case cases[] {
        { { "google-chrome-stable", "google-chrome", "chromium", "chromium-browser", "xdg-open" },
            "google-chrome-stable", false },
        { { "google-chrome", "chromium", "xdg-open" }, "google-chrome", false },
        { { "chromium", "chromium-browser" }, "chromium", false },
        { { "chromium-browser", "xdg-open" }, "chromium-browser", false },
        // A Chrome that cannot be started ("-": not executable) is passed over.
        { { "-google-chrome-stable", "chromium" }, "chromium", false },
        { { "xdg-open" }, "xdg-open", true },
        { {}, "", true },
    };
    for (const Case& c : cases) {
        Reset();
        closer.texts.clear();
        for (const auto& program : c.present)
            program[0] == '-' ? StandIn(program.substr(1), false) : StandIn(program);

        // The camera's text is handed on unchanged and never reaches a shell.
        OpenCameraPage("cam one;touch pwned $(id) `id` %s");
        if (!c.expected.empty()) {
            EXPECT_EQ(Started(c.expected), "1\nhttp://cam one;touch pwned $(id) `id` %s\n") << c.expected;
        }
        SpinEvents(100ms);
        EXPECT_EQ(StartedCount(), c.expected.empty() ? 0u : 1u) << c.expected;
        EXPECT_EQ(closer.texts,
            c.told ? std::vector<QString> { "Chrome does not exist!" } : std::vector<QString> {})
            << c.expected;
    }
    EXPECT_EQ(closer.captions.back(), QStringLiteral("Quillscope"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "pwned"));
}

TEST_F(CameraPage, DoubleClickOnARowOpensItsAddressAndBesideTheRowsNothing)
{
    StandIn("chromium");
    TestMainWindow main;
    main.Create(nullptr);
    CSearchPage page(DiscoveryPorts { FreeUdpPort(), FreeUdpPort() });
    page.Create(&main);
    // Not shown: the clicks reach the list all the same, and nothing is
    // painted (painting a large window runs Qt's pooled threads, whose own
    // ordering a ThreadSanitizer build cannot follow).
    main.resize(page.size());
    page.AddDeviceRow({ "192.168.1.20", "sn", "00-11-22-33-44-55", "name", "1.0" });
    page.AddDeviceRow({ "192.168.1.21", "sn", "00-11-22-33-44-56", "name", "1.0" });
    ListCtrlEx::CListCtrlEx& list = page.ResultList();

    const QRect lastRow = list.visualRect(list.model()->index(1, 3));
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, lastRow.bottomLeft() + QPoint(5, 30));
    SpinEvents(200ms);
    EXPECT_TRUE(Started("chromium", 100ms).empty());
    EXPECT_TRUE(closer.texts.empty());

    // Any column of the row opens the row's address (column 1).
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, lastRow.center());
    EXPECT_EQ(Started("chromium"), "1\nhttp://192.168.1.21\n");
}

} // namespace
