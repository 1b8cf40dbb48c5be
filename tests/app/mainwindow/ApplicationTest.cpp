#include "CQuillscopeApp.h"
#include "MainWindowFixture.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

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

} // namespace
} // namespace quill::test
