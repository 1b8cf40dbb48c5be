// The application object: the main window runs modally until it is closed,
// by its close button or by a termination signal, and takes its pages along.
#include "CQuillscopeApp.h"
#include "MainWindowFixture.h"

#include <QApplication>
#include <QPointer>
#include <QTimer>

#include <csignal>

namespace quill::test {
namespace {

    // Runs the application; at the first turn of its loop `act` gets the main
    // window. Bounded: whatever happens, the run ends.
    template <typename Act> QPointer<CSearchPage> RunWith(CQuillscopeApp& app, Act act)
    {
        QPointer<CSearchPage> searchPage;
        QTimer::singleShot(0, [&] {
            if (CZeruruDlg* window = app.MainWindow()) {
                searchPage = window->SearchPage();
                act(*window);
            }
        });
        QTimer::singleShot(10000, [&] {
            if (app.MainWindow())
                app.MainWindow()->EndDialog(IDOK);
        });
        EXPECT_TRUE(app.InitInstance());
        return searchPage;
    }

    class Application : public MainWindowTest { };

    TEST_F(Application, RunsTheMainWindowModallyUntilItIsClosed)
    {
        CQuillscopeApp app(TestParts(TableOf({ MadeUpAdapter({ "10", "0", "5", "77" }, "255.0.0.0") })));
        EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Quillscope"));
        EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("quillscope"));
        bool wasVisible = false;
        QPointer<CSearchPage> searchPage = RunWith(app, [&](CZeruruDlg& window) {
            wasVisible = window.isVisible();
            window.SendMessage(WM_CLOSE);
        });
        EXPECT_EQ(app.ExitInstance(), 0);
        EXPECT_TRUE(wasVisible);
        EXPECT_TRUE(searchPage.isNull()) << "the pages go with the main window";
        EXPECT_EQ(app.MainWindow(), nullptr);
        EXPECT_EQ(QCoreApplication::organizationName(), QStringLiteral("Local Quillscope"));
        EXPECT_FALSE(QApplication::windowIcon().isNull());
        EXPECT_FALSE(ConfigExists());
    }

    TEST_F(Application, TerminationSignalClosesTheMainWindowInOrder)
    {
        for (const int signal : { SIGTERM, SIGINT }) {
            SCOPED_TRACE(signal);
            CQuillscopeApp app(TestParts(TableOf({})));
            bool raised = false;
            EXPECT_TRUE(RunWith(app, [&](CZeruruDlg&) { raised = ::raise(signal) == 0; }).isNull());
            EXPECT_TRUE(raised);
            // Outside the run the signal has its default meaning again.
            struct sigaction current { };
            ASSERT_EQ(::sigaction(signal, nullptr, &current), 0);
            EXPECT_EQ(current.sa_handler, SIG_DFL);
        }
    }

} // namespace
} // namespace quill::test
