// The blocking hand-off from worker threads to the UI thread: results come
// back, calls run on the UI thread, and no waiter is left hanging when the
// hand-off is closed, the window dies or the event loop has ended.
#include "UiHandOff.h"
#include "CDialogBase.h"
#include "WindowHandle.h"
#include "WorkerThread.h"

#include <QCoreApplication>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

constexpr UINT kQuestion = WM_APP + 10;
constexpr UINT kFinish = WM_APP + 11;

// Gives a worker time to reach its wait. Only a pause, never an assertion:
// a worker that is slower simply finds the hand-off already closed, which
// the tests accept as the same outcome.
void LetWorkerBlock()
{
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
}

class AnsweringDialog : public CDialogBase {
public:
    AnsweringDialog()
        : CDialogBase(DialogTemplate { 140, QSize(100, 50), QString(), QString(), 8, {} })
    {
        MapMessage(kQuestion, [this](WPARAM w, LPARAM) -> LRESULT {
            handledOn = QThread::currentThread();
            ++handled;
            return static_cast<LRESULT>(w * 2);
        });
        MapMessage(kFinish, [this](WPARAM, LPARAM) -> LRESULT {
            EndDialog(IDOK);
            return 1;
        });
    }
    std::atomic<QThread*> handledOn { nullptr };
    std::atomic<int> handled { 0 };
};

} // namespace

TEST(UiHandOff, WorkerGetsTheResultComputedOnTheUiThread)
{
    QObject context;
    const UiHandOff handOff(&context);
    std::atomic<QThread*> ranOn { nullptr };
    std::optional<std::string> answer;
    WorkerThread worker([&] {
        answer = handOff.Run([&] {
            ranOn = QThread::currentThread();
            return std::string("rows: 3");
        });
    });
    ASSERT_TRUE(worker.WaitProcessingEvents());
    ASSERT_TRUE(answer.has_value());
    EXPECT_EQ(*answer, "rows: 3");
    EXPECT_EQ(ranOn.load(), QCoreApplication::instance()->thread());
}

TEST(UiHandOff, VoidCallsReportThatTheyRan)
{
    QObject context;
    const UiHandOff handOff(&context);
    int counter = 0;
    std::atomic<bool> ran { false };
    WorkerThread worker([&] { ran = handOff.Run([&] { ++counter; }); });
    ASSERT_TRUE(worker.WaitProcessingEvents());
    EXPECT_TRUE(ran);
    EXPECT_EQ(counter, 1);
}

TEST(UiHandOff, OnTheUiThreadRunsAtOnceWithoutTheLoop)
{
    QObject context;
    const UiHandOff handOff(&context);
    EXPECT_TRUE(handOff.IsUiThread());
    EXPECT_EQ(handOff.Run([] { return 7; }), std::optional<int>(7));
    handOff.Close();
    // Closing concerns waiting threads only: the UI thread never waits.
    EXPECT_EQ(handOff.Run([] { return 8; }), std::optional<int>(8));
}

TEST(UiHandOff, ExceptionsTravelBackToTheWorker)
{
    QObject context;
    const UiHandOff handOff(&context);
    std::string caught;
    WorkerThread worker([&] {
        try {
            handOff.Run([]() -> int { throw std::runtime_error("list gone"); });
        } catch (const std::runtime_error& error) {
            caught = error.what();
        }
    });
    ASSERT_TRUE(worker.WaitProcessingEvents());
    EXPECT_EQ(caught, "list gone");
}

TEST(UiHandOff, ManyWorkersAreServedOneAtATime)
{
    QObject context;
    const UiHandOff handOff(&context);
    int total = 0; // touched on the UI thread only
    constexpr int kWorkers = 4;
    constexpr int kCalls = 200;
    std::atomic<int> succeeded { 0 };
    std::vector<std::unique_ptr<WorkerThread>> workers;
    for (int w = 0; w < kWorkers; ++w) {
        workers.push_back(std::make_unique<WorkerThread>([&] {
            for (int i = 0; i < kCalls; ++i) {
                if (handOff.Run([&] { return ++total; }))
                    ++succeeded;
            }
        }));
    }
    for (auto& worker : workers)
        ASSERT_TRUE(worker->WaitProcessingEvents(20000));
    EXPECT_EQ(total, kWorkers * kCalls);
    EXPECT_EQ(succeeded, kWorkers * kCalls);
}

TEST(UiHandOff, CloseReleasesAWaiterWhileTheUiThreadJoins)
{
    QObject context;
    const UiHandOff handOff(&context);
    std::atomic<bool> started { false };
    std::atomic<bool> bodyRan { false };
    std::optional<int> answer = 0;
    WorkerThread worker([&] {
        started = true;
        answer = handOff.Run([&] {
            bodyRan = true;
            return 1;
        });
    });
    while (!started)
        std::this_thread::yield();
    LetWorkerBlock();

    // Shutdown order: tell the worker to stop, then join without turning the loop.
    handOff.Close();
    ASSERT_TRUE(worker.WaitBlocking());
    EXPECT_FALSE(answer.has_value());

    // The queued call is still in the event queue; it must not run now that
    // its requester has gone.
    QCoreApplication::processEvents();
    EXPECT_FALSE(bodyRan);
}

TEST(UiHandOff, ClosedHandOffRefusesAtOnce)
{
    QObject context;
    const UiHandOff handOff(&context);
    const UiHandOff copy = handOff;
    copy.Close();
    EXPECT_TRUE(handOff.IsClosed());
    std::optional<int> answer = 0;
    bool posted = true;
    WorkerThread worker([&] {
        answer = handOff.Run([] { return 1; });
        posted = handOff.Post([] {});
    });
    ASSERT_TRUE(worker.WaitBlocking());
    EXPECT_FALSE(answer.has_value());
    EXPECT_FALSE(posted);
}

TEST(UiHandOff, DestroyedContextReleasesTheWaiter)
{
    auto context = std::make_unique<QObject>();
    const UiHandOff handOff(context.get());
    std::atomic<bool> started { false };
    std::atomic<bool> bodyRan { false };
    bool ran = true;
    WorkerThread worker([&] {
        started = true;
        ran = handOff.Run([&] { bodyRan = true; });
    });
    while (!started)
        std::this_thread::yield();
    LetWorkerBlock();
    handOff.Close();
    context.reset(); // discards the queued call
    ASSERT_TRUE(worker.WaitBlocking());
    EXPECT_FALSE(ran);
    QCoreApplication::processEvents();
    EXPECT_FALSE(bodyRan);
}

TEST(UiHandOff, PostedCallsRunLaterInOrder)
{
    QObject context;
    const UiHandOff handOff(&context);
    std::vector<int> order;
    EXPECT_TRUE(handOff.Post([&] { order.push_back(1); }));
    EXPECT_TRUE(handOff.Post([&] { order.push_back(2); }));
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() == 2; }, 2000));
    EXPECT_EQ(order, std::vector<int>({ 1, 2 }));
}

TEST(CrossThreadMessages, SentFromAWorkerRunsOnTheUiThread)
{
    AnsweringDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    LRESULT viaPointer = 0;
    LRESULT viaHandle = 0;
    const WindowHandle handle = dialog.GetSafeHandle();
    WorkerThread worker([&] {
        viaPointer = dialog.SendMessage(kQuestion, 21, 0);
        viaHandle = handle.SendMessage(kQuestion, 50, 0);
    });
    ASSERT_TRUE(worker.WaitProcessingEvents());
    EXPECT_EQ(viaPointer, 42);
    EXPECT_EQ(viaHandle, 100);
    EXPECT_EQ(dialog.handledOn.load(), QCoreApplication::instance()->thread());
    EXPECT_EQ(dialog.handled, 2);
}

TEST(CrossThreadMessages, PostedFromAWorkerThroughTheHandle)
{
    AnsweringDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    const WindowHandle handle = dialog.GetSafeHandle();
    bool posted = false;
    WorkerThread worker([&] { posted = handle.PostMessage(kQuestion, 1, 0); });
    ASSERT_TRUE(worker.WaitBlocking());
    EXPECT_TRUE(posted);
    EXPECT_EQ(dialog.handled, 0); // not before the loop turns
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.handled == 1; }, 2000));
}

TEST(CrossThreadMessages, WindowDestroyedWhileAWorkerWaits)
{
    auto dialog = std::make_unique<AnsweringDialog>();
    ASSERT_TRUE(dialog->Create(nullptr));
    const WindowHandle handle = dialog->GetSafeHandle();
    std::atomic<bool> started { false };
    LRESULT answer = -1;
    WorkerThread worker([&] {
        started = true;
        answer = handle.SendMessage(kQuestion, 5, 0);
    });
    while (!started)
        std::this_thread::yield();
    LetWorkerBlock();
    dialog.reset();
    ASSERT_TRUE(worker.WaitBlocking());
    EXPECT_EQ(answer, 0);
    // Later messages through the handle go nowhere, without waiting.
    EXPECT_EQ(handle.SendMessage(kQuestion, 5, 0), 0);
    EXPECT_FALSE(handle.PostMessage(kQuestion, 5, 0));
}

TEST(CrossThreadMessages, NoHangWhenTheModalLoopHasEndedWhileAWorkerWaits)
{
    AnsweringDialog dialog;
    const WindowHandle handle = dialog.GetSafeHandle();
    std::atomic<bool> modalReturned { false };
    std::atomic<bool> secondStarted { false };
    LRESULT first = -1;
    LRESULT second = -1;
    std::unique_ptr<WorkerThread> worker;
    QTimer::singleShot(0, &dialog, [&] {
        worker = std::make_unique<WorkerThread>([&] {
            first = handle.SendMessage(kFinish); // ends the modal loop
            while (!modalReturned)
                std::this_thread::yield();
            secondStarted = true;
            second = handle.SendMessage(kQuestion, 3, 0); // nobody turns the loop any more
        });
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    modalReturned = true;
    ASSERT_NE(worker, nullptr);
    while (!secondStarted)
        std::this_thread::yield();
    LetWorkerBlock();

    dialog.HandOff().Close(); // the owner's shutdown: stop, then join
    ASSERT_TRUE(worker->WaitBlocking());
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.handled, 0);
}
