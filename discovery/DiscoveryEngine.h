#pragma once

#include "CameraList.h"
#include "CameraProblems.h"
#include "DiscoveryListener.h"
#include "DiscoveryPorts.h"
#include "DiscoveryRange.h"
#include "DiscoverySweep.h"
#include "SearchStatus.h"
#include "SettleRule.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quill::discovery {

// What a discovery engine takes from outside; the program uses the defaults.
struct DiscoveryEngineOptions {
    DiscoveryPorts ports {};
    SettleTiming settle {};
    // The kernel's neighbour table, read when a search found nothing.
    std::filesystem::path neighbourTable = "/proc/net/arp";
    std::size_t cameraLimit = kCameraLimit;
    // Answers received but not yet taken on the owner's thread; beyond this
    // they are dropped (and counted) rather than held while that thread is busy.
    std::size_t pendingLimit = 8192;
};

// Where one search looks: the range, and the adapter it is searched from as
// the user knows it (empty: none) with its address, mask and system name.
// Cameras are judged against the adapter's network, or the range's /24 when
// no adapter applies.
struct SearchTarget {
    DiscoveryRange range;
    std::string adapterLabel;
    std::optional<Ipv4Octets> adapterAddress;
    std::optional<Ipv4Octets> adapterMask;
    std::string adapterInterface;
};

// Camera discovery for every front end: it holds the listen port, sweeps a
// range, keeps the list of cameras that answered, tells when a search has
// settled and, when no camera answered, why. The listener receives on a
// thread of its own and hands answers over under the engine's lock with one
// queued wake-up; everything else, the signals included, happens on the
// thread that owns the engine, which must run an event loop.
class DiscoveryEngine : public QObject {
    Q_OBJECT

public:
    enum class State { Idle, Searching, Settled };

    explicit DiscoveryEngine(DiscoveryEngineOptions options = {}, QObject* parent = nullptr);
    // Stops the listener and waits for its thread.
    ~DiscoveryEngine() override;

    // Binds the listen port, so that a conflict is known at once, then
    // receives until StopListening(); a window listens for its whole run, a
    // command for one search. Answers arriving without a search are listed too.
    ListenerStart StartListening();
    void StopListening();
    bool IsListening() const;

    // Empties the list of cameras, then sends the query to every address of the
    // target's range. The search settles by the settle rule, or `wait` after
    // the sweep when one is given. Returns what the sweep achieved.
    const SweepOutcome& Search(
        const SearchTarget& target, std::optional<std::chrono::milliseconds> wait = {});
    // Empties the list; a search under way goes on.
    void Clear();
    // Takes one accepted answer, on any thread, as the listener does: its
    // debug record is written and it waits for the owner's thread.
    void Accept(const DeviceRecord& record, const Ipv4Endpoint& sender);
    // Takes the answers waiting now into the list, without waiting for the wake-up.
    void TakeAnswers();

    State state() const { return m_state; }
    const std::vector<ResultRow>& Cameras() const { return m_cameras.Rows(); }
    std::size_t IgnoredAnswers() const { return m_cameras.Ignored(); }
    std::size_t CameraLimit() const { return m_cameras.Limit(); }
    const SearchTarget& Target() const { return m_target; }
    const std::optional<SweepOutcome>& LastSweep() const { return m_lastSweep; }
    // Why no camera answered, once a search has settled without any.
    const std::optional<std::pair<NoAnswerCause, SearchFacts>>& Diagnosis() const { return m_diagnosis; }
    const DiscoveryEngineOptions& Options() const { return m_options; }

    // What the status line says now: the search under way, its outcome, or
    // why no camera answered, and how many cameras have problems; empty
    // before any answer or search.
    std::string StatusText(int language) const;
    // The status line's tooltip: each problem the list shows, and whether
    // the adapter can hear cameras in other subnets at all.
    std::string StatusDetails(int language) const;
    // Rows with at least one finding, and the problems they show in words.
    std::size_t CamerasWithProblems() const { return m_cameras.WithFindings(); }
    std::vector<CameraProblem> Problems(int language) const;

Q_SIGNALS:
    // A camera answered for the first time: Cameras()[index].
    void CameraAdded(int index);
    // A listed camera answered again, or its findings changed: its row changed.
    void CameraUpdated(int index);
    // The search has settled (for a search without answers, its diagnosis is in).
    void Settled();
    // From the listener's thread, delivered queued: answers wait in m_pending.
    void AnswersWaiting();

private:
    struct Answer {
        DeviceRecord record;
        Ipv4Endpoint sender;
        std::chrono::system_clock::time_point when;
    };
    void Settle();

    DiscoveryEngineOptions m_options;
    std::unique_ptr<DiscoveryListener> m_listener;
    CameraList m_cameras;
    State m_state = State::Idle;
    SearchTarget m_target;
    std::optional<SweepOutcome> m_lastSweep;
    std::optional<std::pair<NoAnswerCause, SearchFacts>> m_diagnosis;
    std::optional<int> m_reversePathFilter; // of the searched adapter
    std::optional<std::chrono::milliseconds> m_fixedWait;
    QTimer m_settleTimer;
    QElapsedTimer m_sinceSweep;

    // Answers pass from the listener's thread to the owner's here, under our
    // own lock, so the hand-over is plain to the reader and to the thread
    // sanitizer; the listener never waits for the owner's thread.
    std::mutex m_pendingLock;
    std::vector<Answer> m_pending;
    std::size_t m_dropped = 0;
    bool m_dropLogged = false;
};

} // namespace quill::discovery
