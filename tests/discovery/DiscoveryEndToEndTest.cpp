// Discovery end to end on the real discovery port: a "PC" network namespace
// where the search page listens and sweeps 198.18.0.0/24, and a camera
// namespace where the camera simulator answers from 20 addresses.
#include "SearchPageTestSupport.h"

#include "TestNetwork.h"

#include <QProcess>

#include <boost/format.hpp>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

namespace {

using namespace quill::discovery::test;

constexpr int kCameraCount = 20;

// Camera n (from 1) sits at 198.18.0.(9 + n).
std::string CameraAddress(int n)
{
    return "198.18.0." + std::to_string(9 + n);
}

// Keeps the calling thread in another network namespace for its lifetime.
struct InNamespace {
    InNamespace(quill::test::TestNetwork& network, const std::string& host) { network.enter(host); }
    ~InNamespace() { ::setns(original, CLONE_NEWNET), ::close(original); }
    int original = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
};

struct DiscoveryEndToEnd : ::testing::Test, PageTest {
    void SetUp() override
    {
        if (const std::string unavailable = quill::test::TestNetwork::UnavailableReason();
            !unavailable.empty())
            GTEST_SKIP() << "end-to-end discovery needs network namespaces: " << unavailable;
        pc = network.addHost("pc");
        cameras = network.addHost("cam");
        const auto [pcSide, cameraSide] = network.link(pc, cameras);
        network.addAddress(pc, pcSide, "198.18.0.1/24");
        for (int n = 1; n <= kCameraCount; ++n)
            network.addAddress(cameras, cameraSide, CameraAddress(n) + "/24");
        simulator.start("ip",
            { "netns", "exec", QString::fromStdString(cameras), QUILL_CAMERA_SIM_PATH, "--range",
                QString::fromStdString(CameraAddress(1) + "-" + CameraAddress(kCameraCount)),
                "--broadcast" });
        ASSERT_TRUE(simulator.waitForReadyRead(10000) && simulator.readAll() == "ready\n");
        inPc.emplace(network, pc);
    }
    std::unique_ptr<RecordingSearchPage> AddPage() { return MakePage({ { "198", "18", "0", "1" } }, {}); }

    quill::test::TestNetwork network;
    std::string pc, cameras;
    QProcess simulator;
    std::optional<InNamespace> inPc;
};

TEST_F(DiscoveryEndToEnd, SearchListsEveryCameraForItsOwnAndTheBroadcastQuery)
{
    const auto page = AddPage();
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->IsListening(); }, 5000));
    ClickSearch(*page);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return page->ResultList().GetItemCount() >= 2 * kCameraCount; }, 15000));
    // Every camera twice (its own query and the broadcast), numbered in arrival
    // order, with one debug line holding all five fields per answer.
    std::map<QString, int> rowsPerCamera;
    for (int row = 0; row < 2 * kCameraCount; ++row) {
        const Texts texts = RowTexts(*page, row);
        const int n = texts[1].section('.', 3).toInt() - 9;
        const auto mac = (boost::format("02-00-C6-12-00-%02X") % (9 + n)).str();
        EXPECT_EQ(texts,
            (Texts { QString::number(row + 1), QString::fromStdString(CameraAddress(n)),
                QString::fromStdString(mac), QStringLiteral("1.0.%1").arg(n) }));
        ++rowsPerCamera[texts[1]];
        EXPECT_EQ(
            log.linesWith((boost::format("<debug>\tIP: %s, SN: SIM%06d, MAC: %s, device_name: SimCam-%d, FW: "
                                         "1.0.%d")
                              % CameraAddress(n) % n % mac % n % n)
                              .str())
                .size(),
            2u);
    }
    EXPECT_EQ(rowsPerCamera.size(), static_cast<std::size_t>(kCameraCount));
    EXPECT_EQ(closer.texts, Texts {});
}

} // namespace
