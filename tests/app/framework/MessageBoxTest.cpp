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

namespace {

// Closes the next message box that opens with its OK button and notes what it looked like.
struct BoxCloser {
    BoxCloser()
    {
        QObject::connect(&poll, &QTimer::timeout, [this] {
            if (QMessageBox* box = FindOpenMessageBox()) {
                seen = box->windowTitle() + "|" + box->text() + "|" + QString::number(box->buttons().size())
                    + (box->isModal() ? "|modal" : "") + (box->thread() == qApp->thread() ? "|ui" : "");
                poll.stop();
                box->button(QMessageBox::Ok)->click();
            }
        });
        poll.start(5);
    }
    QTimer poll;
    QString seen;
};

} // namespace

TEST(MessageBox, ShownOnTheUiThreadForAWorkerThatWaits)
{
    QObject context;
    const UiHandOff handOff(&context);
    for (const bool ownHandOff : { true, false }) {
        BoxCloser closer;
        std::atomic<int> result { -1 };
        WorkerThread worker([&] {
            result = ownHandOff ? AfxMessageBox(handOff, QStringLiteral("Port conflict!\n"))
                                : AfxMessageBox(QStringLiteral("Chrome does not exist!"));
        });
        ASSERT_TRUE(worker.WaitProcessingEvents());
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(closer.seen,
            ownHandOff ? QStringLiteral("Quillscope|Port conflict!\n|1|modal|ui")
                       : QStringLiteral("Quillscope|Chrome does not exist!|1|modal|ui"));
        EXPECT_EQ(FindOpenMessageBox(), nullptr);
    }
}

TEST(MessageBox, OnTheUiThreadItBlocksUntilClosed)
{
    BoxCloser closer;
    EXPECT_EQ(AfxMessageBox(QStringLiteral("Chrome does not exist!")), IDOK);
    EXPECT_FALSE(closer.seen.isEmpty());
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
