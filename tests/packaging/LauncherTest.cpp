// The menu launcher starts the program in $XDG_STATE_HOME/quillscope (by
// default ~/.local/state/quillscope), made on first start, so that Config.ini
// and the logs land there and nowhere else.
#include "FreePort.h"
#include "TempDir.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace quill::test {
namespace {

    namespace fs = std::filesystem;

    // The launcher as the build configures it, but starting the stand-in program.
    fs::path MakeLauncher(const fs::path& folder)
    {
        std::string text = ReadWholeFile(QUILL_LAUNCHER_TEMPLATE);
        const std::string placeholder = "@QUILL_PROGRAM_PATH@";
        text.replace(text.find(placeholder), placeholder.size(), QUILL_LAUNCHER_CHILD);
        const fs::path launcher = folder / "quillscope-launcher";
        std::ofstream(launcher) << text;
        fs::permissions(launcher, fs::perms::owner_all);
        return launcher;
    }

    // The program's own files (settings and logs) below folder, relative to it.
    // Libraries may leave caches of their own in the home folder.
    std::set<std::string> ProgramFilesBelow(const fs::path& folder)
    {
        std::set<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder)) {
            const std::string name = entry.path().filename().string();
            if (name == "Config.ini" || name.starts_with("Tessory Tool_"))
                files.insert(fs::relative(entry.path(), folder).string());
        }
        return files;
    }

    struct StateHomeCase {
        const char* name;
        const char* xdgStateHome; // nullptr: unset
        bool belowHome; // XDG_STATE_HOME is home/xdgStateHome rather than the text itself
        const char* expectedFolder; // relative to home
    };

    TEST(Launcher, StartsTheProgramInThePerUserStateFolder)
    {
        const StateHomeCase cases[] = {
            { "XDG_STATE_HOME set", "state", true, "state/quillscope" },
            { "XDG_STATE_HOME unset", nullptr, false, ".local/state/quillscope" },
            { "XDG_STATE_HOME empty", "", false, ".local/state/quillscope" },
            { "XDG_STATE_HOME relative", "relative/state", false, ".local/state/quillscope" },
        };
        for (const StateHomeCase& c : cases) {
            SCOPED_TRACE(c.name);
            TempDir home;
            TempDir elsewhere; // the folder the desktop starts menu entries in
            TempDir tools;
            const fs::path launcher = MakeLauncher(tools.path());

            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("HOME"), QString::fromStdString(home.path().string()));
            environment.remove(QStringLiteral("XDG_STATE_HOME"));
            if (c.xdgStateHome) {
                const std::string value
                    = c.belowHome ? (home.path() / c.xdgStateHome).string() : std::string(c.xdgStateHome);
                environment.insert(QStringLiteral("XDG_STATE_HOME"), QString::fromStdString(value));
            }
            QProcess program;
            program.setProcessEnvironment(environment);
            program.setWorkingDirectory(QString::fromStdString(elsewhere.path().string()));
            program.setProcessChannelMode(QProcess::ForwardedChannels);
            program.start(QString::fromStdString(launcher.string()), { QString::number(FreeUdpPort()) });
            ASSERT_TRUE(program.waitForFinished(60000));
            ASSERT_EQ(program.exitCode(), 0);

            const fs::path state = home.path() / c.expectedFolder;
            EXPECT_EQ(fs::status(state).permissions() & fs::perms::all, fs::perms::owner_all);
            const std::set<std::string> files = ProgramFilesBelow(home.path());
            ASSERT_EQ(files.size(), 2u) << "Config.ini and one log file, nothing else";
            const std::string prefix = fs::path(c.expectedFolder).string() + "/";
            EXPECT_TRUE(files.contains(prefix + "Config.ini"));
            bool logged = false;
            for (const std::string& file : files)
                logged = logged || file.starts_with(prefix + "logs/Tessory Tool_");
            EXPECT_TRUE(logged);
            EXPECT_NE(ReadWholeFile(state / "Config.ini").find("LANG=1"), std::string::npos);
            EXPECT_TRUE(ProgramFilesBelow(elsewhere.path()).empty())
                << "nothing in the folder it was started from";
        }
    }

} // namespace
} // namespace quill::test
