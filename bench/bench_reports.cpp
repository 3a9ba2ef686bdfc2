// The listings of a catalogue with 10,000 records: preparing one (every page laid out, so that
// the page total is known) should take at most 1 s, writing it as PDF at most 2 s, and a
// preview showing its first page at most 300 ms.
#include "catalogue/cataloguereports.h"
#include "largecatalogue.h"
#include "report/render.h"
#include "report/ui/reportpreview.h"

#include <QApplication>
#include <QPixmap>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>

using namespace catalogue;

namespace {

constexpr ReportOrder kOrder = ReportOrder::Source;

const report::PreparedReport& listing()
{
    static const report::PreparedReport prepared = [] {
        QString error;
        std::optional<report::PreparedReport> result =
            prepareListing(bench::largeCatalogue(), kOrder, &error);
        if (!result) {
            std::fprintf(stderr, "bench_reports: %s\n", qPrintable(error));
            std::abort();
        }
        return std::move(*result);
    }();
    return prepared;
}

// The distinct query and the layout of every page.
void BM_PrepareListing(benchmark::State& state)
{
    const ReportOrder order = ReportOrder(state.range(0));
    qsizetype pages = 0;
    for (auto _ : state) {
        QString error;
        const std::optional<report::PreparedReport> prepared =
            prepareListing(bench::largeCatalogue(), order, &error);
        pages = prepared ? prepared->pages.size() : 0;
        benchmark::DoNotOptimize(pages);
    }
    state.counters["pages"] = double(pages);
    state.SetLabel(listingTitle(order).toStdString() + ", target <= 1 s");
}
BENCHMARK(BM_PrepareListing)
    ->DenseRange(int(ReportOrder::Category), int(ReportOrder::SubCategory))
    ->Unit(benchmark::kMillisecond);

void BM_WritePdf(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("listing.pdf"));
    const report::PreparedReport& prepared = listing();
    for (auto _ : state)
        benchmark::DoNotOptimize(report::writePdf(prepared, path, listingTitle(kOrder)));
    state.counters["pages"] = double(prepared.pages.size());
    state.SetLabel("target <= 2 s");
}
BENCHMARK(BM_WritePdf)->Unit(benchmark::kMillisecond);

// From the prepared listing to the preview window with its first page on the screen.
void BM_PreviewFirstPage(benchmark::State& state)
{
    const report::PreparedReport& prepared = listing();
    for (auto _ : state) {
        ReportPreview preview(prepared, listingTitle(kOrder));
        preview.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(preview.grab());
    }
    state.SetLabel("target <= 300 ms");
}
BENCHMARK(BM_PreviewFirstPage)->Unit(benchmark::kMillisecond);

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform says at every window shown that it cannot pass on size hints.
void quietOffscreen(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        defaultHandler(type, context, message);
}

}  // namespace

int main(int argc, char* argv[])
{
    defaultHandler = qInstallMessageHandler(quietOffscreen);
    // The preview is measured on no screen: the offscreen platform, unless one is chosen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
