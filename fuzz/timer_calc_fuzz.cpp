// The timer calculator on arbitrary period and frequency texts and prescalers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <string>

#include "calc/timer_calc.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace korvane;
    FuzzedDataProvider in(data, size);
    TimerCalcInput input;
    input.timer = in.PickValueInArray({TimerKind::Timer0, TimerKind::Timer1, TimerKind::Timer2});
    // Mostly the prescale divisors the dialogs offer, sometimes anything.
    input.divisor =
        in.ConsumeBool() ? 1 << in.ConsumeIntegralInRange(0, 8) : in.ConsumeIntegral<std::int32_t>();
    input.timeText = in.ConsumeRandomLengthString(32);
    input.freqText = in.ConsumeRemainingBytesAsString();

    const TimerCalcOutcome outcome = CalculateTimerPeriod(input);
    // A failure always says why; a success never carries a message.
    FUZZ_CHECK((outcome.status == TimerCalcStatus::Ok) == !outcome.message.has_value());
    FUZZ_CHECK((outcome.status == TimerCalcStatus::Ok) == outcome.preload.has_value());
    if (outcome.message) FUZZ_CHECK(!outcome.message->title.empty() && !outcome.message->text.empty());
    if (outcome.status != TimerCalcStatus::Ok) return 0;

    // A success has a start value inside the counter and misses the wanted
    // period by at most half a count.
    FUZZ_CHECK(outcome.timeUs && outcome.freqMHz && outcome.range);
    FUZZ_CHECK(*outcome.freqMHz > 0);
    const TimerPreload& preload = *outcome.preload;
    FUZZ_CHECK(preload.start >= 0 && preload.start < CounterRange(input.timer));
    const double tick = outcome.range->tickUs;
    FUZZ_CHECK(std::isfinite(tick) && tick > 0);
    // The error is kept in single precision.
    FUZZ_CHECK(std::fabs(preload.errorUs) <= tick / 2 * (1 + 1e-6) + 1e-6 * std::fabs(*outcome.timeUs));
    // Timer2 counts up to PR2 and starts again by itself: its register holds
    // the number of counts less one, the others the start value.
    const int registerValue =
        input.timer == TimerKind::Timer2 ? CounterRange(input.timer) - 1 - preload.start : preload.start;
    FUZZ_CHECK(preload.registerText == RegisterByteText(registerValue));
    if (input.timer == TimerKind::Timer1) {
        FUZZ_CHECK(preload.highText == RegisterByteText(preload.start / 256));
        FUZZ_CHECK(preload.lowText == RegisterByteText(preload.start % 256));
    }
    return 0;
}
