// Costs of the list operations the discovery engine uses and of a header sort.
//   ./build/bench/listctrl/listctrl_bench
#include "ListCtrlEx.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>

using ListCtrlEx::CListCtrlEx;

namespace {

// A shown list with the search page's four columns.
std::unique_ptr<CListCtrlEx> MakeResultList()
{
    auto list = std::make_unique<CListCtrlEx>();
    list->resize(460, 300);
    list->InsertColumn(0, QStringLiteral("No."), 50);
    list->InsertColumn(1, QStringLiteral("IP Address"), 130);
    list->InsertColumn(2, QStringLiteral("MAC Address"), 130);
    list->InsertColumn(3, QStringLiteral("F/W Version"), 130);
    list->show();
    QCoreApplication::processEvents();
    return list;
}

// One camera answer as the listener adds it: row count, insert, four texts.
void AppendDeviceRow(CListCtrlEx& list, int serial)
{
    const int count = list.GetItemCount();
    const int row = list.InsertItem(count, QString());
    list.SetItemText(row, 0, QString::number(row + 1));
    list.SetItemText(
        row, 1, QStringLiteral("10.%1.%2.%3").arg(serial / 65536).arg(serial / 256 % 256).arg(serial % 256));
    list.SetItemText(row, 2,
        QStringLiteral("00:1A:2B:%1:%2:%3")
            .arg(serial / 65536 % 256, 2, 16, QLatin1Char('0'))
            .arg(serial / 256 % 256, 2, 16, QLatin1Char('0'))
            .arg(serial % 256, 2, 16, QLatin1Char('0')));
    list.SetItemText(row, 3, QStringLiteral("V2.1.%1").arg(serial % 50));
}

void BM_AppendRows(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto list = MakeResultList();
        state.ResumeTiming();

        for (int i = 0; i < rows; ++i)
            AppendDeviceRow(*list, i);
        // The view lays out and paints what the appends left pending.
        QCoreApplication::processEvents();

        state.PauseTiming();
        list.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * rows);
}
BENCHMARK(BM_AppendRows)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_NumberAwareHeaderSort(benchmark::State& state)
{
    const int rows = static_cast<int>(state.range(0));
    std::vector<int> numbers(rows);
    for (int i = 0; i < rows; ++i)
        numbers[i] = i - rows / 4;
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(1334));

    for (auto _ : state) {
        state.PauseTiming();
        auto list = MakeResultList();
        for (int i = 0; i < rows; ++i) {
            AppendDeviceRow(*list, i);
            list->SetItemText(i, 0, QString::number(numbers[i]));
        }
        list->SetColumnSortMode(0, ListCtrlEx::SortMode::NumberAware);
        list->SetOptions(ListCtrlEx::SortOnHeaderClick);
        QCoreApplication::processEvents();
        state.ResumeTiming();

        list->OnColumnClick(0);
        QCoreApplication::processEvents();

        state.PauseTiming();
        list.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_NumberAwareHeaderSort)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
