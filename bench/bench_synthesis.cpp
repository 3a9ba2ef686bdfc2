// How long building a tone's image takes: the console's tone (1000 ms, 16-bit, mono,
// 96,000 per second, enveloped) should take at most 1 ms, the largest image at most 20 ms.
#include "tonegen/tonegen.h"

#include <benchmark/benchmark.h>

namespace {

void buildImage(benchmark::State& state, int ms, bool stereo)
{
    TToneGen generator;
    generator.SetDuration(ms);
    generator.SetStereo(stereo);
    generator.SetAttack(10);
    generator.SetHold(5);
    generator.SetDecay(20);
    generator.SetSustain(50);
    generator.SetRelease(30);
    int frequency = 440;
    for (auto _ : state) {
        generator.SetFrequency(frequency);  // a new tone each time
        frequency = frequency == 440 ? 441 : 440;
        benchmark::DoNotOptimize(generator.PrepareADSR());
    }
    state.SetBytesProcessed(state.iterations() * generator.ImageSize());
}

void BM_ConsoleTone(benchmark::State& state)
{
    buildImage(state, 1000, false);
}
BENCHMARK(BM_ConsoleTone)->Unit(benchmark::kMicrosecond);

void BM_LargestImage(benchmark::State& state)
{
    buildImage(state, 32767, true);
}
BENCHMARK(BM_LargestImage)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
