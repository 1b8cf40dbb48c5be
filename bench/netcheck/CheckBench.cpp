// Wall time of the network check page's Check with all four ports blackholed
// and of its cloud TEST with both ports blackholed, against the old way of
// running the same probes one after the other on the calling thread.
//   QT_QPA_PLATFORM=offscreen ./build/bench/netcheck/netcheck_bench
// Run it inside a private network namespace: every probe goes to loopback.
#include "CDevicePage.h"
#include "DevicePageIds.h"
#include "Logger.h"

#include <Poco/Net/ServerSocket.h>
#include <Poco/Net/StreamSocket.h>
#include <QApplication>
#include <QPushButton>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;

// Connection attempts time out here: Linux drops SYNs to a full backlog-0
// queue that nobody accepts.
struct Blackhole {
    std::uint16_t port() const { return listener.address().port(); }
    Poco::Net::ServerSocket listener { Poco::Net::SocketAddress("127.0.0.1", 0), 0 };
    Poco::Net::StreamSocket queued { Poco::Net::SocketAddress("127.0.0.1", port()) };
};

double Seconds(const std::function<void()>& work)
{
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Clicks the button and runs the event loop until it is enabled again.
double PageRun(CDevicePage& page, int button)
{
    auto* control = page.GetDlgItemAs<QPushButton>(button);
    return Seconds([&] {
        QTest::mouseClick(control, Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return control->isEnabled(); }, 20'000))
            std::fprintf(stderr, "the run did not end within 20 s\n");
    });
}

} // namespace

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    const auto folder = std::filesystem::temp_directory_path() / "quillscope-netcheck-bench";
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    std::ofstream("Config.ini") << "[RCS]\nIP=127.0.0.1\n";

    Blackhole ports[4];
    DeviceProbes probes;
    probes.settingsPath = (folder / "Config.ini").string();
    probes.lanPorts = { ports[0].port(), ports[1].port(), ports[2].port(), ports[3].port() };
    probes.cloudPort = probes.cloudTlsPort = ports[0].port();

    const double oldCheck = Seconds([&] {
        for (const std::int32_t port : probes.lanPorts)
            ProbePort("", port, probes.portTimeout, probes.settingsPath);
    });
    const double oldCloud = Seconds([&] {
        ProbeHttps("127.0.0.1", probes.cloudPort, probes.httpsTimeout);
        ProbeHttps("127.0.0.1", probes.cloudTlsPort, probes.httpsTimeout);
    });

    QWidget window;
    auto* page = new CDevicePage(probes);
    page->Create(&window);
    page->SetDlgItemText(device_page::kCloudHostEdit, QStringLiteral("127.0.0.1"));
    window.show();
    const double newCheck = PageRun(*page, device_page::kCheckButton);
    const double newCloud = PageRun(*page, device_page::kCloudTestButton);

    std::printf("Check, four ports blackholed:     one after another %.2f s, page %.2f s (goal 0.9 s)\n",
        oldCheck, newCheck);
    std::printf("cloud TEST, two ports blackholed: one after another %.2f s, page %.2f s (goal 4.2 s)\n",
        oldCloud, newCloud);
    delete page;
    Logger::shutdown();
    std::filesystem::current_path(folder.parent_path());
    std::filesystem::remove_all(folder);
    return 0;
}
