#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "format/number_text.h"
#include "settings/project_settings.h"

namespace korvane {

// The A/D converter: which pins each PCFG code makes analog, the conversion
// clocks and the TAD rule. The dialog, the generator, the pin claims and
// korvane-calc share these.

inline constexpr int kAdChannelCount = 8;  // AN0..AN7 on the 40-pin parts
inline constexpr std::int16_t kPcfgCount = 16;
// PCFG = 011x: every pin digital, the value ADCON1 takes while the module is off.
inline constexpr std::int16_t kPcfgAllDigital = 0b0110;

// Where channel ANn sits: AN0..AN3 RA0..RA3, AN4 RA5, AN5..AN7 RE0..RE2.
struct AdPin {
    int port;  // 0 = A, 4 = E
    int pin;
};
AdPin AdChannelPin(int channel);

// One row of the PCFG table. `analog` has bit n set when ANn is an analog
// input; a reference pin (VREF+ on AN3, VREF- on AN2) is analog too but
// reads no channel.
struct PcfgRow {
    std::uint8_t analog;
    bool vrefPlus;
    bool vrefMinus;
};
PcfgRow PcfgOf(std::int16_t pcfg);

// The PCFG codes the dialog offers on a part with `channels` channels, in
// code order: every code that makes some pin analog, a code that reads the
// same on the part's channels as an earlier one left out.
std::vector<std::int16_t> OfferedPcfgs(int channels);
// "AN0-AN4模拟,VREF+=VDD,VREF-=VSS": what a code does to the part's channels.
std::string PcfgText(std::int16_t pcfg, int channels);

// Conversion clocks as the ADCS2:ADCS1:ADCS0 code: 000 Fosc/2, 001 Fosc/8,
// 010 Fosc/32, 011 FRC, 100 Fosc/4, 101 Fosc/16, 110 Fosc/64 (the codes with
// ADCS2 set only on the A parts).
inline constexpr std::int16_t kAdClockFrc = 0b011;
struct AdClock {
    std::int16_t code;
    int divisor;  // of Fosc; 0 for the A/D's own RC oscillator
    const char* text;
    bool onlyAParts;
};
// The clocks fastest first, FRC last.
std::span<const AdClock> AdClocks();
const AdClock& AdClockOf(std::int16_t code);
bool ClockOnPart(const AdClock& clock, bool aPart);

// TAD must be at least 1.6 us; the A/D's RC oscillator gives 2-6 us (4 typical).
inline constexpr double kShortestTadUs = 1.6;
inline constexpr double kFrcTadUs = 4;
inline constexpr int kFrcTadMinUs = 2, kFrcTadMaxUs = 6;
inline constexpr int kTadPerConversion = 12;
// TAD for a Fosc clock at `mhz`, or the typical TAD of FRC.
double TadUs(const AdClock& clock, double mhz);
bool TadAllowed(const AdClock& clock, double mhz);
// "TAD=2.000uS,转换时间24.000uS" for a clock at a crystal; FRC's typical range.
std::string AdClockReadout(const AdClock& clock, double mhz, const NumberLocale& locale);
// The fastest clock the part has that keeps TAD long enough, else FRC.
std::int16_t DefaultAdClock(double mhz, bool aPart);

// Whether the chosen part has ADCS2 (the A parts), from the part table.
bool PartHasAdcs2(const ProjectSettings& s);

inline bool AdUsed(const ProjectSettings& s) {
    return s.AdEn == 1;
}
// The settings as the generator and the pins read them: a code or channel
// the part does not offer (a hand-edited file, another part) falls back to
// the first offered code, its first analog channel, and the default clock.
std::int16_t AdPcfgOf(const ProjectSettings& s);
int AdChannelOf(const ProjectSettings& s);
std::int16_t AdClockCodeOf(const ProjectSettings& s);
// The channels with an analog pin under `pcfg`, on the chosen part.
std::vector<int> AnalogChannels(const ProjectSettings& s, std::int16_t pcfg);

// The channels whose pins the chosen code makes analog, references included.
std::vector<int> AnalogPinChannels(const ProjectSettings& s);

// The crystal changed: the clock follows it unless the user chose one.
void FollowCrystalAd(ProjectSettings& s);

// ADCON1 and ADCON0 as the module's set-up writes them.
std::int64_t AdAdcon1(const ProjectSettings& s);
std::int64_t AdAdcon0(const ProjectSettings& s);

}  // namespace korvane
