// The discovery engine of the search page on loopback: the listener on a free
// port with answers sent to 127.0.0.1, the sweep towards a collecting socket,
// the port conflict and the shutdown while answers keep arriving.
#include "SearchPageTestSupport.h"

#include "TempDir.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

using namespace quill::discovery::test;
using namespace std::chrono_literals;
using Row = std::vector<QString>;

class SearchPageListener : public ::testing::Test {
protected:
    void SetUp() override
    {
        main.Create(nullptr);
        page = std::make_unique<RecordingSearchPage>(DiscoveryPorts { listenPort, peer.port() });
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

    void Answer(const std::string& datagram) { peer.send(datagram, listenPort); }
    int Rows() { return page->ResultList().GetItemCount(); }
    bool WaitForRows(int count, std::chrono::milliseconds limit = 5s)
    {
        return WaitUntil([&] { return Rows() >= count; }, limit);
    }
    void ClickSearch(CSearchPage& on)
    {
        QTest::mouseClick(on.GetDlgItemAs<QPushButton>(1007), Qt::LeftButton);
    }

    quill::test::TempDir dir;
    quill::test::ScopedWorkingDir cwd { dir.path() };
    LogCapture log;
    MessageBoxCloser closer;
    UdpPeer peer;
    const std::uint16_t listenPort = FreeUdpPort();
    TestMainWindow main;
    std::unique_ptr<RecordingSearchPage> page;
};

TEST_F(SearchPageListener, AnswersBecomeRowsAndDebugLinesAsTheCameraWroteThem)
{
    const std::pair<std::string, Row> cases[] {
        { "192.168.1.20 SN123 00:11:22:33:44:55 Cam-1 2.1.7",
            { "192.168.1.20", "00:11:22:33:44:55", "2.1.7" } },
        { "    fw1", { "", "", "fw1" } },
        { "cam 1 mac name 3.0\n", { "cam", "mac", "3.0\n" } },
        { std::string("i s m d f\0trailing words here", 29), { "i", "m", "f" } },
        // Bytes that are not UTF-8 are left out of the shown text only.
        { "10.0.0.7 sn m\xff\xfe"
          "ac name fw\xc3\xa9",
            { "10.0.0.7", "mac", "fw\u00e9" } },
        // Only the first 500 bytes are read: the fifth token is cut, a sixth
        // that starts beyond them is never seen.
        { "ip sn mac name " + std::string(585, 'f'), { "ip", "mac", QString(485, QLatin1Char('f')) } },
        { "a b c d " + std::string(492, 'h') + " sixth", { "a", "c", QString(492, QLatin1Char('h')) } },
    };
    for (const auto& c : cases)
        Answer(c.first);
    ASSERT_TRUE(WaitForRows(static_cast<int>(std::size(cases))));
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Row row = RowTexts(*page, static_cast<int>(i));
        EXPECT_EQ(row[0], QString::number(i + 1));
        EXPECT_EQ(Row(row.begin() + 1, row.end()), cases[i].second) << i;
    }
    // The log keeps all five fields with the bytes as received.
    EXPECT_EQ(
        log.linesWith("<debug>\tIP: 192.168.1.20, SN: SN123, MAC: 00:11:22:33:44:55, device_name: Cam-1, "
                      "FW: 2.1.7")
            .size(),
        1u);
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
        Answer(ignored);
    }
    // A proper answer behind them shows that all of them were read.
    Answer("last s m d f");
    ASSERT_TRUE(WaitForRows(1));
    SpinEvents(50ms);
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(RowTexts(*page, 0)[1], QStringLiteral("last"));
    EXPECT_EQ(log.linesWith("IP: ").size(), 1u);
    EXPECT_TRUE(log.linesWith("warning").empty());
    EXPECT_TRUE(log.linesWith("critical").empty());
}

TEST_F(SearchPageListener, AnswersWithoutASearchAreListedAndNumberingRestartsAfterSearch)
{
    Answer("10.0.0.1 s m d f");
    Answer("10.0.0.1 s m d f"); // the same camera twice: two rows
    ASSERT_TRUE(WaitForRows(2));
    EXPECT_EQ(RowTexts(*page, 1)[0], QStringLiteral("2"));

    page->SetRange({ 127, 0, 0, 9 }, { 127, 0, 0, 9 });
    ClickSearch(*page);
    EXPECT_EQ(Rows(), 0);
    Answer("10.0.0.3 s m d f");
    ASSERT_TRUE(WaitForRows(1));
    EXPECT_EQ(RowTexts(*page, 0), (Row { "1", "10.0.0.3", "m", "f" }));
}

TEST_F(SearchPageListener, SweepSendsOneQueryPerAddressOfTheRange)
{
    ClickSearch(*page);
    const auto queries = peer.collect(300, 500ms);
    EXPECT_EQ(queries.size(), 256u);
    EXPECT_EQ(std::count(queries.begin(), queries.end(), "update"), 256);
    EXPECT_TRUE(log.linesWith("warning").empty());
}

TEST_F(SearchPageListener, SweepFailuresAreCountedInOneWarning)
{
    // In the tests' private network namespace no route leads to this test
    // network: every query fails, and the sweep still ends.
    page->SetRange({ 198, 18, 7, 0 }, { 198, 18, 7, 3 });
    page->SendDiscovery();
    const auto warnings = log.linesWith("<warning>");
    if (warnings.empty())
        GTEST_SKIP() << "a route to 198.18.7.0/24 exists here; run the tests in a private network namespace";
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("4 of 4 queries could not be sent"), std::string::npos) << warnings[0];
    Answer("after s m d f");
    EXPECT_TRUE(WaitForRows(1));
}

// The UI thread does not turn while the burst arrives: every answer must wait
// in the socket or at the hand-off and appear afterwards, in order.
TEST_F(SearchPageListener, BurstOfAnswersIsNotLost)
{
    constexpr int kBurst = 512;
    for (int i = 0; i < kBurst; ++i)
        Answer("10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256) + " sn mac name fw");
    ASSERT_TRUE(WaitForRows(kBurst, 20s)) << Rows() << " rows";
    EXPECT_EQ(RowTexts(*page, 0)[1], QStringLiteral("10.0.0.0"));
    EXPECT_EQ(RowTexts(*page, kBurst - 1), (Row { "512", "10.0.1.255", "mac", "fw" }));
}

TEST_F(SearchPageListener, SecondListenerOnThePortReportsAConflictAndGoesOnWithoutIt)
{
    auto second = std::make_unique<RecordingSearchPage>(DiscoveryPorts { listenPort, peer.port() });
    second->Create(&main);
    ASSERT_TRUE(WaitUntil([&] { return second->closeRequests == 1 && !second->IsListening(); }));
    EXPECT_EQ(closer.texts, Row { QStringLiteral("Port conflict!\n") });
    EXPECT_EQ(closer.captions, Row { QStringLiteral("Quillscope") });
    closer.texts.clear();
    EXPECT_EQ(log.linesWith("<critical>\tport conflict!").size(), 1u);

    // The first page keeps the port; the second receives nothing but can search.
    Answer("cam s m d f");
    ASSERT_TRUE(WaitForRows(1));
    SpinEvents(50ms);
    EXPECT_EQ(second->ResultList().GetItemCount(), 0);
    second->SetRange({ 127, 0, 0, 1 }, { 127, 0, 0, 2 });
    ClickSearch(*second);
    EXPECT_EQ(peer.collect(2, 500ms).size(), 2u);
    second.reset();
    EXPECT_EQ(log.linesWith("port conflict!").size(), 1u);
}

// Shutdown must end at once, show no message and touch nothing afterwards,
// both while answers keep arriving and while the listener waits for the UI
// thread in its hand-off (the event loop does not turn).
TEST_F(SearchPageListener, PageGoesAwayPromptlyWhileAnswersKeepArrivingOrAHandOffIsPending)
{
    for (const bool flooding : { true, false }) {
        if (!page) {
            page = std::make_unique<RecordingSearchPage>(DiscoveryPorts { listenPort, peer.port() });
            page->Create(&main);
            ASSERT_TRUE(WaitUntil([&] { return page->IsListening(); }));
        }
        std::atomic<bool> sending { flooding };
        std::thread flood([&] {
            UdpPeer sender;
            while (sending)
                sender.send("flood s m d f", listenPort);
        });
        if (flooding)
            EXPECT_TRUE(WaitForRows(10));
        else {
            Answer("pending s m d f");
            std::this_thread::sleep_for(100ms);
        }
        QElapsedTimer timer;
        timer.start();
        page.reset();
        EXPECT_LT(timer.elapsed(), 2000) << flooding;
        sending = false;
        flood.join();
        SpinEvents(50ms);
        EXPECT_TRUE(closer.texts.empty());
        EXPECT_TRUE(log.linesWith("port conflict!").empty());
    }
}

} // namespace
