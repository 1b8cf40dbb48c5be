#include "UiHandOff.h"

#include <QMetaObject>
#include <QThread>

namespace handoff_detail {

SharedState::SharedState(QObject* context)
    : uiContext(context)
    , uiThread(context->thread())
{
}

namespace {

    // The posted job. When Qt discards it unrun (its receiver destroyed, the
    // application torn down), its destructor releases the waiting thread.
    class Job {
    public:
        Job(std::shared_ptr<SharedState> state, std::shared_ptr<Call> call)
            : m_state(std::move(state))
            , m_call(std::move(call))
        {
        }
        Job(Job&&) noexcept = default;
        Job(const Job&) = delete;
        Job& operator=(const Job&) = delete;
        Job& operator=(Job&&) = delete;
        ~Job()
        {
            if (!m_call)
                return;
            std::lock_guard lock(m_state->mutex);
            if (m_call->stage == Stage::Queued) {
                m_call->stage = Stage::Dropped;
                m_state->changed.notify_all();
            }
        }

        void operator()()
        {
            {
                std::lock_guard lock(m_state->mutex);
                if (m_call->stage != Stage::Queued)
                    return; // the requester has given up and its stack is gone
                m_call->stage = Stage::Running;
            }
            std::exception_ptr failure;
            try {
                m_call->body();
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard lock(m_state->mutex);
            m_call->failure = std::move(failure);
            m_call->stage = Stage::Finished;
            m_state->changed.notify_all();
        }

    private:
        std::shared_ptr<SharedState> m_state;
        std::shared_ptr<Call> m_call;
    };

} // namespace

bool Post(const std::shared_ptr<SharedState>& state, const std::shared_ptr<Call>& call)
{
    std::lock_guard postLock(state->postMutex);
    {
        std::lock_guard lock(state->mutex);
        if (state->closed)
            return false;
    }
    return QMetaObject::invokeMethod(state->uiContext, Job(state, call), Qt::QueuedConnection);
}

Outcome Wait(SharedState& state, Call& call)
{
    std::unique_lock lock(state.mutex);
    state.changed.wait(lock, [&] {
        return call.stage == Stage::Finished || call.stage == Stage::Dropped
            || (state.closed && call.stage == Stage::Queued);
    });
    if (call.stage == Stage::Queued)
        call.stage = Stage::Dropped; // closed before it started: it must never start now
    return Outcome { call.stage == Stage::Finished, std::move(call.failure) };
}

} // namespace handoff_detail

UiHandOff::UiHandOff(QObject* uiContext)
    : m_state(std::make_shared<handoff_detail::SharedState>(uiContext))
{
}

bool UiHandOff::Post(std::function<void()> callable) const
{
    std::lock_guard postLock(m_state->postMutex);
    {
        std::lock_guard lock(m_state->mutex);
        if (m_state->closed)
            return false;
    }
    return QMetaObject::invokeMethod(m_state->uiContext, std::move(callable), Qt::QueuedConnection);
}

void UiHandOff::Close() const
{
    std::lock_guard postLock(m_state->postMutex);
    std::lock_guard lock(m_state->mutex);
    m_state->closed = true;
    m_state->changed.notify_all();
}

bool UiHandOff::IsUiThread() const
{
    return QThread::currentThread() == m_state->uiThread;
}
