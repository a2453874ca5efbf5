#include "modules/timer_common.h"

namespace korvane {

double TimerPeriodUs(std::int64_t counts, std::int64_t prescale, const SettingValue& freqMHz) {
    const double mhz = freqMHz.toNumber().value_or(0);
    if (!(mhz > 0 && mhz < 1e3)) return 0;
    return static_cast<double>(counts * prescale) * 4 / mhz;
}

void SettleTimer(ProjectSettings& s, TimerKind timer, const NumberLocale& locale,
                 std::vector<SettingProblem>& problems) {
    struct TimerNames {
        const char* time;
        const char* frequency;
    };
    constexpr TimerNames kNames[] = {
        {"T0TimeUs", "T0FreqMHz"}, {"T1TimeUs", "T1FreqMHz"}, {"T2TimeUs", "T2FreqMHz"}};
    if (!WritesCalculatedValue(s, timer)) return;
    const TimerSettings fields = SettingsOf(s, timer);
    // The texts a reopened dialog would put into its boxes.
    const TimerCalcOutcome outcome =
        CalculateTimerPeriod(TimerInput(s, timer, fields.timeUs.toText(), fields.freqMHz.toText(), locale));
    StoreTimerOutcome(s, timer, outcome);
    if (!outcome.message) return;
    // The time is read first: past it, the frequency is at fault.
    const TimerNames& names = kNames[static_cast<int>(timer)];
    const bool frequency = outcome.timeUs && outcome.status != TimerCalcStatus::OutOfRange;
    problems.push_back({SettingProblem::Kind::Timer, frequency ? names.frequency : names.time,
                        outcome.message->title, outcome.message->text});
}

}  // namespace korvane
