// The program itself, started as the user starts it, in a real working directory.
#include "TempDir.h"

#include <QProcess>

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <fstream>
#include <optional>

#include <sched.h>
#include <sys/mount.h>

namespace quill::test {
namespace {

    namespace asio = boost::asio;
    namespace fs = std::filesystem;
    constexpr char kLogged[] = "IP: 198.18.0.7, SN: SN123, MAC: 00-11-22-33-44-55";
    constexpr char kCannotWrite[] = "log file cannot be written";

    std::size_t Count(const std::string& text, const std::string& part)
    {
        std::size_t count = 0;
        for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
            ++count;
        return count;
    }

    // Why the program cannot run here: its listener needs the discovery port.
    std::string DiscoveryPortBusy()
    {
        asio::io_context io;
        asio::ip::udp::socket socket(io);
        boost::system::error_code error;
        socket.open(asio::ip::udp::v4(), error);
        if (!error)
            socket.bind({ asio::ip::udp::v4(), 1334 }, error);
        return error ? "UDP port 1334 is in use here (" + error.message() + ")" : std::string();
    }

    // One run in dir: a camera answers on loopback until the program has
    // logged the answer twice to std::clog, then the session asks it to end.
    // Returns what the program wrote to stderr.
    std::string RunUntilSignalled(const fs::path& dir, int signal)
    {
        QProcess program;
        program.setWorkingDirectory(QString::fromStdString(dir.string()));
        program.setReadChannel(QProcess::StandardError);
        program.start(QStringLiteral(QUILLSCOPE_PROGRAM), {});
        EXPECT_TRUE(program.waitForStarted(30000));
        asio::io_context io;
        asio::ip::udp::socket camera(io, { asio::ip::make_address_v4("127.0.0.1"), 0 });
        const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        std::string errors;
        while (Count(errors, kLogged) < 2 && std::chrono::steady_clock::now() < limit
            && program.state() == QProcess::Running) {
            camera.send_to(asio::buffer(std::string("198.18.0.7 SN123 00-11-22-33-44-55 cam1 1.0.0")),
                { asio::ip::make_address_v4("127.0.0.1"), 1334 });
            program.waitForReadyRead(200); // paces the answers: it returns early on output
            errors += program.readAllStandardError().toStdString();
        }
        EXPECT_GE(Count(errors, kLogged), 2u) << "the program did not log the answer: " << errors;
        if (program.state() == QProcess::Running) {
            EXPECT_EQ(::kill(static_cast<pid_t>(program.processId()), signal), 0);
        }
        EXPECT_TRUE(program.state() == QProcess::NotRunning || program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        return errors + program.readAllStandardError().toStdString();
    }

    // A tmpfs on dir, in a mount namespace of this process's own so that
    // nothing outside the test sees it; unmounted when the object goes.
    struct TestMount {
        TestMount(const fs::path& dir, unsigned long flags)
            : dir(dir)
        {
            static const bool privateMounts = ::unshare(CLONE_NEWNS) == 0
                && ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
            if (!privateMounts || ::mount("tmpfs", dir.c_str(), "tmpfs", flags, "size=64k") != 0)
                error = std::strerror(errno);
        }
        ~TestMount()
        {
            if (error.empty())
                ::umount2(dir.c_str(), MNT_DETACH);
        }
        fs::path dir;
        std::string error; // why the mount failed (it needs root), or empty
    };

    TEST(ProgramRun, HelpNeedsNoDisplayAndQtKeepsItsOwnOptions)
    {
        TempDir dir;
        QProcess program;
        program.setWorkingDirectory(QString::fromStdString(dir.path().string()));
        program.start(QStringLiteral(QUILLSCOPE_PROGRAM), { "--help", "-platform", "nosuchplatform" });
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_TRUE(program.readAllStandardOutput().startsWith("Usage: quillscope")) << "before Qt starts";
        // Qt reads -platform: one that does not exist stops it, by name.
        program.start(QStringLiteral(QUILLSCOPE_PROGRAM), { "-platform", "nosuchplatform" });
        ASSERT_TRUE(program.waitForFinished(20000));
        EXPECT_TRUE(program.exitStatus() == QProcess::CrashExit || program.exitCode() != 0);
        EXPECT_TRUE(program.readAllStandardError().contains("nosuchplatform"));
    }

    // In a fresh directory it ends in order when the session asks, with its last
    // log file moved into "logs"; elsewhere it says once why the log file
    // cannot be written, and runs and ends as well.
    TEST(ProgramRun, EndsInOrderWhenAskedAndALogFileThatCannotBeWrittenIsToldOnceWithWhy)
    {
        if (const std::string busy = DiscoveryPortBusy(); !busy.empty())
            GTEST_SKIP() << busy;
        const struct {
            const char* place;
            int signal;
            std::optional<unsigned long> tmpfs; // the flags of a tmpfs on the working directory
            const char* why; // nullptr: the log file is written
        } places[] = {
            { "fresh directory", SIGTERM, std::nullopt, nullptr },
            { "fresh directory", SIGINT, std::nullopt, nullptr },
            { "\"logs\" is a file", SIGTERM, std::nullopt, "logs" },
            { "read-only directory", SIGTERM, MS_RDONLY, "Read-only file system" },
            { "full disk", SIGTERM, 0, "No space left on device" },
        };
        for (const auto& place : places) {
            SCOPED_TRACE(place.place + std::string(place.signal == SIGINT ? ", SIGINT" : ""));
            TempDir dir;
            std::optional<TestMount> mount;
            if (place.tmpfs && !mount.emplace(dir.path(), *place.tmpfs).error.empty()) {
                std::cout << "[  SKIPPED ] " << place.place << ": needs root for a tmpfs (" << mount->error
                          << ")\n";
                continue;
            }
            if (place.why && !place.tmpfs)
                WriteWholeFile(dir.file("logs"), "in the way");
            if (place.tmpfs == 0ul) {
                std::ofstream filler(dir.file("filler"), std::ios::binary);
                for (int i = 0; i < 32 && filler.write(std::string(4096, 'x').data(), 4096).flush(); ++i) { }
            }
            const std::string errors = RunUntilSignalled(dir.path(), place.signal);
            EXPECT_EQ(Count(errors, kCannotWrite), place.why ? 1u : 0u) << errors;
            EXPECT_FALSE(fs::exists(dir.file("Config.ini")));
            if (place.why) {
                const std::size_t told = std::min(errors.find(kCannotWrite), errors.size());
                EXPECT_NE(
                    errors.substr(told, errors.find('\n', told) - told).find(place.why), std::string::npos);
                continue;
            }
            std::vector<fs::path> files;
            for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
                if (entry.path().filename().string().starts_with("Tessory Tool_"))
                    files.push_back(entry.path());
            ASSERT_EQ(files.size(), 1u);
            EXPECT_EQ(files[0].parent_path(), dir.file("logs")) << "the last log file stayed out of \"logs\"";
            EXPECT_EQ(Count(ReadWholeFile(files[0]), kLogged), Count(errors, kLogged)); // the same records
        }
    }

} // namespace
} // namespace quill::test
