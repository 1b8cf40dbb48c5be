// Discovery end to end on the real discovery port: a "PC" network namespace
// where the search page listens and sweeps 198.18.0.0/24, and a camera
// namespace where the camera simulator answers from 20 addresses.
#include "SearchPageTestSupport.h"

#include "TempDir.h"
#include "TestNetwork.h"

#include <QPushButton>
#include <QTest>

#include <boost/format.hpp>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <map>
#include <thread>

extern char** environ;

namespace {

using namespace quill::discovery::test;
using namespace std::chrono_literals;
using quill::test::ScopedWorkingDir;
using quill::test::TempDir;
using quill::test::TestNetwork;

constexpr int kFirstCamera = 10;
constexpr int kCameraCount = 20;

std::string CameraAddress(int n)
{
    return "198.18.0." + std::to_string(kFirstCamera - 1 + n);
}
// The simulator's fields for its camera number n (from 1).
std::string CameraMac(int n)
{
    return (boost::format("02-00-C6-12-00-%02X") % (kFirstCamera - 1 + n)).str();
}

// A program run in the background with its standard output going to a file;
// ended with SIGTERM (then SIGKILL) when the object goes.
class BackgroundProgram {
public:
    BackgroundProgram(const std::vector<std::string>& arguments, const std::filesystem::path& output)
    {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(
            &actions, STDOUT_FILENO, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char*> argv;
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        if (::posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~BackgroundProgram()
    {
        if (m_pid <= 0)
            return;
        ::kill(m_pid, SIGTERM);
        int status = 0;
        for (int i = 0; i < 500 && ::waitpid(m_pid, &status, WNOHANG) == 0; ++i)
            std::this_thread::sleep_for(10ms);
        if (::waitpid(m_pid, &status, WNOHANG) == 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &status, 0);
        }
    }
    BackgroundProgram(const BackgroundProgram&) = delete;
    BackgroundProgram& operator=(const BackgroundProgram&) = delete;

private:
    pid_t m_pid = -1;
};

// Keeps the calling thread in another network namespace for its lifetime.
class InNamespace {
public:
    InNamespace(TestNetwork& network, const std::string& host)
        : m_original(::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC))
    {
        network.enter(host);
    }
    ~InNamespace()
    {
        if (m_original >= 0) {
            ::setns(m_original, CLONE_NEWNET);
            ::close(m_original);
        }
    }
    InNamespace(const InNamespace&) = delete;
    InNamespace& operator=(const InNamespace&) = delete;

private:
    int m_original;
};

class DiscoveryEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string unavailable = TestNetwork::UnavailableReason();
        if (!unavailable.empty())
            GTEST_SKIP() << "end-to-end discovery needs network namespaces: " << unavailable;

        network = std::make_unique<TestNetwork>();
        pc = network->addHost("pc");
        cameras = network->addHost("cam");
        const auto [pcSide, cameraSide] = network->link(pc, cameras);
        network->addAddress(pc, pcSide, "198.18.0.1/24");
        for (int n = 1; n <= kCameraCount; ++n)
            network->addAddress(cameras, cameraSide, CameraAddress(n) + "/24");

        simulator = std::make_unique<BackgroundProgram>(
            std::vector<std::string> { "ip", "netns", "exec", cameras, QUILL_CAMERA_SIM_PATH, "--range",
                CameraAddress(1) + "-" + CameraAddress(kCameraCount), "--broadcast" },
            dir.file("simulator.out"));
        ASSERT_TRUE(WaitUntil(
            [&] {
                return quill::test::ReadWholeFile(dir.file("simulator.out")).find("ready\n")
                    != std::string::npos;
            },
            10s))
            << "the camera simulator did not start";

        inPc = std::make_unique<InNamespace>(*network, pc);
        main.Create(nullptr);
    }

    void TearDown() override
    {
        pages.clear();
        inPc.reset();
        simulator.reset();
        network.reset();
    }

    // A page as the main window makes it, with the PC's one adapter.
    template <class Page = CSearchPage> Page& AddPage()
    {
        auto page = std::make_unique<Page>();
        page->m_adapterCount = 1;
        page->m_adapterParts[0] = { "198", "18", "0", "1" };
        page->Create(&main);
        Page& added = *page;
        pages.push_back(std::move(page));
        return added;
    }

    TempDir dir;
    ScopedWorkingDir cwd { dir.path() };
    LogCapture log;
    MessageBoxCloser closer;
    std::unique_ptr<TestNetwork> network;
    std::string pc;
    std::string cameras;
    std::unique_ptr<BackgroundProgram> simulator;
    std::unique_ptr<InNamespace> inPc;
    TestMainWindow main;
    std::vector<std::unique_ptr<CSearchPage>> pages;
};

TEST_F(DiscoveryEndToEnd, SearchListsEveryCameraForItsOwnAndTheBroadcastQuery)
{
    CSearchPage& page = AddPage();
    ASSERT_TRUE(WaitUntil([&] { return page.IsListening(); }));
    EXPECT_EQ(page.BeginAddress(), (CSearchPage::Ipv4Octets { 198, 18, 0, 0 }));
    EXPECT_EQ(page.EndAddress(), (CSearchPage::Ipv4Octets { 198, 18, 0, 255 }));

    QTest::mouseClick(page.GetDlgItemAs<QPushButton>(1007), Qt::LeftButton);
    const int expectedRows = 2 * kCameraCount;
    ASSERT_TRUE(WaitUntil([&] { return page.ResultList().GetItemCount() >= expectedRows; }, 15s))
        << page.ResultList().GetItemCount() << " rows";
    SpinEvents(300ms);
    ASSERT_EQ(page.ResultList().GetItemCount(), expectedRows);

    // Every camera twice (its own query and the broadcast), numbered in arrival order.
    std::map<QString, std::vector<QString>> expected;
    for (int n = 1; n <= kCameraCount; ++n)
        expected[QString::fromStdString(CameraAddress(n))]
            = { QString::fromStdString(CameraMac(n)), QStringLiteral("1.0.%1").arg(n) };
    std::map<QString, int> rowsPerCamera;
    for (int row = 0; row < expectedRows; ++row) {
        const auto texts = RowTexts(page, row);
        EXPECT_EQ(texts[0], QString::number(row + 1));
        EXPECT_EQ(std::vector<QString>(texts.begin() + 2, texts.end()), expected[texts[1]])
            << texts[1].toStdString();
        ++rowsPerCamera[texts[1]];
    }
    EXPECT_EQ(rowsPerCamera.size(), static_cast<std::size_t>(kCameraCount));
    for (const auto& [address, count] : rowsPerCamera)
        EXPECT_EQ(count, 2) << address.toStdString();

    // One debug line with all five fields per answer.
    for (int n = 1; n <= kCameraCount; ++n) {
        const std::string line
            = (boost::format("<debug>\tIP: %s, SN: SIM%06d, MAC: %s, device_name: SimCam-%d, FW: 1.0.%d")
                % CameraAddress(n) % n % CameraMac(n) % n % n)
                  .str();
        EXPECT_EQ(log.linesWith(line).size(), 2u) << line;
    }
    EXPECT_EQ(log.linesWith("<debug>\tIP: ").size(), static_cast<std::size_t>(expectedRows));
    EXPECT_TRUE(closer.texts.empty());
}

TEST_F(DiscoveryEndToEnd, SecondCopyCannotHaveThePort)
{
    CSearchPage& first = AddPage();
    ASSERT_TRUE(WaitUntil([&] { return first.IsListening(); }));
    auto& second = AddPage<RecordingSearchPage>();
    ASSERT_TRUE(WaitUntil([&] { return second.closeRequests == 1 && !second.IsListening(); }));
    EXPECT_EQ(closer.texts, std::vector<QString> { QStringLiteral("Port conflict!\n") });
    EXPECT_EQ(closer.captions, std::vector<QString> { QStringLiteral("Quillscope") });
    EXPECT_EQ(log.linesWith("<critical>\tport conflict!").size(), 1u);

    // The second copy searches, but every answer goes to the first.
    QTest::mouseClick(second.GetDlgItemAs<QPushButton>(1007), Qt::LeftButton);
    ASSERT_TRUE(WaitUntil([&] { return first.ResultList().GetItemCount() >= 2 * kCameraCount; }, 15s));
    SpinEvents(200ms);
    EXPECT_EQ(second.ResultList().GetItemCount(), 0);
    EXPECT_TRUE(first.IsListening());
}

TEST_F(DiscoveryEndToEnd, AnswerWithoutASearchIsListed)
{
    CSearchPage& page = AddPage();
    ASSERT_TRUE(WaitUntil([&] { return page.IsListening(); }));

    // A camera that speaks on its own, from the camera namespace.
    std::thread camera([this] {
        const InNamespace there(*network, cameras);
        UdpPeer().send(CameraAddress(3) + " SN-OWN " + CameraMac(3) + " Cam-3 9.9.9", 1334, "198.18.0.1");
    });
    camera.join();
    ASSERT_TRUE(WaitUntil([&] { return page.ResultList().GetItemCount() == 1; }));
    EXPECT_EQ(RowTexts(page, 0),
        (std::vector<QString> {
            "1", QString::fromStdString(CameraAddress(3)), QString::fromStdString(CameraMac(3)), "9.9.9" }));
}

} // namespace
