#include "CheckRunner.h"

#include "ProbeGuard.h"
#include "SocketWait.h"

namespace quill::netcheck {

CheckRunner::CheckRunner(DeviceProbes probes, QObject* parent)
    : QObject(parent)
    , m_probes(std::move(probes))
{
    qRegisterMetaType<ProbeOutcome>();
    // Bookkeeping on this object's thread, before anyone hears of the outcome.
    connect(this, &CheckRunner::FinishedWaiting, this, &CheckRunner::DeliverFinished, Qt::QueuedConnection);
}

void CheckRunner::DeliverFinished()
{
    std::vector<std::pair<int, ProbeOutcome>> finished;
    std::vector<std::thread> ended;
    {
        std::lock_guard lock(m_finishedLock);
        finished.swap(m_finished);
        for (const int id : std::exchange(m_endedThreads, {})) {
            ended.push_back(std::move(m_threads.at(id)));
            m_threads.erase(id);
        }
    }
    // Each has only its last few instructions left.
    for (std::thread& thread : ended)
        thread.join();
    for (const auto& [slot, outcome] : finished) {
        --m_pending[RunOf(slot)];
        Q_EMIT ProbeEnded(slot, outcome);
    }
}

CheckRunner::~CheckRunner()
{
    m_stop.request_stop();
    // A run that is still starting its probes may add threads meanwhile.
    for (;;) {
        std::map<int, std::thread> threads;
        {
            std::lock_guard lock(m_finishedLock);
            threads.swap(m_threads);
        }
        if (threads.empty())
            break;
        for (auto& [id, thread] : threads)
            thread.join();
    }
}

void CheckRunner::RunOnThread(std::function<void()> work)
{
    std::unique_lock lock(m_finishedLock);
    const int id = m_nextThreadId++;
    try {
        m_threads.emplace(id, std::thread([this, id, work] {
            work();
            {
                std::lock_guard ended(m_finishedLock);
                m_endedThreads.push_back(id);
            }
            Q_EMIT FinishedWaiting();
        }));
    } catch (const std::system_error&) {
        // No thread to be had: the probe runs here, late rather than never.
        lock.unlock();
        work();
        Q_EMIT FinishedWaiting();
    }
}

template <class Probe> void CheckRunner::Start(int slot, Probe probe)
{
    RunOnThread([this, slot, probe = std::move(probe), stop = m_stop.get_token()] {
        ProbeOutcome outcome = GuardedProbe([&] { return probe(stop); });
        std::lock_guard lock(m_finishedLock);
        m_finished.emplace_back(slot, std::move(outcome));
    });
}

bool CheckRunner::StartCheck()
{
    return StartCheck(SettingsServer(m_probes.settingsPath));
}

bool CheckRunner::StartCheck(const std::string& host)
{
    if (IsRunning(kCheck))
        return false;
    m_pending[kCheck] = static_cast<int>(m_probes.lanPorts.size());
    RunOnThread([this, host, stop = m_stop.get_token()] {
        // One lookup for the four ports; an empty entry never reaches the resolver.
        const auto start = Clock::now();
        const LookupResult server
            = host.empty() ? LookupResult {} : LookUp(host, 0, false, m_probes.lookupBound, stop);
        const auto lookupTime = Since(start);
        for (std::size_t slot = 0; slot < m_probes.lanPorts.size(); ++slot)
            Start(static_cast<int>(slot),
                [this, server, host, lookupTime, port = m_probes.lanPorts[slot]](std::stop_token stop) {
                    ProbeOutcome outcome = ConnectPort(server, host, port, m_probes.portTimeout, stop);
                    outcome.elapsed += lookupTime;
                    return outcome;
                });
    });
    return true;
}

bool CheckRunner::StartCloud(const std::string& host)
{
    if (IsRunning(kCloud))
        return false;
    m_pending[kCloud] = 2;
    for (const auto& [slot, port] :
        { std::pair(kCloudSlot, m_probes.cloudPort), std::pair(kCloudTlsSlot, m_probes.cloudTlsPort) })
        Start(slot, [this, host, port](std::stop_token stop) {
            return CheckHttps(host, port, m_probes.httpsTimeout, m_probes.lookupBound, stop);
        });
    return true;
}

bool CheckRunner::StartNtp(const std::string& host)
{
    if (IsRunning(kNtp))
        return false;
    m_pending[kNtp] = 1;
    Start(kNtpSlot, [this, host](std::stop_token stop) {
        return CheckNtp(host, m_probes.ntpPort, m_probes.ntpTimeout, m_probes.lookupBound, stop);
    });
    return true;
}

} // namespace quill::netcheck
