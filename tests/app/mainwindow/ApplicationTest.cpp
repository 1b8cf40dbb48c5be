#include "CQuillscopeApp.h"
#include "MainWindowFixture.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <csignal>

namespace quill::test {
namespace {

    class Application : public MainWindowTest { };

    TEST_F(Application, RunsTheMainWindowModallyUntilItIsClosed)
    {
        CQuillscopeApp app(
            TestParts(TableOf({ MadeUpAdapter({ "10", "0", "5", "77" }, "255.0.0.0", "", "") })));
        EXPECT_EQ(QApplication::applicationName(), QStringLiteral("Quillscope"));
        EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("quillscope"));
        EXPECT_EQ(app.MainWindow(), nullptr);

        QPointer<CZeruruDlg> seen;
        QPointer<CSearchPage> searchPage;
        bool wasVisible = false;
        QTimer::singleShot(0, [&] {
            seen = app.MainWindow();
            if (!seen)
                return;
            searchPage = seen->SearchPage();
            wasVisible = seen->isVisible();
            seen->SendMessage(WM_CLOSE);
        });
        // Bounded: whatever happens above, the run ends.
        QTimer::singleShot(10000, [&] {
            if (app.MainWindow())
                app.MainWindow()->EndDialog(IDOK);
        });

        EXPECT_TRUE(app.InitInstance());
        EXPECT_EQ(app.ExitInstance(), 0);
        EXPECT_TRUE(wasVisible);
        EXPECT_TRUE(searchPage.isNull()) << "the pages go with the main window";
        EXPECT_TRUE(seen.isNull());
        EXPECT_EQ(app.MainWindow(), nullptr);
        EXPECT_EQ(QCoreApplication::organizationName(), QStringLiteral("Local Quillscope"));
        EXPECT_FALSE(QApplication::windowIcon().isNull());
        EXPECT_FALSE(ConfigExists());
    }

    class ApplicationSignals : public Application, public ::testing::WithParamInterface<int> { };

    TEST_P(ApplicationSignals, TerminationSignalClosesTheMainWindowInOrder)
    {
        const int signal = GetParam();
        CQuillscopeApp app(TestParts(TableOf({})));
        QPointer<CSearchPage> searchPage;
        bool raised = false;
        QTimer::singleShot(0, [&] {
            if (!app.MainWindow())
                return;
            searchPage = app.MainWindow()->SearchPage();
            raised = ::raise(signal) == 0;
        });
        QTimer::singleShot(10000, [&] {
            if (app.MainWindow())
                app.MainWindow()->EndDialog(IDOK);
        });

        EXPECT_TRUE(app.InitInstance());
        EXPECT_TRUE(raised);
        EXPECT_TRUE(searchPage.isNull());
        // Outside the run the signal has its default meaning again.
        struct sigaction current { };
        ASSERT_EQ(::sigaction(signal, nullptr, &current), 0);
        EXPECT_EQ(current.sa_handler, SIG_DFL);
    }

    INSTANTIATE_TEST_SUITE_P(Application, ApplicationSignals, ::testing::Values(SIGTERM, SIGINT),
        [](const ::testing::TestParamInfo<int>& info) {
            return std::string(info.param == SIGTERM ? "SIGTERM" : "SIGINT");
        });

} // namespace
} // namespace quill::test
