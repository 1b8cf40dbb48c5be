#pragma once
// A worker thread whose end is awaited with a bound: a worker still stuck when
// the bound runs out is detached, so the test fails instead of hanging.
#include <QTest>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

class WorkerThread {
public:
    explicit WorkerThread(std::function<void()> body)
        : m_thread([this, body = std::move(body)] {
            body();
            m_finished = true;
        })
    {
    }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;
    ~WorkerThread() { m_finished ? m_thread.join() : m_thread.detach(); }

    // Turns the UI thread's event loop while waiting; true when the worker finished in time.
    bool WaitProcessingEvents(int timeoutMs = 5000)
    {
        return QTest::qWaitFor([this] { return m_finished.load(); }, timeoutMs);
    }
    // Waits without turning the event loop, as a UI thread that joins does.
    bool WaitBlocking(int timeoutMs = 5000)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!m_finished && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        return m_finished;
    }

private:
    std::atomic<bool> m_finished { false };
    std::thread m_thread;
};
