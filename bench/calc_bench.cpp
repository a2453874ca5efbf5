// Cost of one press of each calculator button with typical inputs.
#include <benchmark/benchmark.h>

#include "calc/baud_calc.h"
#include "calc/timer_calc.h"

namespace {

using namespace korvane;

// 4 MHz, asynchronous at high speed, 0.2 % allowed: the whole SPBRG scan.
void BM_BaudScan(benchmark::State& state) {
    BaudCalcInput input;
    input.crystalMHz = 4;
    input.divisor = ModeBaudDivisor(false, true);
    input.errorLimitText = "0.2";
    for (auto _ : state) benchmark::DoNotOptimize(CalcBaudList(input));
}
BENCHMARK(BM_BaudScan);

// The typical Timer0 run: 100 us at 4 MHz with a 1:2 prescaler.
void BM_TimerCalculator(benchmark::State& state) {
    TimerCalcInput input;
    input.timer = TimerKind::Timer0;
    input.divisor = 2;
    input.timeText = "100";
    input.freqText = "4";
    for (auto _ : state) benchmark::DoNotOptimize(CalculateTimerPeriod(input));
}
BENCHMARK(BM_TimerCalculator);

}  // namespace
