// The catalogue with 10,000 records: opening the database, opening a cursor, switching its
// order and the listings' distinct query should each take at most 100 ms.
#include "catalogue/tonescursor.h"
#include "catalogue/tonesdatabase.h"
#include "largecatalogue.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

using namespace catalogue;

namespace {

TonesDatabase& database()
{
    return bench::largeCatalogue();
}

void BM_OpenDatabase(benchmark::State& state)
{
    const QString path = database().fileName();
    TonesDatabase other(QStringLiteral("bench"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(other.open(path));
        other.close();
    }
}
BENCHMARK(BM_OpenDatabase)->Unit(benchmark::kMillisecond);

void BM_OpenCursor(benchmark::State& state)
{
    for (auto _ : state) {
        TonesCursor cursor(database());
        benchmark::DoNotOptimize(cursor.open());
    }
}
BENCHMARK(BM_OpenCursor)->Unit(benchmark::kMillisecond);

// From icategory, where every cursor starts, to the order clicked, keeping the record.
void BM_SwitchOrder(benchmark::State& state)
{
    const ToneIndex target = ToneIndex(state.range(0));
    TonesCursor cursor(database());
    cursor.open();
    cursor.moveTo(bench::kLargeCatalogueRecords / 2);
    for (auto _ : state) {
        benchmark::DoNotOptimize(cursor.setIndex(target));
        state.PauseTiming();
        cursor.setIndex(ToneIndex::Category);
        state.ResumeTiming();
    }
    state.SetLabel(indexName(target).toStdString());
}
BENCHMARK(BM_SwitchOrder)
    ->Arg(int(ToneIndex::Category))
    ->Arg(int(ToneIndex::Cps))
    ->Arg(int(ToneIndex::SubCategory))
    ->Arg(int(ToneIndex::Source))
    ->Unit(benchmark::kMillisecond);

void BM_DistinctQuery(benchmark::State& state)
{
    const ReportOrder order = ReportOrder(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(database().distinctTones(order, nullptr));
}
BENCHMARK(BM_DistinctQuery)
    ->DenseRange(int(ReportOrder::Category), int(ReportOrder::SubCategory))
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
