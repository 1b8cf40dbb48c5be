#include "SearchSession.h"

#include "SearchFactsGathering.h"

#include <condition_variable>
#include <mutex>
#include <set>

namespace quill::discovery {

namespace {

    using Clock = std::chrono::steady_clock;
    constexpr auto kProgressInterval = std::chrono::milliseconds(200);

    std::pair<NoAnswerCause, SearchFacts> Diagnose(
        const SearchPlan& plan, bool listening, const SweepOutcome& sweep)
    {
        const SearchFacts facts = GatherSearchFacts(listening, plan.ports.listenPort, sweep, plan.range.begin,
            plan.range.end, plan.adapterLabel, plan.adapterAddress, plan.neighbourTable);
        return { DiagnoseNoAnswer(facts), facts };
    }

} // namespace

SearchResult RunSearch(const SearchPlan& plan, const std::function<void(const ResultRow&)>& onCamera,
    const std::function<void(int cameras)>& onProgress)
{
    // Answers wait here between the listener's thread and the caller's.
    std::mutex lock;
    std::condition_variable arrived;
    std::vector<DeviceRecord> waiting;
    DiscoveryListener listener(
        plan.ports.listenPort,
        [&](const DeviceRecord& record) {
            {
                std::lock_guard guard(lock);
                waiting.push_back(record);
            }
            arrived.notify_one();
        },
        [](const std::string&) {});

    SearchResult result;
    result.listener = listener.Start();
    if (!result.listener.started()) {
        result.diagnosis = Diagnose(plan, false, {});
        return result;
    }
    result.sweep = SendQueries(plan.range.begin, plan.range.end, plan.ports.queryPort);

    const Clock::time_point sweepEnd = Clock::now();
    std::chrono::milliseconds lastAnswer { 0 };
    const auto deadline
        = [&] { return sweepEnd + (plan.wait ? *plan.wait : SettlesAt(plan.settle, lastAnswer)); };
    std::set<std::string> cameraKeys;
    const auto take = [&](std::vector<DeviceRecord> batch) {
        for (DeviceRecord& record : batch) {
            lastAnswer = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - sweepEnd);
            if (!cameraKeys.insert(record.ip + ' ' + record.mac).second)
                continue;
            result.cameras.push_back({ static_cast<int>(result.cameras.size()) + 1, std::move(record) });
            onCamera(result.cameras.back());
        }
    };

    std::unique_lock guard(lock);
    while (Clock::now() < deadline()) {
        arrived.wait_until(
            guard, std::min(deadline(), Clock::now() + kProgressInterval), [&] { return !waiting.empty(); });
        std::vector<DeviceRecord> batch = std::exchange(waiting, {});
        guard.unlock();
        take(std::move(batch));
        onProgress(static_cast<int>(result.cameras.size()));
        guard.lock();
    }
    guard.unlock();
    const bool listening = listener.IsListening();
    listener.Stop();
    // Answers that came in the last moment still count.
    take(std::exchange(waiting, {}));
    if (result.cameras.empty())
        result.diagnosis = Diagnose(plan, listening, result.sweep);
    return result;
}

std::string SummaryText(const SearchResult& result, int language)
{
    if (result.diagnosis)
        return NoAnswerText(language, result.diagnosis->first, result.diagnosis->second);
    return OutcomeText(language, static_cast<int>(result.cameras.size()), &result.sweep);
}

} // namespace quill::discovery
