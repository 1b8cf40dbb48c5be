#pragma once
// Runs a callable on the user-interface thread while the requesting thread
// waits for it. Written by hand instead of Qt::BlockingQueuedConnection because
// that one deadlocks when the UI thread is itself waiting for the worker
// (a join at shutdown) and cannot be called from the UI thread: here the UI
// thread runs the callable directly, and Close() releases every waiter with
// "not run" so that the shutdown order "Close, then join" never hangs.
#include <QObject>

#include <condition_variable>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <type_traits>
#include <utility>

class QThread;

namespace handoff_detail {

// What one hand-off went through; guarded by SharedState::mutex.
enum class Stage { Queued, Running, Finished, Dropped };

struct Call {
    Stage stage = Stage::Queued;
    std::function<void()> body; // valid while the requester waits
    std::exception_ptr failure;
};

struct SharedState {
    explicit SharedState(QObject* context);
    QObject* const uiContext;
    QThread* const uiThread; // kept apart: a worker may ask after the context is gone
    // Held while posting, so that Close() cannot let the context die between
    // the closed check and the post.
    std::mutex postMutex;
    std::mutex mutex;
    std::condition_variable changed;
    bool closed = false; // written under both mutexes
};

// Posts the call to the UI thread; false when the hand-off is closed.
bool Post(const std::shared_ptr<SharedState>& state, const std::shared_ptr<Call>& call);

struct Outcome {
    bool ran = false;
    std::exception_ptr failure; // taken out of the call, so it dies on the waiting thread
};
// Waits until the call finished or was dropped.
Outcome Wait(SharedState& state, Call& call);

} // namespace handoff_detail

// What Run() gives back: for a callable returning R an optional R (empty when
// the call did not run), for a void callable whether it ran.
template <class R>
using HandOffResult = std::conditional_t<std::is_void_v<R>, bool, std::optional<std::decay_t<R>>>;

class UiHandOff {
public:
    // Calls run on the thread of uiContext, which must outlive every Run()
    // that can post to it: close the hand-off before destroying the context.
    explicit UiHandOff(QObject* uiContext);

    // Copies share one state: closing any copy closes them all. Workers keep
    // a copy so the hand-off outlives the window that made it.
    UiHandOff(const UiHandOff&) = default;
    UiHandOff& operator=(const UiHandOff&) = default;

    // On the UI thread the callable runs at once (even after Close()).
    // From another thread it runs on the UI thread while this thread waits;
    // it does not run when the hand-off is closed first, or when its posted
    // call is discarded (the context destroyed). An exception thrown by the
    // callable is rethrown here.
    template <class F> auto Run(F&& callable) const -> HandOffResult<std::invoke_result_t<F&>>;

    // Queues the callable for the UI thread and returns at once, from any
    // thread; false (and never run) when the hand-off is closed.
    bool Post(std::function<void()> callable) const;

    // Refuses new calls and releases every waiter whose call has not started;
    // a call already running on the UI thread finishes first. Any thread.
    void Close() const;
    bool IsUiThread() const;

private:
    std::shared_ptr<handoff_detail::SharedState> m_state;
};

template <class F> auto UiHandOff::Run(F&& callable) const -> HandOffResult<std::invoke_result_t<F&>>
{
    using R = std::invoke_result_t<F&>;
    if (IsUiThread()) {
        if constexpr (std::is_void_v<R>) {
            callable();
            return true;
        } else {
            return HandOffResult<R>(callable());
        }
    }

    auto call = std::make_shared<handoff_detail::Call>();
    HandOffResult<R> result {};
    call->body = [&callable, &result] {
        if constexpr (std::is_void_v<R>) {
            callable();
            result = true;
        } else {
            result.emplace(callable());
        }
    };
    if (!handoff_detail::Post(m_state, call))
        return HandOffResult<R> {};
    const handoff_detail::Outcome outcome = handoff_detail::Wait(*m_state, *call);
    if (outcome.failure)
        std::rethrow_exception(outcome.failure);
    return result;
}
