#include "DiscoveryEngine.h"

#include "CameraProblems.h"
#include "DeviceLogLine.h"
#include "Logger.h"
#include "OtherSubnetsText.h"
#include "ReversePathFilter.h"
#include "SearchFactsGathering.h"

#include <boost/format.hpp>

#include <algorithm>
#include <set>

namespace quill::discovery {

namespace {

    // Writes the record; a log that fails says why instead of throwing.
    std::optional<std::string> TryLog(mirelo::severity_level level, std::string text)
    {
        try {
            Logger::instance();
            Logger::write(level, std::move(text));
            return std::nullopt;
        } catch (const std::exception& error) {
            return std::string(error.what());
        } catch (...) {
            return std::string("unknown failure");
        }
    }

    void LogListenerFailure(const std::string& what)
    {
        TryLog(mirelo::critical, (boost::format("discovery listener: %s") % what).str());
    }

} // namespace

DiscoveryEngine::DiscoveryEngine(DiscoveryEngineOptions options, QObject* parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_cameras(m_options.cameraLimit)
{
    m_settleTimer.setSingleShot(true);
    connect(&m_settleTimer, &QTimer::timeout, this, [this] { Settle(); });
    // A signal rather than a queued call object of our own making: the event
    // that carries it is then Qt's from end to end.
    connect(
        this, &DiscoveryEngine::AnswersWaiting, this, &DiscoveryEngine::TakeAnswers, Qt::QueuedConnection);
}

DiscoveryEngine::~DiscoveryEngine()
{
    StopListening();
}

ListenerStart DiscoveryEngine::StartListening()
{
    if (m_listener)
        return {};
    auto listener = std::make_unique<DiscoveryListener>(
        m_options.ports.listenPort,
        [this](const DeviceRecord& record, const Ipv4Endpoint& sender) { Accept(record, sender); },
        LogListenerFailure);
    const ListenerStart start = listener->Start();
    if (start.started()) {
        m_listener = std::move(listener);
    } else if (start.error == ListenerStart::Error::PortConflict) {
        // Nothing can answer, whatever a search would send: the status says so at once.
        SearchFacts facts;
        facts.listening = false;
        facts.listenPort = m_options.ports.listenPort;
        m_diagnosis = std::make_pair(NoAnswerCause::ListenerDown, facts);
        m_state = State::Settled;
    }
    return start;
}

void DiscoveryEngine::StopListening()
{
    if (m_listener)
        m_listener->Stop();
    m_listener.reset();
    TakeAnswers();
}

bool DiscoveryEngine::IsListening() const
{
    return m_listener && m_listener->IsListening();
}

void DiscoveryEngine::Accept(const DeviceRecord& record, const Ipv4Endpoint& sender)
{
    // A log that cannot be written costs the record, never the camera.
    if (const auto failure = TryLog(mirelo::debug, FormatDeviceLogLine(record)))
        LogListenerFailure("the log could not be written: " + *failure);
    bool wake = false;
    {
        std::lock_guard guard(m_pendingLock);
        if (m_pending.size() >= m_options.pendingLimit) {
            ++m_dropped;
            return;
        }
        wake = m_pending.empty();
        m_pending.push_back({ record, sender, std::chrono::system_clock::now() });
    }
    // One wake-up for whatever arrives until the owner's thread takes it.
    if (wake)
        Q_EMIT AnswersWaiting();
}

void DiscoveryEngine::TakeAnswers()
{
    std::vector<Answer> answers;
    std::size_t dropped = 0;
    {
        std::lock_guard guard(m_pendingLock);
        answers.swap(m_pending);
        dropped = m_dropped;
    }
    if (dropped > 0 && !std::exchange(m_dropLogged, true)) {
        TryLog(mirelo::warning,
            (boost::format("discovery: answers arrive faster than they can be listed; %d dropped") % dropped)
                .str());
    }
    if (answers.empty())
        return;

    const std::size_t ignoredBefore = m_cameras.Ignored();
    std::set<std::size_t> updated;
    for (Answer& answer : answers) {
        const CameraList::Outcome outcome
            = m_cameras.Add(std::move(answer.record), answer.sender, answer.when);
        if (outcome.change == CameraList::Change::Added)
            Q_EMIT CameraAdded(static_cast<int>(outcome.index));
        else if (outcome.change == CameraList::Change::Updated)
            updated.insert(outcome.index);
        updated.insert(outcome.alsoChanged.begin(), outcome.alsoChanged.end());
    }
    // A camera that answered many times in one batch is shown once.
    for (const std::size_t index : updated)
        Q_EMIT CameraUpdated(static_cast<int>(index));
    if (ignoredBefore == 0 && m_cameras.Ignored() > 0) {
        TryLog(mirelo::warning,
            (boost::format("discovery: more than %d cameras answered; further ones are not listed")
                % m_cameras.Limit())
                .str());
    }

    // A search settles only once its answers have stopped coming.
    if (m_state == State::Searching && !m_fixedWait) {
        const std::chrono::milliseconds since(m_sinceSweep.elapsed());
        m_settleTimer.start(
            std::max(std::chrono::milliseconds::zero(), SettlesAt(m_options.settle, since) - since));
    }
}

const SweepOutcome& DiscoveryEngine::Search(
    const SearchTarget& target, std::optional<std::chrono::milliseconds> wait)
{
    Clear();
    m_target = target;
    m_fixedWait = wait;
    m_diagnosis.reset();
    m_state = State::Searching;
    SearchedNetwork network { target.range.begin };
    if (target.adapterAddress && target.adapterMask)
        network = { *target.adapterAddress, *target.adapterMask };
    m_cameras.SetNetwork(network);
    m_reversePathFilter.reset();
    if (!target.adapterInterface.empty())
        m_reversePathFilter = netinfo::EffectiveReversePathFilter(target.adapterInterface);
    const SweepOutcome outcome
        = SendQueries(target.range.begin, target.range.end, m_options.ports.queryPort, target.adapterAddress);
    // One record per sweep, however many queries failed; the sweep goes on
    // with the remaining addresses.
    if (outcome.failed > 0) {
        TryLog(mirelo::warning,
            (boost::format("discovery sweep: %d of %d queries could not be sent (%s)") % outcome.failed
                % outcome.attempted % outcome.firstError)
                .str());
    }
    m_lastSweep = outcome;
    m_sinceSweep.start();
    m_settleTimer.start(wait ? *wait : SettlesAt(m_options.settle, {}));
    return *m_lastSweep;
}

void DiscoveryEngine::Clear()
{
    // Answers already received belong to the list being emptied.
    {
        std::lock_guard guard(m_pendingLock);
        m_pending.clear();
    }
    m_cameras.Clear();
    if (m_state == State::Settled)
        m_diagnosis.reset();
}

void DiscoveryEngine::Settle()
{
    TakeAnswers();
    m_state = State::Settled;
    m_diagnosis.reset();
    if (m_cameras.Rows().empty()) {
        const SearchFacts facts = GatherSearchFacts(IsListening(), m_options.ports.listenPort,
            m_lastSweep.value_or(SweepOutcome {}), m_target.range.begin, m_target.range.end,
            m_target.adapterLabel, m_target.adapterAddress, m_options.neighbourTable);
        const NoAnswerCause cause = DiagnoseNoAnswer(facts);
        TryLog(mirelo::warning, NoAnswerText(0, cause, facts));
        m_diagnosis = std::make_pair(cause, facts);
    }
    Q_EMIT Settled();
}

std::string DiscoveryEngine::StatusText(int language) const
{
    const int cameras = static_cast<int>(m_cameras.Rows().size());
    std::string text;
    if (m_state == State::Searching)
        text = SearchingText(language, m_target.range.begin, m_target.range.end, cameras);
    else if (m_state == State::Settled && cameras == 0 && m_diagnosis)
        text = NoAnswerText(language, m_diagnosis->first, m_diagnosis->second);
    else if (cameras > 0 || m_state == State::Settled)
        text = OutcomeText(language, cameras, m_lastSweep ? &*m_lastSweep : nullptr);
    if (m_cameras.Ignored() > 0)
        text += IgnoredText(
            language, static_cast<int>(m_cameras.Ignored()), static_cast<int>(m_cameras.Limit()));
    if (m_cameras.WithFindings() > 0)
        text += ProblemCountText(language, static_cast<int>(m_cameras.WithFindings()));
    return text;
}

std::vector<CameraProblem> DiscoveryEngine::Problems(int language) const
{
    return DescribeProblems(m_cameras.Rows(), m_cameras.Network(), language);
}

std::string DiscoveryEngine::StatusDetails(int language) const
{
    std::string details;
    for (const CameraProblem& problem : Problems(language))
        details += (details.empty() ? "" : "\n") + problem.text;
    if (m_reversePathFilter && netinfo::DropsUnroutedSenders(*m_reversePathFilter)) {
        details += (details.empty() ? "" : "\n")
            + OtherSubnetsUnheardText(language, m_target.adapterInterface, *m_reversePathFilter);
    }
    return details;
}

} // namespace quill::discovery
