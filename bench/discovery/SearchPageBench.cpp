// Answers handled end to end by the search page on loopback: each datagram
// received by the listener, logged, handed to the UI thread and shown as a row.
//   ./build/bench/discovery/discovery_bench
// Counters: "lost" answers that never became a row; "ms_after_last" from the
// last datagram sent to the last row in the list, "ms_painted" to the list's
// next paint; "handled_per_s" rows per second from the first datagram sent to
// the last row; "peak_queued_bytes" the receive memory the waiting answers
// took in the listener's socket (the kernel's default limit grants 425,984).
#include "CDialogBase.h"
#include "CSearchPage.h"
#include "Logger.h"

#include <QApplication>
#include <QElapsedTimer>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace asio = boost::asio;
using asio::ip::udp;
using Clock = std::chrono::steady_clock;

std::uint16_t FreeUdpPort()
{
    asio::io_context io;
    udp::socket probe(io, udp::endpoint(udp::v4(), 0));
    return probe.local_endpoint().port();
}

// The last three groups of a made-up MAC, one per camera.
std::string MacTail(int i)
{
    char tail[9];
    std::snprintf(tail, sizeof tail, "%02X-%02X-%02X", (i >> 16) & 0xff, (i >> 8) & 0xff, i & 0xff);
    return tail;
}

// Answers from as many different cameras.
std::vector<std::string> Answers(int count)
{
    std::vector<std::string> answers;
    answers.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        answers.push_back("10." + std::to_string(i / 65536) + "." + std::to_string(i / 256 % 256) + "."
            + std::to_string(i % 256) + " SN" + std::to_string(i) + " 02-00-0A-" + MacTail(i) + " SimCam-"
            + std::to_string(i) + " 1.0." + std::to_string(i));
    }
    return answers;
}

// The page as the program shows it, listening on a free port of loopback.
class ShownPage {
public:
    ShownPage()
        : m_port(FreeUdpPort())
        , m_main(DialogTemplate { 140, QSize(319, 210), QStringLiteral("Tessory Tool"), {}, 8, {} })
    {
        m_main.Create(nullptr);
        // Room for every camera of the largest stream, so that each answer
        // costs a new row, as on a site, rather than being turned away.
        m_page = std::make_unique<CSearchPage>(
            SearchPageOptions { .engine = { .ports = { m_port, FreeUdpPort() }, .cameraLimit = 1u << 16 } });
        m_page->Create(&m_main);
        m_main.resize(m_page->size());
        m_main.ShowWindow(true);
        m_page->ShowWindow(true);
        m_page->ResultList().viewport()->installEventFilter(&m_paints);
        QElapsedTimer timer;
        timer.start();
        while (!m_page->IsListening() && timer.elapsed() < 5000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    CSearchPage& page() { return *m_page; }

    // Turns the event loop until the list's viewport is painted after the
    // given moment (bounded); returns the moment of that paint.
    Clock::time_point PaintedAfter(Clock::time_point moment)
    {
        const Clock::time_point limit = Clock::now() + std::chrono::milliseconds(500);
        while (m_paints.last <= moment && Clock::now() < limit)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        return m_paints.last;
    }
    std::uint16_t port() const { return m_port; }
    int rows() { return m_page->ResultList().GetItemCount(); }

    // Turns the event loop until `count` rows are shown or nothing new came
    // for the quiet period; returns when the last row came.
    Clock::time_point DrainUntil(int count, std::chrono::milliseconds quiet = std::chrono::milliseconds(500))
    {
        Clock::time_point lastRow = Clock::now();
        int seen = rows();
        while (seen < count) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            const int now = rows();
            if (now != seen) {
                seen = now;
                lastRow = Clock::now();
            } else if (Clock::now() - lastRow > quiet) {
                break;
            }
        }
        return lastRow;
    }

private:
    // Notes when the list's viewport was last painted.
    struct PaintWatch : QObject {
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Paint)
                last = Clock::now();
            return false;
        }
        Clock::time_point last;
    };

    PaintWatch m_paints;
    std::uint16_t m_port;
    CDialogBase m_main;
    std::unique_ptr<CSearchPage> m_page;
};

// Made on first use and destroyed in main, before the application object.
std::unique_ptr<ShownPage> g_page;

ShownPage& Page()
{
    if (!g_page)
        g_page = std::make_unique<ShownPage>();
    return *g_page;
}

// The receive memory the kernel charges the listener's socket at the moment
// (rx_queue of /proc/net/udp), to set against its granted receive buffer.
double QueuedBytes(std::uint16_t port)
{
    std::ifstream table("/proc/net/udp");
    std::string line;
    std::getline(table, line);
    char wanted[8];
    std::snprintf(wanted, sizeof wanted, ":%04X", port);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state, queues;
        fields >> slot >> local >> remote >> state >> queues;
        if (local.size() >= 5 && local.substr(local.size() - 5) == wanted)
            return static_cast<double>(std::stoul(queues.substr(queues.find(':') + 1), nullptr, 16));
    }
    return 0;
}

double Milliseconds(Clock::duration duration)
{
    return std::chrono::duration<double, std::milli>(duration).count();
}

// 512 answers sent as fast as possible from another thread while the UI
// thread turns its event loop.
void BM_Burst512(benchmark::State& state)
{
    constexpr int kBurst = 512;
    const auto answers = Answers(kBurst);
    ShownPage& shown = Page();
    double lost = 0;
    double afterLast = 0;
    double paintedAfterLast = 0;
    for (auto _ : state) {
        shown.page().ClearResults();
        Clock::time_point lastSent;
        const Clock::time_point start = Clock::now();
        std::thread camera([&] {
            asio::io_context io;
            udp::socket socket(io, udp::endpoint(udp::v4(), 0));
            const udp::endpoint target(asio::ip::make_address_v4("127.0.0.1"), shown.port());
            for (const auto& answer : answers)
                socket.send_to(asio::buffer(answer), target);
            lastSent = Clock::now();
        });
        Clock::time_point lastRow = shown.DrainUntil(kBurst);
        camera.join();
        lastRow = std::max(lastRow, lastSent);
        const Clock::time_point painted = shown.PaintedAfter(lastRow);
        state.SetIterationTime(std::chrono::duration<double>(lastRow - start).count());
        lost += kBurst - shown.rows();
        afterLast += Milliseconds(lastRow - lastSent);
        paintedAfterLast += Milliseconds(painted - lastSent);
    }
    state.counters["lost"] = benchmark::Counter(lost, benchmark::Counter::kAvgIterations);
    state.counters["ms_after_last"] = benchmark::Counter(afterLast, benchmark::Counter::kAvgIterations);
    state.counters["ms_painted"] = benchmark::Counter(paintedAfterLast, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_Burst512)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// The same burst while the UI thread itself is busy (it sends the burst): the
// answers wait in the listener socket's receive buffer.
void BM_Burst512WhileUiBusy(benchmark::State& state)
{
    constexpr int kBurst = 512;
    const auto answers = Answers(kBurst);
    ShownPage& shown = Page();
    asio::io_context io;
    udp::socket socket(io, udp::endpoint(udp::v4(), 0));
    const udp::endpoint target(asio::ip::make_address_v4("127.0.0.1"), shown.port());
    double lost = 0;
    double afterLast = 0;
    double queued = 0;
    for (auto _ : state) {
        shown.page().ClearResults();
        const Clock::time_point start = Clock::now();
        for (const auto& answer : answers)
            socket.send_to(asio::buffer(answer), target);
        const Clock::time_point lastSent = Clock::now();
        queued = std::max(queued, QueuedBytes(shown.port()));
        const Clock::time_point lastRow = std::max(shown.DrainUntil(kBurst), lastSent);
        state.SetIterationTime(std::chrono::duration<double>(lastRow - start).count());
        lost += kBurst - shown.rows();
        afterLast += Milliseconds(lastRow - lastSent);
    }
    state.counters["lost"] = benchmark::Counter(lost, benchmark::Counter::kAvgIterations);
    state.counters["ms_after_last"] = benchmark::Counter(afterLast, benchmark::Counter::kAvgIterations);
    state.counters["peak_queued_bytes"] = queued;
}
BENCHMARK(BM_Burst512WhileUiBusy)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);

// A steady stream for one second at the given rate (answers per second).
void BM_SustainedStream(benchmark::State& state)
{
    const int rate = static_cast<int>(state.range(0));
    const int count = rate; // one second's worth
    const auto answers = Answers(count);
    ShownPage& shown = Page();
    double lost = 0;
    double handledPerSecond = 0;
    for (auto _ : state) {
        shown.page().ClearResults();
        Clock::time_point firstSent;
        std::thread camera([&] {
            asio::io_context io;
            udp::socket socket(io, udp::endpoint(udp::v4(), 0));
            const udp::endpoint target(asio::ip::make_address_v4("127.0.0.1"), shown.port());
            // Paced in slices of a millisecond.
            const int perSlice = std::max(1, rate / 1000);
            firstSent = Clock::now();
            for (int i = 0; i < count; i += perSlice) {
                std::this_thread::sleep_until(firstSent + std::chrono::microseconds(1000LL * i / perSlice));
                for (int j = i; j < std::min(count, i + perSlice); ++j)
                    socket.send_to(asio::buffer(answers[static_cast<std::size_t>(j)]), target);
            }
        });
        const Clock::time_point lastRow = shown.DrainUntil(count);
        camera.join();
        const double seconds = std::chrono::duration<double>(lastRow - firstSent).count();
        state.SetIterationTime(seconds);
        lost += count - shown.rows();
        handledPerSecond += shown.rows() / seconds;
    }
    state.counters["lost"] = benchmark::Counter(lost, benchmark::Counter::kAvgIterations);
    state.counters["handled_per_s"]
        = benchmark::Counter(handledPerSecond, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SustainedStream)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    // The log's files go to a folder of their own, its console copy nowhere:
    // writing them stays part of each answer's cost.
    const auto logFolder
        = std::filesystem::temp_directory_path() / ("quillscope-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(logFolder);
    const auto previousDir = std::filesystem::current_path();
    std::filesystem::current_path(logFolder);
    std::ofstream nowhere("/dev/null");
    std::streambuf* const console = std::clog.rdbuf(nowhere.rdbuf());
    Logger::instance();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    // The page first (its listener joined), then the log, then its folder.
    g_page.reset();
    std::filesystem::current_path(previousDir);
    Logger::shutdown();
    std::clog.rdbuf(console);
    std::filesystem::remove_all(logFolder);
    return 0;
}
