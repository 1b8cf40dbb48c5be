#pragma once

#include "DeviceProbes.h"
#include "ProbeOutcome.h"

#include <QObject>

#include <array>
#include <functional>
#include <map>
#include <mutex>
#include <stop_token>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace quill::netcheck {

// The three runs of the network check and the result slots they fill: Check
// (slots 0 to 3, the four ports of the settings file's server, whose name is
// looked up once), the cloud test (slots 5 and 7) and the time server test
// (slot 4). Each run's probes run at once on the runner's own threads; each
// outcome comes back on the runner's thread as soon as its probe ends.
class CheckRunner : public QObject {
    Q_OBJECT

public:
    enum Run { kCheck, kCloud, kNtp };

    explicit CheckRunner(DeviceProbes probes, QObject* parent = nullptr);
    // Stops every probe; each ends within one 50 ms wait, and a name lookup
    // still running is left to the C library's own thread.
    ~CheckRunner() override;

    // Each starts its run unless it is in flight (then false).
    bool StartCheck(); // the server named in the probes' settings file
    bool StartCheck(const std::string& host);
    bool StartCloud(const std::string& host);
    bool StartNtp(const std::string& host);
    bool IsRunning(Run run) const { return m_pending[run] > 0; }

    // The result slots: 0 to 3 Check's ports, then these.
    static constexpr int kNtpSlot = 4;
    static constexpr int kCloudSlot = 5;
    static constexpr int kCloudTlsSlot = 7;

    static Run RunOf(int slot) { return slot < kNtpSlot ? kCheck : slot == kNtpSlot ? kNtp : kCloud; }

Q_SIGNALS:
    void ProbeEnded(int slot, quill::netcheck::ProbeOutcome outcome);
    // From the probes' threads, delivered queued: outcomes wait in m_finished.
    void FinishedWaiting();

private:
    template <class Probe> void Start(int slot, Probe probe);
    // Runs the work on a thread of its own, joined once it has ended. Threads
    // of our own rather than a Qt thread pool: the pool hands work over under
    // locks the thread sanitizer cannot see, and it would report every probe.
    void RunOnThread(std::function<void()> work);
    void DeliverFinished();

    DeviceProbes m_probes;
    std::array<int, 3> m_pending {};
    std::stop_source m_stop;
    // Outcomes pass between threads here, under our own lock, rather than as
    // signal arguments copied inside Qt's event queue: the hand-over is then
    // plain to see, for the reader and for the thread sanitizer.
    std::mutex m_finishedLock;
    std::vector<std::pair<int, ProbeOutcome>> m_finished;
    std::map<int, std::thread> m_threads;
    std::vector<int> m_endedThreads;
    int m_nextThreadId = 0;
};

} // namespace quill::netcheck

Q_DECLARE_METATYPE(quill::netcheck::ProbeOutcome)
