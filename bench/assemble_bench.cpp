// Cost of one generate command with the largest source the settings allow:
// every timer, both CCP modules, the serial port, every interrupt, comments.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "chip/assemble.h"
#include "generator/classic_writer.h"
#include "sample_settings.h"

namespace {

void BM_AssembleEverythingWithComments(benchmark::State& state) {
    const korvane::ProjectSettings settings = korvane::EverythingOn();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = korvane::AssembleSource(settings, true);
        bytes += text.size();
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes));
}
BENCHMARK(BM_AssembleEverythingWithComments);

}  // namespace
