// The program itself, started as the user starts it, in a fresh working
// directory: it runs until the session asks it to end and then shuts down in
// order, its last log file moved into "logs".
#include "TempDir.h"

#include <QProcess>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace quill::test {
namespace {

    namespace asio = boost::asio;
    using asio::ip::udp;
    namespace fs = std::filesystem;

    constexpr std::uint16_t kDiscoveryPort = 1334;
    constexpr int kStartLimitMs = 30000;
    constexpr char kAnswer[] = "198.18.0.7 SN123 00-11-22-33-44-55 cam1 1.0.0";

    // Everything the log files directly in folder hold; nothing when there are none.
    std::vector<std::string> LogFilesIn(const fs::path& folder)
    {
        std::vector<std::string> texts;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            if (entry.path().filename().string().starts_with("Tessory Tool_")
                && entry.path().extension() == ".log")
                texts.push_back(ReadWholeFile(entry.path()));
        }
        return texts;
    }

    // Why the program cannot run here: its listener needs the discovery port.
    std::string DiscoveryPortBusy()
    {
        asio::io_context io;
        udp::socket socket(io);
        boost::system::error_code error;
        socket.open(udp::v4(), error);
        if (!error)
            socket.bind(udp::endpoint(udp::v4(), kDiscoveryPort), error);
        return error ? "UDP port 1334 is in use here (" + error.message() + ")" : std::string();
    }

    // One run from start to the session's request to end.
    void RunUntilSignalled(int signal)
    {
        TempDir dir;
        QProcess program;
        program.setWorkingDirectory(QString::fromStdString(dir.path().string()));
        program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        program.start(QStringLiteral(QUILLSCOPE_PROGRAM), {});
        ASSERT_TRUE(program.waitForStarted(kStartLimitMs));

        // A camera's answer on loopback: the listener logs it, which shows the
        // program up and its log file open. Repeated until it is heard.
        asio::io_context io;
        udp::socket camera(io, udp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0));
        const udp::endpoint listener(asio::ip::make_address_v4("127.0.0.1"), kDiscoveryPort);
        const auto limit = std::chrono::steady_clock::now() + std::chrono::milliseconds(kStartLimitMs);
        bool heard = false;
        while (!heard && std::chrono::steady_clock::now() < limit && program.state() == QProcess::Running) {
            camera.send_to(asio::buffer(std::string(kAnswer)), listener);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            for (const std::string& text : LogFilesIn(dir.path()))
                heard = heard || text.find("SN: SN123") != std::string::npos;
        }
        ASSERT_TRUE(heard) << "the program did not log the answer";

        ASSERT_EQ(::kill(static_cast<pid_t>(program.processId()), signal), 0);
        ASSERT_TRUE(program.waitForFinished(kStartLimitMs));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);

        EXPECT_TRUE(LogFilesIn(dir.path()).empty()) << "the last log file stayed out of \"logs\"";
        const auto collected = LogFilesIn(dir.file("logs"));
        ASSERT_EQ(collected.size(), 1u);
        EXPECT_NE(collected[0].find("IP: 198.18.0.7, SN: SN123, MAC: 00-11-22-33-44-55"), std::string::npos);
        EXPECT_FALSE(fs::exists(dir.file("Config.ini")));
    }

    // Both signals in one test: the runs share the discovery port, so they must
    // not run side by side.
    TEST(ProgramRun, EndsInOrderWhenTheSessionAsksAndMovesTheLastLogIntoLogs)
    {
        if (const std::string busy = DiscoveryPortBusy(); !busy.empty())
            GTEST_SKIP() << busy;
        for (const int signal : { SIGTERM, SIGINT }) {
            SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGINT");
            RunUntilSignalled(signal);
        }
    }

} // namespace
} // namespace quill::test
