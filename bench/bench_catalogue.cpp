// The catalogue with 10,000 records: opening the database, opening a cursor, switching its
// order and the listings' distinct query should each take at most 100 ms.
#include "catalogue/tonescursor.h"
#include "catalogue/tonesdatabase.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>

using namespace catalogue;

namespace {

constexpr int kRecords = 10000;

// One catalogue for every benchmark: categories in mixed letter case, some empty fields.
TonesDatabase& database()
{
    static QTemporaryDir dir;
    static TonesDatabase db;
    if (!db.isOpen()) {
        QList<ToneRecord> records;
        for (int i = 0; i < kRecords; ++i) {
            const QString category = QStringLiteral("Category %1").arg(i % 97);
            records << ToneRecord{i % 2 ? category.toUpper() : category,
                                  i % 13 ? QStringLiteral("Sub %1").arg(i % 1009) : QString(),
                                  i % 17 ? std::optional<qint32>((i * 7919) % 20000) : std::nullopt,
                                  QStringLiteral("Source %1").arg(i % 211)};
        }
        const QString path = dir.filePath(QStringLiteral("Tones.abs"));
        QString error;
        if (!createCatalogueFile(path, records, false, &error) || !db.open(path)) {
            std::fprintf(stderr, "bench_catalogue: %s %s\n", qPrintable(error),
                         qPrintable(db.errorString()));
            std::abort();
        }
    }
    return db;
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
    cursor.moveTo(kRecords / 2);
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
