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

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>

namespace {

constexpr UINT kQuestion = WM_APP + 10;
constexpr UINT kFinish = WM_APP + 11;

// Starts a worker and gives it time to reach its wait. Only a pause, never an
// assertion: a slower worker finds the hand-off already closed, which the
// tests accept as the same outcome.
std::unique_ptr<WorkerThread> StartBlockedWorker(std::function<void()> body)
{
    std::atomic<bool> started { false };
    auto worker = std::make_unique<WorkerThread>([&started, body = std::move(body)] {
        started = true;
        body();
    });
    while (!started)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return worker;
}

class AnsweringDialog : public CDialogBase {
public:
    AnsweringDialog()
        : CDialogBase(DialogTemplate { 140, QSize(100, 50), QString(), QString(), 8, {} })
    {
        MapMessage(kQuestion, [this](WPARAM w, LPARAM) -> LRESULT {
            onUiThread = QThread::currentThread() == qApp->thread();
            ++handled;
            return static_cast<LRESULT>(w * 2);
        });
        MapMessage(kFinish, [this](WPARAM, LPARAM) -> LRESULT {
            EndDialog(IDOK);
            return 1;
        });
    }
    std::atomic<bool> onUiThread { false };
    std::atomic<int> handled { 0 };
};

} // namespace

TEST(UiHandOff, WorkerGetsResultsAndExceptionsFromTheUiThread)
{
    QObject context;
    const UiHandOff handOff(&context);
    std::atomic<bool> onUiThread { false };
    std::optional<std::string> answer;
    bool voidRan = false;
    std::string caught;
    WorkerThread worker([&] {
        answer = handOff.Run([&] {
            onUiThread = QThread::currentThread() == qApp->thread();
            return std::string("rows: 3");
        });
        voidRan = handOff.Run([] {});
        try {
            handOff.Run([]() -> int { throw std::runtime_error("list gone"); });
        } catch (const std::runtime_error& error) {
            caught = error.what();
        }
    });
    ASSERT_TRUE(worker.WaitProcessingEvents());
    EXPECT_EQ(answer, std::optional<std::string>("rows: 3"));
    EXPECT_TRUE(onUiThread);
    EXPECT_TRUE(voidRan);
    EXPECT_EQ(caught, "list gone");
}

TEST(UiHandOff, OnTheUiThreadRunRunsAtOnceEvenWhenClosedAndPostRunsLaterInOrder)
{
    QObject context;
    const UiHandOff handOff(&context);
    std::vector<int> order;
    EXPECT_TRUE(handOff.Post([&] { order.push_back(1); }));
    EXPECT_TRUE(handOff.Post([&] { order.push_back(2); }));
    EXPECT_EQ(handOff.Run([] { return 7; }), std::optional<int>(7));
    EXPECT_TRUE(order.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() == 2; }, 2000));
    EXPECT_EQ(order, std::vector<int>({ 1, 2 }));
    handOff.Close(); // closing concerns waiting threads only: the UI thread never waits
    EXPECT_EQ(handOff.Run([] { return 8; }), std::optional<int>(8));
}

TEST(UiHandOff, ManyWorkersAreServedOneAtATime)
{
    QObject context;
    const UiHandOff handOff(&context);
    int total = 0; // touched on the UI thread only
    std::atomic<int> succeeded { 0 };
    std::vector<std::unique_ptr<WorkerThread>> workers;
    for (int w = 0; w < 4; ++w) {
        workers.push_back(std::make_unique<WorkerThread>([&] {
            for (int i = 0; i < 200; ++i)
                succeeded += handOff.Run([&] { return ++total; }).has_value() ? 1 : 0;
        }));
    }
    for (auto& worker : workers)
        ASSERT_TRUE(worker->WaitProcessingEvents(20000));
    EXPECT_EQ(total, 800);
    EXPECT_EQ(succeeded, 800);
}

// Shutdown order: tell the workers to stop, then join without turning the
// loop. A waiting worker is released and its queued call never runs; later
// calls through the closed hand-off (or a copy) are refused at once.
TEST(UiHandOff, CloseOrDestroyedContextReleasesAWaiterWhileTheUiThreadJoins)
{
    for (const bool destroyContext : { false, true }) {
        auto context = std::make_unique<QObject>();
        const UiHandOff handOff(context.get());
        std::atomic<bool> bodyRan { false };
        std::optional<int> answer = 0;
        std::optional<int> later = 0;
        bool posted = true;
        auto worker = StartBlockedWorker([&] {
            answer = handOff.Run([&] {
                bodyRan = true;
                return 1;
            });
            later = handOff.Run([] { return 2; });
            posted = handOff.Post([] {});
        });
        UiHandOff(handOff).Close();
        if (destroyContext)
            context.reset(); // discards the queued call
        ASSERT_TRUE(worker->WaitBlocking());
        EXPECT_TRUE(handOff.IsClosed());
        EXPECT_FALSE(answer.has_value());
        EXPECT_FALSE(later.has_value());
        EXPECT_FALSE(posted);
        QCoreApplication::processEvents();
        EXPECT_FALSE(bodyRan);
    }
}

TEST(CrossThreadMessages, SentFromAWorkerRunsOnTheUiThreadPostedRunsLater)
{
    AnsweringDialog dialog;
    ASSERT_TRUE(dialog.Create(nullptr));
    const WindowHandle handle = dialog.GetSafeHandle();
    LRESULT viaPointer = 0;
    LRESULT viaHandle = 0;
    WorkerThread worker([&] {
        viaPointer = dialog.SendMessage(kQuestion, 21, 0);
        viaHandle = handle.SendMessage(kQuestion, 50, 0);
    });
    ASSERT_TRUE(worker.WaitProcessingEvents());
    EXPECT_EQ(viaPointer, 42);
    EXPECT_EQ(viaHandle, 100);
    EXPECT_TRUE(dialog.onUiThread);

    bool posted = false;
    WorkerThread poster([&] { posted = handle.PostMessage(kQuestion, 1, 0); });
    ASSERT_TRUE(poster.WaitBlocking());
    EXPECT_TRUE(posted);
    EXPECT_EQ(dialog.handled, 2); // not before the loop turns
    EXPECT_TRUE(QTest::qWaitFor([&] { return dialog.handled == 3; }, 2000));
}

TEST(CrossThreadMessages, WindowDestroyedWhileAWorkerWaits)
{
    auto dialog = std::make_unique<AnsweringDialog>();
    ASSERT_TRUE(dialog->Create(nullptr));
    const WindowHandle handle = dialog->GetSafeHandle();
    LRESULT answer = -1;
    auto worker = StartBlockedWorker([&] { answer = handle.SendMessage(kQuestion, 5, 0); });
    dialog.reset();
    ASSERT_TRUE(worker->WaitBlocking());
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
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // lets the worker reach its wait

    dialog.HandOff().Close(); // the owner's shutdown: stop, then join
    ASSERT_TRUE(worker->WaitBlocking());
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.handled, 0);
}
