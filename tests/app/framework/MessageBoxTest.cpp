// The application message box: caption, one OK button, modal, and shown on
// the UI thread when a worker asks for it while the worker waits.
#include "MessageBox.h"
#include "UiHandOff.h"
#include "WindowMessage.h"
#include "WorkerThread.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Closes the next message box that opens with its OK button and notes what
// it looked like.
class BoxCloser {
public:
    BoxCloser()
    {
        m_poll.setInterval(5);
        QObject::connect(&m_poll, &QTimer::timeout, [this] {
            QMessageBox* box = FindOpenMessageBox();
            if (!box)
                return;
            caption = box->windowTitle();
            text = box->text();
            buttonCount = static_cast<int>(box->buttons().size());
            modal = box->isModal();
            onUiThread = box->thread() == QCoreApplication::instance()->thread();
            m_poll.stop();
            if (QAbstractButton* ok = box->button(QMessageBox::Ok))
                ok->click();
        });
        m_poll.start();
    }
    bool Seen() const { return buttonCount > 0; }

    QString caption;
    QString text;
    int buttonCount = 0;
    bool modal = false;
    bool onUiThread = false;

private:
    QTimer m_poll;
};

} // namespace

TEST(MessageBox, ApplicationNameIsTheCaption)
{
    EXPECT_EQ(ApplicationName(), QStringLiteral("Quillscope"));
}

TEST(MessageBox, ShownOnTheUiThreadForAWorkerThatWaits)
{
    QObject context;
    const UiHandOff handOff(&context);
    BoxCloser closer;
    std::atomic<int> result { -1 };
    WorkerThread worker([&] { result = AfxMessageBox(handOff, QStringLiteral("Port conflict!\n")); });
    ASSERT_TRUE(worker.WaitProcessingEvents());
    ASSERT_TRUE(closer.Seen());
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(closer.caption, QStringLiteral("Quillscope"));
    EXPECT_EQ(closer.text, QStringLiteral("Port conflict!\n"));
    EXPECT_EQ(closer.buttonCount, 1);
    EXPECT_TRUE(closer.modal);
    EXPECT_TRUE(closer.onUiThread);
    EXPECT_EQ(FindOpenMessageBox(), nullptr);
}

TEST(MessageBox, ApplicationHandOffServesWorkersToo)
{
    BoxCloser closer;
    std::atomic<int> result { -1 };
    WorkerThread worker([&] { result = AfxMessageBox(QStringLiteral("Chrome does not exist!")); });
    ASSERT_TRUE(worker.WaitProcessingEvents());
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(closer.text, QStringLiteral("Chrome does not exist!"));
}

TEST(MessageBox, OnTheUiThreadItBlocksUntilClosed)
{
    BoxCloser closer;
    EXPECT_EQ(AfxMessageBox(QStringLiteral("Chrome does not exist!")), IDOK);
    EXPECT_TRUE(closer.Seen());
}

TEST(MessageBox, ClosedHandOffShowsNothing)
{
    QObject context;
    const UiHandOff handOff(&context);
    handOff.Close();
    std::atomic<int> result { -1 };
    WorkerThread worker([&] { result = AfxMessageBox(handOff, QStringLiteral("never shown")); });
    ASSERT_TRUE(worker.WaitBlocking());
    EXPECT_EQ(result, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(FindOpenMessageBox(), nullptr);
}
