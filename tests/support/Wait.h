#pragma once
// The one bounded wait for tests that turn no Qt event loop (those use QTRY_*,
// QSignalSpy::wait or QTest::qWaitFor), and a test thread that is always joined.
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

namespace quill::test {

// True as soon as done() holds; false when it still does not after limit.
template <class Done> bool WaitUntil(Done done, std::chrono::milliseconds limit = std::chrono::seconds(5))
{
    for (const auto deadline = std::chrono::steady_clock::now() + limit; !done();) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// A worker of a test. It may hold references into the test, so it is never
// detached: one still running at the end ends the test program with a message.
class TestThread {
public:
    explicit TestThread(std::function<void()> body)
        : m_thread([this, body = std::move(body)] { body(), m_done = true; })
    {
    }
    ~TestThread()
    {
        if (!Finished()) {
            std::fputs("a test thread is still running after its limit\n", stderr);
            std::_Exit(1);
        }
        m_thread.join();
    }
    bool Done() const { return m_done; }
    // Waits without turning any event loop, as a thread that joins does.
    bool Finished()
    {
        return WaitUntil([this] { return Done(); });
    }

private:
    std::atomic<bool> m_done { false };
    std::thread m_thread;
};

} // namespace quill::test
