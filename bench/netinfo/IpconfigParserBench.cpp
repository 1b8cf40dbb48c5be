// Parsing a 1 MB ipconfig report made of many adapter blocks (the recorded
// test reports, repeated). Goal: under 20 ms per report.
#include "IpconfigParser.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kReportSize = 1024 * 1024;

std::string ReadRecorded(const std::string& name)
{
    std::ifstream file(std::string(QUILL_NETINFO_REPORTS_DIR) + "/" + name, std::ios::binary);
    if (!file)
        throw std::runtime_error("missing recorded report " + name);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

std::string MegabyteReport(const std::vector<std::string>& names)
{
    std::vector<std::string> reports;
    for (const std::string& name : names)
        reports.push_back(ReadRecorded(name));
    std::string report;
    for (std::size_t i = 0; report.size() < kReportSize; ++i)
        report += reports[i % reports.size()];
    return report;
}

void ParseReport(benchmark::State& state, const std::string& report)
{
    for (auto _ : state) {
        quill::netinfo::AdapterTable table;
        auto stream = quill::netinfo::ReportStream::FromBytes(report);
        quill::netinfo::ParseIpconfigReport(table, *stream);
        benchmark::DoNotOptimize(table.count);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * report.size()));
}

void BM_ParseEnglishReport1MB(benchmark::State& state)
{
    static const std::string report = MegabyteReport({ "ipconfig_en.txt" });
    ParseReport(state, report);
}

void BM_ParseMixedLanguageReport1MB(benchmark::State& state)
{
    static const std::string report = MegabyteReport({ "ipconfig_en.txt", "ipconfig_zh_tw_big5.txt",
        "ipconfig_zh_cn_cp950.txt", "ipconfig_ja_question_marks.txt" });
    ParseReport(state, report);
}

} // namespace

BENCHMARK(BM_ParseEnglishReport1MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseMixedLanguageReport1MB)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
