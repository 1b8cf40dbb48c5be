// The blocking hand-off from workers to the UI thread: results and exceptions
// come back, and no waiter hangs once the hand-off is closed, its context gone
// or the event loop ended. Where a worker may reach its wait before or after
// the release, both orders must give one outcome.
#include "UiHandOff.h"
#include "CDialogBase.h"
#include "Wait.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace quill::test;

namespace {

constexpr UINT kQuestion = WM_APP + 10;
constexpr UINT kFinish = WM_APP + 11;

class AnsweringDialog : public CDialogBase {
public:
    AnsweringDialog()
        : CDialogBase(DialogTemplate { 140, QSize(100, 50), QString(), QString(), 8, {} })
    {
        MapMessage(kQuestion, [this](WPARAM, LPARAM) -> LRESULT { return ++handled; });
        MapMessage(kFinish, [this](WPARAM, LPARAM) -> LRESULT {
            EndDialog(IDOK);
            return 1;
        });
    }
    std::atomic<int> handled { 0 };
};

} // namespace

// On the UI thread Run() calls at once and Post() queues, in order.
TEST(UiHandOff, WorkersGetResultsAndExceptionsFromTheUiThreadOneCallAtATime)
{
    QObject context;
    const UiHandOff handOff(&context);
    int total = 0; // touched on the UI thread only
    std::atomic<int> succeeded { 0 }, caught { 0 }, elsewhere { 0 };
    const auto count = [&] { return (elsewhere += QThread::currentThread() != qApp->thread()), ++total; };
    auto work = [&] {
        for (int i = 0; i < 200; ++i)
            succeeded += handOff.Run(count).has_value();
        try {
            handOff.Run([]() -> int { throw std::runtime_error("list gone"); });
        } catch (const std::runtime_error& error) {
            caught += std::string(error.what()) == "list gone";
        }
    };
    TestThread first(work), second(work);
    std::vector<int> order;
    EXPECT_TRUE(handOff.Post([&] { order.push_back(1); }) && handOff.Post([&] { order.push_back(2); }));
    EXPECT_EQ(handOff.Run(count), std::optional<int>(1));
    EXPECT_TRUE(order.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return first.Done() && second.Done(); }, 20000));
    EXPECT_EQ(total, 401);
    EXPECT_EQ(succeeded, 400);
    EXPECT_EQ(caught, 2);
    EXPECT_EQ(elsewhere, 0);
    EXPECT_EQ(order, std::vector<int>({ 1, 2 }));
}

// Shutdown order: tell the workers to stop, then join without turning the
// loop. A waiting worker is released and its queued call never runs; later
// calls through the closed hand-off (or a copy) are refused at once.
TEST(UiHandOff, CloseOrDestroyedContextReleasesAWaiterWhileTheUiThreadJoins)
{
    for (const bool destroyContext : { false, true }) {
        auto context = std::make_unique<QObject>();
        const UiHandOff handOff(context.get());
        std::atomic<bool> asking { false }, bodyRan { false };
        std::optional<int> answer = 0, later = 0;
        bool posted = true;
        TestThread worker([&] {
            asking = true;
            answer = handOff.Run([&] { return bodyRan = true; });
            later = handOff.Run([] { return 2; });
            posted = handOff.Post([] {});
        });
        ASSERT_TRUE(WaitUntil([&] { return asking.load(); }));
        UiHandOff(handOff).Close();
        if (destroyContext)
            context.reset(); // discards the queued call
        ASSERT_TRUE(worker.Finished());
        EXPECT_FALSE(answer || later || posted);
        QCoreApplication::processEvents();
        EXPECT_FALSE(bodyRan);
        EXPECT_EQ(handOff.Run([] { return 8; }), std::optional<int>(8)); // the UI thread never waits
    }
}

TEST(CrossThreadMessages, SentFromAWorkerEndsTheModalLoopAndNoWaiterHangsOnceItHasEnded)
{
    AnsweringDialog dialog;
    std::atomic<bool> modalReturned { false }, asking { false };
    LRESULT first = -1, second = -1;
    std::unique_ptr<TestThread> worker;
    QTimer::singleShot(0, &dialog, [&] {
        worker = std::make_unique<TestThread>([&] {
            first = dialog.SendMessage(kFinish); // runs on the UI thread and ends the modal loop
            if (!WaitUntil([&] { return modalReturned.load(); }))
                return;
            asking = true;
            second = dialog.SendMessage(kQuestion, 3, 0); // nobody turns the loop any more
        });
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    modalReturned = true;
    ASSERT_NE(worker, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return asking.load(); }));
    dialog.HandOff().Close(); // the owner's shutdown: stop, then join
    ASSERT_TRUE(worker->Finished());
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(dialog.handled, 0);
}
