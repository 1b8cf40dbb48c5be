// The discovery engine of the search page on loopback: answers sent to a free
// port of 127.0.0.1, the sweep towards a collecting socket, listener failures
// and the shutdown while answers keep arriving.
#include "SearchPageTestSupport.h"

#include "AnswerSocket.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <thread>

namespace {

using namespace quill::discovery::test;

struct SearchPageListener : ::testing::Test, PageTest {
    void SetUp() override
    {
        ASSERT_TRUE(QTest::qWaitFor([&] { return page->IsListening(); }, 5000));
    }
    void TearDown() override { EXPECT_EQ(closer.texts, Texts {}); }
    void Answer(const std::string& datagram) { peer.send(datagram, listenPort); }
    bool WaitForRows(int count)
    {
        return QTest::qWaitFor([&] { return Rows() >= count; }, 20000);
    }
    int Rows() { return page->ResultList().GetItemCount(); }
    std::unique_ptr<RecordingSearchPage> page = MakePage({ { "127", "0", "0", "1" } }, Loopback());
};

// The UI thread does not turn while the answers arrive: every one must wait in
// the socket or at the hand-off and appear afterwards, in order, and only the
// answers leave a record: ignored datagrams and a quiet start leave none.
TEST_F(SearchPageListener, AnswersBecomeRowsAndDebugLinesAsTheCameraWroteThem)
{
    for (const std::string ignored : { "update", "a b c d", "a b c d e ", "ip sn mac my cam fw", "" })
        Answer(ignored);
    const std::pair<std::string, Texts> cases[] {
        { "192.168.1.20 SN123 00:11:22:33:44:55 Cam-1 2.1.7",
            { "1", "192.168.1.20", "00:11:22:33:44:55", "2.1.7" } },
        // Bytes that are not UTF-8 are left out of the shown text only.
        { "10.0.0.7 sn m\xff\xfe"
          "ac name fw\xc3\xa9\n",
            { "2", "10.0.0.7", "mac", "fw\u00e9<U+000A>" } },
        { "a b c d " + std::string(492, 'h') + " sixth", { "3", "a", "c", QString(492, QLatin1Char('h')) } },
    };
    for (const auto& c : cases)
        Answer(c.first);
    for (int i = 0; i < 500; ++i)
        Answer("10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256) + " sn mac name fw");
    ASSERT_TRUE(WaitForRows(503)) << Rows() << " rows";
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(RowTexts(*page, i), cases[i].second) << i;
    EXPECT_EQ(RowTexts(*page, 502), (Texts { "503", "10.0.1.243", "mac", "fw" }));
    EXPECT_EQ(log.linesWith("\t").size(), 503u);
    EXPECT_EQ(
        log.linesWith("<debug>\tIP: 192.168.1.20, SN: SN123, MAC: 00:11:22:33:44:55, device_name: Cam-1, "
                      "FW: 2.1.7")
            .size(),
        1u);
    // The log holds the fields made safe: no broken bytes, a line feed written visibly.
    EXPECT_EQ(log.linesWith("MAC: mac, device_name: name, FW: fw\u00e9<U+000A>").size(), 1u);
}

TEST_F(SearchPageListener, OneRowPerCameraAndSearchStartsAfresh)
{
    // The same camera three times, its MAC spelt two ways, and a second MAC
    // for its address: two cameras, two rows, a count of 2, both in conflict.
    for (const char* answer : { "127.0.0.1 s 00:1a:2b:3c:4d:5e d f1", "127.0.0.1 s 00-1A-2B-3C-4D-5E d f2",
             "127.0.0.1 s 00:1a:2b:3c:4d:5f d f", "127.0.0.1 s 00:1a:2b:3c:4d:5e d f3" })
        Answer(answer);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return page->Engine().Cameras().size() == 2 && page->Engine().Cameras()[0].answers == 3; },
        5000));
    EXPECT_EQ(Rows(), 2);
    EXPECT_EQ(RowTexts(*page, 0), (Texts { "1", "127.0.0.1", "00:1a:2b:3c:4d:5e", "f3" }));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return page->StatusText() == "2 cameras answered; 2 cameras with problems"; }, 5000));

    ClickSearch(*page);
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(peer.collect(300, 500ms), std::vector<std::string>(256, "update"));
    Answer("127.0.0.1 s m d f");
    ASSERT_TRUE(WaitForRows(1));
    EXPECT_EQ(RowTexts(*page, 0), (Texts { "1", "127.0.0.1", "m", "f" }));
    // Settled two seconds after the last answer; later answers still count.
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return page->StatusText() == "1 camera answered; 256 queries sent"; }, 6000));
    Answer("127.0.0.1 s m2 d f");
    page->ApplyLanguage(1);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return page->StatusText() == "2 台攝影機回應；已送出 256 個查詢；2 台攝影機有問題"; }, 5000));
}

// A flood of made-up cameras fills the list to its bound and no further.
TEST_F(SearchPageListener, TheListStopsAtItsBoundAndSaysHowManyAnswersItIgnored)
{
    constexpr int kFlood = 4096 + 50;
    const auto taken = [&] { return page->Engine().Cameras().size() + page->Engine().IgnoredAnswers(); };
    for (int i = 0; i < kFlood; ++i) {
        Answer("10.0." + std::to_string(i / 256) + "." + std::to_string(i % 256) + " s m d f");
        // In slices, so that a busy machine's socket buffer never overflows.
        if (i % 200 == 199) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return taken() == static_cast<std::size_t>(i) + 1; }, 10000));
        }
    }
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return page->StatusText()
                == "4096 cameras answered; 50 answers ignored: the list holds at most 4096 cameras; 4096 "
                   "cameras "
                   "with problems";
        },
        20000))
        << page->StatusText().toStdString();
    EXPECT_EQ(Rows(), 4096);
    EXPECT_EQ(log.linesWith("further ones are not listed").size(), 1u);
}

std::size_t OpenFileCount()
{
    const std::filesystem::directory_iterator fds("/proc/self/fd");
    return static_cast<std::size_t>(std::distance(begin(fds), end(fds)));
}

TEST_F(SearchPageListener, OnlyAPortThatCannotBeBoundIsAConflict)
{
    const std::size_t before = OpenFileCount();
    EXPECT_THROW(quill::discovery::AnswerSocket socket(listenPort), quill::discovery::BindFailure);
    EXPECT_EQ(OpenFileCount(), before);

    auto second = MakePage({}, Loopback());
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->closeRequests == 1; }, 5000));
    EXPECT_EQ(closer.texts, Texts { "Port conflict!\n" });
    EXPECT_EQ(closer.captions, Texts { "Quillscope" });
    closer.texts.clear();
    EXPECT_EQ(log.linesWith("<critical>\tport conflict!").size(), 1u);
    // The second page searches all the same; the first keeps the port.
    second->SetRange({ 127, 0, 0, 1 }, { 127, 0, 0, 2 });
    ClickSearch(*second);
    EXPECT_EQ(peer.collect(2, 500ms).size(), 2u);
    Answer("cam s m d f");
    ASSERT_TRUE(WaitForRows(1));
    EXPECT_EQ(second->ResultList().GetItemCount(), 0);
}

// Shutdown ends at once, shows no message and touches nothing afterwards, while
// answers keep arriving.
TEST_F(SearchPageListener, PageGoesAwayPromptlyWhileAnswersKeepArriving)
{
    std::atomic<bool> sending { true };
    std::thread flood([&] {
        UdpPeer sender;
        for (int i = 0; sending; ++i)
            sender.send("flood s m" + std::to_string(i) + " d f", listenPort);
    });
    EXPECT_TRUE(WaitForRows(10));
    QElapsedTimer timer;
    timer.start();
    page.reset();
    EXPECT_LT(timer.elapsed(), 2000);
    sending = false;
    flood.join();
    EXPECT_TRUE(log.linesWith("port conflict!").empty());
}

} // namespace
