// The discovery engine of the search page on loopback: the listener on a free
// port with answers sent to 127.0.0.1, the sweep towards a collector, the port
// conflict and the shutdown while answers keep arriving.
#include "SearchPageTestSupport.h"

#include "TempDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

using namespace quill::discovery::test;
using namespace std::chrono_literals;
using quill::test::ScopedWorkingDir;
using quill::test::TempDir;

class SearchPageListener : public ::testing::Test {
protected:
    void SetUp() override
    {
        main.Create(nullptr);
        page = std::make_unique<RecordingSearchPage>(DiscoveryPorts { listenPort, collector.port() });
        page->m_adapterCount = 1;
        page->m_adapterParts[0] = { "127", "0", "0", "1" };
        page->Create(&main);
        ASSERT_TRUE(
            WaitUntil([&] { return page->IsListening() && !log.linesWith("receive buffer").empty(); }));
    }

    void TearDown() override
    {
        page.reset();
        EXPECT_TRUE(closer.texts.empty()) << closer.texts.front().toStdString();
    }

    int Rows() { return page->ResultList().GetItemCount(); }
    bool WaitForRows(int count)
    {
        return WaitUntil([&] { return Rows() >= count; });
    }

    TempDir dir;
    ScopedWorkingDir cwd { dir.path() };
    LogCapture log;
    MessageBoxCloser closer;
    DatagramCollector collector;
    const std::uint16_t listenPort = FreeUdpPort();
    DatagramSender camera { listenPort };
    TestMainWindow main;
    std::unique_ptr<RecordingSearchPage> page;
};

TEST_F(SearchPageListener, AnswerBecomesARowAndADebugLine)
{
    camera.send("192.168.1.20 SN123 00:11:22:33:44:55 Cam-1 2.1.7");
    ASSERT_TRUE(WaitForRows(1));
    EXPECT_EQ(
        RowTexts(*page, 0), (std::vector<QString> { "1", "192.168.1.20", "00:11:22:33:44:55", "2.1.7" }));

    const auto lines = log.linesWith("IP: 192.168.1.20");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(
        lines[0].find(
            "<debug>\tIP: 192.168.1.20, SN: SN123, MAC: 00:11:22:33:44:55, device_name: Cam-1, FW: 2.1.7"),
        std::string::npos)
        << lines[0];
}

TEST_F(SearchPageListener, FieldsArriveAsTheCameraWroteThem)
{
    struct Case {
        std::string datagram;
        std::vector<QString> row; // columns 1 to 3
    };
    const std::vector<Case> cases {
        // Four spaces and three letters: empty fields are fields.
        { "    fw1", { "", "", "fw1" } },
        { "a b c d e", { "a", "c", "e" } },
        // A line feed is the last byte of the firmware version.
        { "cam 1 mac name 3.0\n", { "cam", "mac", "3.0\n" } },
        // Bytes after a zero byte do not count.
        { std::string("i s m d f\0trailing words here", 29), { "i", "m", "f" } },
        // Bytes that are not UTF-8 are left out of the shown text only.
        { "10.0.0.7 sn m\xff\xfe"
          "ac name fw\xc3\xa9",
            { "10.0.0.7", "mac", "fw\u00e9" } },
    };
    for (const auto& c : cases)
        camera.send(c.datagram);
    ASSERT_TRUE(WaitForRows(static_cast<int>(cases.size())));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const auto row = RowTexts(*page, static_cast<int>(i));
        EXPECT_EQ(row[0], QString::number(i + 1));
        EXPECT_EQ(std::vector<QString>(row.begin() + 1, row.end()), cases[i].row) << i;
    }
    // The log keeps the bytes as received.
    EXPECT_EQ(log.linesWith("SN: sn, MAC: m\xff\xfe"
                            "ac")
                  .size(),
        1u);
}

TEST_F(SearchPageListener, IgnoredDatagramsLeaveNoTrace)
{
    for (const std::string& ignored : { std::string("update"), std::string("a b c d"),
             std::string("a b c d e "), std::string("ip sn mac my cam fw"), std::string("nospacesatall"),
             std::string(), std::string("\0a b c d e", 10), std::string("a b") }) {
        camera.send(ignored);
    }
    // A proper answer behind them shows that all of them were read.
    camera.send("last s m d f");
    ASSERT_TRUE(WaitForRows(1));
    SpinEvents(50ms);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(RowTexts(*page, 0)[1], QStringLiteral("last"));
    EXPECT_EQ(log.linesWith("IP: ").size(), 1u);
    EXPECT_TRUE(log.linesWith("warning").empty());
    EXPECT_TRUE(log.linesWith("critical").empty());
}

TEST_F(SearchPageListener, OnlyTheFirst500BytesAreRead)
{
    // 600 bytes whose fifth token runs past byte 500: cut, it still has five tokens.
    std::string longAnswer = "ip sn mac name ";
    longAnswer += std::string(600 - longAnswer.size(), 'f');
    camera.send(longAnswer);
    // Exactly 500 bytes without a zero byte: the text is all of them.
    std::string exact = "a b c d ";
    exact += std::string(500 - exact.size(), 'g');
    camera.send(exact);
    // A sixth token that starts only after byte 500 is never seen.
    std::string sixthBeyond = "a b c d ";
    sixthBeyond += std::string(500 - sixthBeyond.size(), 'h') + " sixth";
    camera.send(sixthBeyond);

    ASSERT_TRUE(WaitForRows(3));
    EXPECT_EQ(RowTexts(*page, 0)[3].size(), 500 - 15);
    EXPECT_EQ(RowTexts(*page, 1)[3], QString(500 - 8, QLatin1Char('g')));
    EXPECT_EQ(RowTexts(*page, 2)[3], QString(500 - 8, QLatin1Char('h')));
}

TEST_F(SearchPageListener, AnswersWithoutASearchAreListedAndNumberingRestartsAfterSearch)
{
    camera.send("10.0.0.1 s m d f");
    camera.send("10.0.0.1 s m d f"); // the same camera twice: two rows
    ASSERT_TRUE(WaitForRows(2));
    EXPECT_EQ(RowTexts(*page, 1)[0], QStringLiteral("2"));

    // Search clears the list; the next answer is row 1.
    page->SetRange({ 127, 0, 0, 9 }, { 127, 0, 0, 9 });
    QTest::mouseClick(page->GetDlgItemAs<QPushButton>(1007), Qt::LeftButton);
    EXPECT_EQ(Rows(), 0);
    camera.send("10.0.0.3 s m d f");
    ASSERT_TRUE(WaitForRows(1));
    EXPECT_EQ(RowTexts(*page, 0), (std::vector<QString> { "1", "10.0.0.3", "m", "f" }));
}

TEST_F(SearchPageListener, SweepSendsOneQueryPerAddressOfTheRange)
{
    QTest::mouseClick(page->GetDlgItemAs<QPushButton>(1007), Qt::LeftButton);
    const auto queries = collector.collect(300, 500ms);
    EXPECT_EQ(queries.size(), 256u);
    EXPECT_TRUE(
        std::all_of(queries.begin(), queries.end(), [](const std::string& q) { return q == "update"; }));

    page->SetRange({ 127, 0, 0, 5 }, { 127, 0, 0, 5 });
    page->SendDiscovery();
    EXPECT_EQ(collector.collect(5, 200ms).size(), 1u);

    // A begin above the end sends nothing.
    page->SetRange({ 127, 0, 0, 200 }, { 127, 0, 0, 100 });
    page->SendDiscovery();
    EXPECT_TRUE(collector.collect(1, 100ms).empty());
    EXPECT_TRUE(log.linesWith("warning").empty());
}

TEST_F(SearchPageListener, AnswersWaitWhileTheUiThreadIsBusyThenArriveInOrder)
{
    // The UI thread is busy: the answers wait in the socket (or at the
    // hand-off) and appear once the event loop turns again, in order.
    camera.send("first s m d f");
    camera.send("second s m d f");
    camera.send("third s m d f");
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(Rows(), 0);
    ASSERT_TRUE(WaitForRows(3));
    EXPECT_EQ(RowTexts(*page, 0)[1], QStringLiteral("first"));
    EXPECT_EQ(RowTexts(*page, 1)[1], QStringLiteral("second"));
    EXPECT_EQ(RowTexts(*page, 2), (std::vector<QString> { "3", "third", "m", "f" }));
}

TEST_F(SearchPageListener, SweepFailuresAreCountedInOneWarning)
{
    // In the tests' private network namespace no route leads to this test
    // network: every query of the sweep fails, and the sweep still ends.
    page->SetRange({ 198, 18, 7, 0 }, { 198, 18, 7, 3 });
    page->SendDiscovery();
    const auto warnings = log.linesWith("<warning>");
    if (warnings.empty())
        GTEST_SKIP() << "a route to 198.18.7.0/24 exists here; run the tests in a private network namespace";
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("4 of 4 queries could not be sent"), std::string::npos) << warnings[0];

    // The page stays usable: the listener still lists answers.
    camera.send("after s m d f");
    EXPECT_TRUE(WaitForRows(1));
}

TEST_F(SearchPageListener, BurstOfAnswersIsNotLost)
{
    constexpr int kBurst = 512;
    for (int i = 0; i < kBurst; ++i)
        camera.send("10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256) + " sn mac name fw");
    ASSERT_TRUE(WaitUntil([&] { return Rows() >= kBurst; }, 20s)) << Rows() << " rows";
    EXPECT_EQ(RowTexts(*page, kBurst - 1), (std::vector<QString> { "512", "10.0.1.255", "mac", "fw" }));
}

TEST_F(SearchPageListener, SecondListenerOnThePortReportsAConflictAndGoesOnWithoutIt)
{
    auto second = std::make_unique<RecordingSearchPage>(DiscoveryPorts { listenPort, collector.port() });
    second->Create(&main);
    ASSERT_TRUE(WaitUntil([&] { return second->closeRequests == 1 && !second->IsListening(); }));
    ASSERT_EQ(closer.texts.size(), 1u);
    EXPECT_EQ(closer.texts[0], QStringLiteral("Port conflict!\n"));
    EXPECT_EQ(closer.captions[0], QStringLiteral("Quillscope"));
    closer.texts.clear();
    EXPECT_EQ(log.linesWith("<critical>\tport conflict!").size(), 1u);

    // The first page keeps the port; the second receives nothing but can search.
    camera.send("cam s m d f");
    ASSERT_TRUE(WaitForRows(1));
    SpinEvents(50ms);
    EXPECT_EQ(second->ResultList().GetItemCount(), 0);
    second->SetRange({ 127, 0, 0, 1 }, { 127, 0, 0, 2 });
    QTest::mouseClick(second->GetDlgItemAs<QPushButton>(1007), Qt::LeftButton);
    EXPECT_EQ(collector.collect(2, 500ms).size(), 2u);

    second.reset();
    EXPECT_EQ(log.linesWith("port conflict!").size(), 1u);
}

// Shutdown: the page goes while answers keep arriving and while the listener
// waits for the UI thread; it must end at once, show no message and touch
// nothing afterwards.
TEST_F(SearchPageListener, PageGoesAwayPromptlyWhileAnswersKeepArriving)
{
    std::atomic<bool> sending { true };
    std::thread flood([&] {
        DatagramSender sender(listenPort);
        while (sending)
            sender.send("flood s m d f");
    });
    ASSERT_TRUE(WaitForRows(10));
    QElapsedTimer timer;
    timer.start();
    page.reset();
    EXPECT_LT(timer.elapsed(), 2000);
    sending = false;
    flood.join();
    SpinEvents(50ms);
    EXPECT_TRUE(closer.texts.empty());
    EXPECT_TRUE(log.linesWith("port conflict!").empty());
}

TEST_F(SearchPageListener, PageGoesAwayWhileTheListenerWaitsForTheUiThread)
{
    // The event loop does not turn: the listener is left waiting in its
    // hand-off for the row when the page is destroyed.
    camera.send("pending s m d f");
    std::this_thread::sleep_for(100ms);
    QElapsedTimer timer;
    timer.start();
    page.reset();
    EXPECT_LT(timer.elapsed(), 2000);
    SpinEvents(50ms);
    EXPECT_TRUE(log.linesWith("port conflict!").empty());
}

TEST(SearchPageListenerLifetime, PageNeverCreatedStartsNoListener)
{
    const CSearchPage page(DiscoveryPorts { FreeUdpPort(), FreeUdpPort() });
    EXPECT_FALSE(page.IsListening());
}

TEST(SearchPageListenerLifetime, PortFreedWhenThePageGoes)
{
    const std::uint16_t port = FreeUdpPort();
    TestMainWindow main;
    main.Create(nullptr);
    for (int round = 0; round < 3; ++round) {
        LogCapture log;
        MessageBoxCloser closer;
        {
            CSearchPage page(DiscoveryPorts { port, FreeUdpPort() });
            page.Create(&main);
            ASSERT_TRUE(
                WaitUntil([&] { return page.IsListening() && !log.linesWith("receive buffer").empty(); }));
        }
        SpinEvents(20ms);
        EXPECT_TRUE(closer.texts.empty()) << "round " << round;
    }
}

} // namespace
