// Discovery end to end on the real discovery port: a "PC" network namespace
// where the search page listens and sweeps, a camera namespace where the camera
// simulator answers from 20 addresses beside 5 silent hosts (198.18.0.0/24),
// and a second adapter towards a namespace with nobody in it (198.18.1.0/24).
#include "SearchPageTestSupport.h"

#include "TestNetwork.h"

#include <QMenu>
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
        const std::string cameras = network.addHost("cam"), nobody = network.addHost("nobody");
        const auto [pcSide, cameraSide] = network.link(pc, cameras);
        network.addAddress(pc, pcSide, "198.18.0.1/24");
        for (int n = 1; n <= kCameraCount; ++n)
            network.addAddress(cameras, cameraSide, CameraAddress(n) + "/24");
        for (int silent = 100; silent < 105; ++silent)
            network.addAddress(cameras, cameraSide, "198.18.0." + std::to_string(silent) + "/24");
        std::tie(emptySide, nobodySide) = network.link(pc, nobody);
        network.addAddress(pc, emptySide, "198.18.1.1/24");
        this->nobody = nobody;
        // Names with a comma, quotes and non-ASCII text, serial numbers a
        // spreadsheet would take for formulas.
        simulator.start("ip",
            { "netns", "exec", QString::fromStdString(cameras), QUILL_CAMERA_SIM_PATH, "--range",
                QString::fromStdString(CameraAddress(1) + "-" + CameraAddress(kCameraCount)), "--broadcast",
                "--sn", "=SN{n}", "--name", "Cam,\"{n}\"-東門" });
        ASSERT_TRUE(simulator.waitForReadyRead(10000) && simulator.readAll() == "ready\n");
        inPc.emplace(network, pc);
        options.engine.settle = { 300ms, 3000ms };
        options.engine.neighbourTable = "/proc/thread-self/net/arp";
        options.chooseExportFile
            = [this](const QString&) { return QString::fromStdString(dir.file("export.csv").string()); };
    }
    std::unique_ptr<RecordingSearchPage> AddPage()
    {
        return MakePage({ { "198", "18", "0", "1" }, { "198", "18", "1", "1" } }, options);
    }
    // Searches and waits, bounded, for the search to settle; the status line.
    static std::string Search(CSearchPage& page)
    {
        ClickSearch(page);
        EXPECT_TRUE(QTest::qWaitFor([&] { return !page.StatusText().startsWith("Searching"); }, 10000));
        return page.StatusText().toStdString();
    }

    quill::test::TestNetwork network;
    std::string pc, nobody, emptySide, nobodySide;
    QProcess simulator;
    std::optional<InNamespace> inPc;
    SearchPageOptions options;
};

TEST_F(DiscoveryEndToEnd, SearchListsEveryCameraForItsOwnAndTheBroadcastQueryAndExportsThem)
{
    const auto page = AddPage();
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->IsListening(); }, 5000));
    EXPECT_EQ(Search(*page), "20 cameras answered; 256 queries sent");
    // The export, read back, holds every row's six fields as the camera sent
    // them: every camera once though it answered twice (its own query and the
    // broadcast), numbered in order of first answer, as the list shows them,
    // with one debug line per answer.
    QTest::mouseClick(page->ResultList().viewport(), Qt::RightButton, {},
        page->ResultList().visualRect(page->ResultList().model()->index(0, 1)).center());
    ASSERT_TRUE(
        QTest::qWaitFor([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }, 5000));
    qobject_cast<QMenu*>(QApplication::activePopupWidget())->actions().at(4)->trigger();
    const auto table = ReadCsv(quill::test::ReadWholeFile(dir.file("export.csv")));
    ASSERT_EQ(table.size(), kCameraCount + 1u);
    EXPECT_EQ(table[0],
        (std::vector<std::string> {
            "No.", "IP Address", "SN", "MAC Address", "Device Name", "F/W Version", "sender", "findings" }));
    std::map<std::string, int> rowsPerCamera;
    for (int row = 1; row <= kCameraCount; ++row) {
        const int n = std::stoi(table[row][1].substr(9)) - 9;
        const std::string mac = (boost::format("02-00-C6-12-00-%02X") % (9 + n)).str(),
                          fw = "1.0." + std::to_string(n);
        EXPECT_EQ(table[row],
            (std::vector<std::string> { std::to_string(row), CameraAddress(n), "'=SN" + std::to_string(n),
                mac, "Cam,\"" + std::to_string(n) + "\"-東門", fw, CameraAddress(n) + ":1334", "" }));
        EXPECT_EQ(RowTexts(*page, row - 1),
            (Texts { QString::number(row), QString::fromStdString(CameraAddress(n)),
                QString::fromStdString(mac), QString::fromStdString(fw) }));
        EXPECT_EQ(
            log.linesWith(
                   (boost::format("<debug>\tIP: %s, SN: =SN%d, MAC: %s, device_name: Cam,\"%d\"-東門, FW: %s")
                       % CameraAddress(n) % n % mac % n % fw)
                       .str())
                .size(),
            2u);
        ++rowsPerCamera[table[row][1]];
        EXPECT_EQ(page->Engine().Cameras()[page->ResultList().GetItemData(row - 1)].answers, 2);
    }
    EXPECT_EQ(rowsPerCamera.size(), static_cast<std::size_t>(kCameraCount));
    EXPECT_EQ(closer.texts, Texts {});
}

TEST_F(DiscoveryEndToEnd, StatusLineTellsWhyNoCameraAnswered)
{
    const auto page = AddPage();
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->IsListening(); }, 5000));
    const auto firewall = network.execPrefix(pc)
        + "nft -f - <<'EOF'\ntable inet t { chain out { type filter hook output "
          "priority 0; udp dport 1334 drop; }; }\nEOF";
    const auto adapter = [&](int index) {
        page->GetDlgItemAs<CComboBox>(1002)->setCurrentIndex(index);
        Q_EMIT page->GetDlgItemAs<CComboBox>(1002)->activated(index);
    };
    const std::vector<std::pair<std::function<void()>, std::string>> cases {
        { [&] {
             page->SetRange({ 198, 18, 1, 0 }, { 198, 18, 1, 255 });
         },
            "No camera answered: the range 198.18.1.0 – 198.18.1.255 is not on the network of adapter "
            "198.18.0.1 (qva0)." },
        { [&] {
             page->SetRange({ 198, 18, 0, 100 }, { 198, 18, 0, 109 });
         },
            "No camera answered, but 5 devices in the range answered ARP: check that this PC lets UDP port "
            "1334 in, or "
            "that the cameras belong to this product line." },
        { [&] { adapter(1); }, "No device in the range answered: check the cable and the network." },
        { [&] { network.ip(nobody, "link set " + nobodySide + " down"); },
            "No camera answered: adapter 198.18.1.1 (qva1) has no link; check the cable." },
        { [&] {
             adapter(0);
             EXPECT_EQ(quill::test::RunCommand(firewall), 0) << "nft (nftables) is not installed";
         },
            "No query could be sent: operation not permitted. A local firewall blocks outgoing UDP." },
    };
    for (const auto& [arrange, expected] : cases) {
        arrange();
        EXPECT_EQ(Search(*page), expected);
        EXPECT_EQ(log.linesWith("<warning>\t" + expected).size(), 1u);
    }
    // A second copy cannot have the port: it says so, whatever reaches the first.
    const auto second = AddPage();
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->closeRequests == 1; }, 5000));
    EXPECT_EQ(closer.texts, Texts { "Port conflict!\n" });
    closer.texts.clear();
    EXPECT_EQ(
        Search(*second), "No camera can answer: UDP port 1334 is held by another program (port conflict).");
}

} // namespace
