// Opening a camera's web page: the browsers are reached through PATH, where
// the tests put stand-in scripts that record how they were started.
#include "CameraPage.h"
#include "SearchPageTestSupport.h"

#include "TempDir.h"

#include <QTest>

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

namespace {

using namespace quill::discovery::test;
using namespace std::chrono_literals;
using quill::test::ReadWholeFile;
using quill::test::ScopedWorkingDir;
using quill::test::TempDir;
using quill::test::WriteWholeFile;

const std::vector<std::string> kChromes { "google-chrome-stable", "google-chrome", "chromium",
    "chromium-browser" };

class CameraPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(bin());
        std::filesystem::create_directories(records());
        m_previousPath = qgetenv("PATH");
        // Only the stand-ins can be found: no real browser starts in a test.
        qputenv("PATH", QByteArray::fromStdString(bin().string()));
    }
    void TearDown() override { qputenv("PATH", m_previousPath); }

    std::filesystem::path bin() const { return dir.path() / "bin"; }
    std::filesystem::path records() const { return dir.path() / "records"; }

    // A program on PATH that appends its argument count and arguments, one
    // per line, to records/<name>.
    void StandIn(const std::string& name, bool executable = true)
    {
        const auto script = bin() / name;
        WriteWholeFile(script,
            "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" >> '" + (records() / name).string() + ".part'\n/bin/mv '"
                + (records() / name).string() + ".part' '" + (records() / name).string() + "'\n");
        ::chmod(script.c_str(), executable ? 0755 : 0644);
    }

    // The lines the program recorded, waiting for them a while; empty when it
    // was not started.
    std::vector<std::string> Started(const std::string& name, std::chrono::milliseconds wait = 5s)
    {
        const auto record = records() / name;
        WaitUntil([&] { return std::filesystem::exists(record); }, wait);
        std::vector<std::string> lines;
        if (!std::filesystem::exists(record))
            return lines;
        std::ifstream in(record);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    bool NothingElseStarted(const std::string& except)
    {
        for (const auto& entry : std::filesystem::directory_iterator(records())) {
            if (entry.path().filename() != except)
                return false;
        }
        return true;
    }

    TempDir dir;
    MessageBoxCloser closer;
    QByteArray m_previousPath;
};

TEST_F(CameraPage, FirstChromeThatStartsGetsTheUrlAsItsOneArgument)
{
    struct Case {
        std::vector<std::string> present;
        std::string expected;
    };
    const std::vector<Case> cases {
        { { "google-chrome-stable", "google-chrome", "chromium", "chromium-browser", "xdg-open" },
            "google-chrome-stable" },
        { { "google-chrome", "chromium", "xdg-open" }, "google-chrome" },
        { { "chromium", "chromium-browser" }, "chromium" },
        { { "chromium-browser", "xdg-open" }, "chromium-browser" },
    };
    for (const Case& c : cases) {
        std::filesystem::remove_all(bin());
        std::filesystem::remove_all(records());
        std::filesystem::create_directories(bin());
        std::filesystem::create_directories(records());
        for (const auto& program : c.present)
            StandIn(program);

        OpenCameraPage("192.168.1.20");
        EXPECT_EQ(Started(c.expected), (std::vector<std::string> { "1", "http://192.168.1.20" }))
            << c.expected;
        SpinEvents(100ms);
        EXPECT_TRUE(NothingElseStarted(c.expected)) << c.expected;
    }
    EXPECT_TRUE(closer.texts.empty());
}

TEST_F(CameraPage, ChromeThatCannotBeStartedIsPassedOver)
{
    StandIn("google-chrome-stable", false);
    StandIn("chromium");
    OpenCameraPage("10.0.0.3");
    EXPECT_EQ(Started("chromium"), (std::vector<std::string> { "1", "http://10.0.0.3" }));
    EXPECT_TRUE(closer.texts.empty());
}

TEST_F(CameraPage, WithoutChromeTheUserIsToldThenTheDefaultBrowserOpens)
{
    StandIn("xdg-open");
    OpenCameraPage("192.168.1.20");
    ASSERT_EQ(closer.texts.size(), 1u);
    EXPECT_EQ(closer.texts[0], QStringLiteral("Chrome does not exist!"));
    EXPECT_EQ(closer.captions[0], QStringLiteral("Quillscope"));
    EXPECT_EQ(Started("xdg-open"), (std::vector<std::string> { "1", "http://192.168.1.20" }));
}

TEST_F(CameraPage, NoBrowserAtAllGivesExactlyOneMessage)
{
    OpenCameraPage("192.168.1.20");
    SpinEvents(100ms);
    EXPECT_EQ(closer.texts, std::vector<QString> { QStringLiteral("Chrome does not exist!") });
}

TEST_F(CameraPage, CameraTextIsHandedOnUnchangedAndNeverReachesAShell)
{
    StandIn("google-chrome");
    const ScopedWorkingDir cwd(dir.path());
    OpenCameraPage("cam one;touch pwned $(id) `id` %s");
    EXPECT_EQ(Started("google-chrome"),
        (std::vector<std::string> { "1", "http://cam one;touch pwned $(id) `id` %s" }));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "pwned"));
}

TEST_F(CameraPage, DoubleClickOnARowOpensItsAddressAndBesideTheRowsNothing)
{
    StandIn("chromium");
    TempDir work;
    ScopedWorkingDir cwd(work.path());
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
    QTest::mouseDClick(
        list.viewport(), Qt::LeftButton, {}, list.visualRect(list.model()->index(1, 3)).center());
    EXPECT_EQ(Started("chromium"), (std::vector<std::string> { "1", "http://192.168.1.21" }));
}

} // namespace
