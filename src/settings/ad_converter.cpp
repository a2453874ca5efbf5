#include "settings/ad_converter.h"

#include <array>
#include <string_view>

#include "format/number_text.h"
#include "settings/parts.h"

namespace korvane {

namespace {

// The data sheet's table, pins AN7..AN0: A analog, D digital, + VREF+, - VREF-.
// clang-format off
constexpr std::string_view kPcfgTable[kPcfgCount] = {
    "AAAAAAAA", "AAAA+AAA", "DDDAAAAA", "DDDA+AAA",
    "DDDDADAA", "DDDD+DAA", "DDDDDDDD", "DDDDDDDD",
    "AAAA+-AA", "DDAAAAAA", "DDAA+AAA", "DDAA+-AA",
    "DDDA+-AA", "DDDD+-AA", "DDDDDDDA", "DDDD+-DA",
};
// clang-format on

constexpr AdPin kChannelPins[kAdChannelCount] = {{0, 0}, {0, 1}, {0, 2}, {0, 3},
                                                 {0, 5}, {4, 0}, {4, 1}, {4, 2}};

constexpr AdClock kClocks[] = {
    {0b000, 2, "Fosc/2", false},    {0b100, 4, "Fosc/4", true},    {0b001, 8, "Fosc/8", false},
    {0b101, 16, "Fosc/16", true},   {0b010, 32, "Fosc/32", false}, {0b110, 64, "Fosc/64", true},
    {kAdClockFrc, 0, "FRC", false},
};

constexpr std::uint8_t ChannelMask(int channels) {
    return static_cast<std::uint8_t>((1u << channels) - 1);
}

// The pins a code makes analog (references included), on the part's channels.
std::uint8_t AnalogPinMask(std::int16_t pcfg, int channels) {
    const PcfgRow row = PcfgOf(pcfg);
    const std::uint8_t refs =
        static_cast<std::uint8_t>((row.vrefPlus ? 1u << 3 : 0u) | (row.vrefMinus ? 1u << 2 : 0u));
    return static_cast<std::uint8_t>((row.analog | refs) & ChannelMask(channels));
}

// The same analog channels on the part and the same references: the pins
// then read alike too.
bool SameOnPart(std::int16_t a, std::int16_t b, int channels) {
    const PcfgRow ra = PcfgOf(a), rb = PcfgOf(b);
    return (ra.analog & ChannelMask(channels)) == (rb.analog & ChannelMask(channels)) &&
           ra.vrefPlus == rb.vrefPlus && ra.vrefMinus == rb.vrefMinus;
}

int ChannelsOf(const ProjectSettings& s) {
    return ChosenPart(s).analogChannels;
}

bool Offered(std::int16_t pcfg, int channels) {
    for (std::int16_t code : OfferedPcfgs(channels))
        if (code == pcfg) return true;
    return false;
}

}  // namespace

AdPin AdChannelPin(int channel) {
    return kChannelPins[channel];
}

PcfgRow PcfgOf(std::int16_t pcfg) {
    const std::string_view row = kPcfgTable[pcfg & 0x0F];
    PcfgRow result{0, false, false};
    for (int channel = 0; channel < kAdChannelCount; ++channel) {
        const char mark = row[static_cast<std::size_t>(kAdChannelCount - 1 - channel)];
        if (mark == 'A') result.analog = static_cast<std::uint8_t>(result.analog | 1u << channel);
        if (mark == '+') result.vrefPlus = true;
        if (mark == '-') result.vrefMinus = true;
    }
    return result;
}

std::vector<std::int16_t> OfferedPcfgs(int channels) {
    std::vector<std::int16_t> codes;
    for (std::int16_t pcfg = 0; pcfg < kPcfgCount; ++pcfg) {
        if ((PcfgOf(pcfg).analog & ChannelMask(channels)) == 0) continue;
        bool seen = false;
        for (std::int16_t earlier : codes) seen = seen || SameOnPart(earlier, pcfg, channels);
        if (!seen) codes.push_back(pcfg);
    }
    return codes;
}

std::string PcfgText(std::int16_t pcfg, int channels) {
    const PcfgRow row = PcfgOf(pcfg);
    const auto analog = [&](int channel) { return channel < channels && (row.analog >> channel & 1u) != 0; };
    // Runs of three or more channels read as AN0-AN4.
    std::string names;
    for (int first = 0; first < channels; ++first) {
        if (!analog(first)) continue;
        int last = first;
        while (analog(last + 1)) ++last;
        // Appended piece by piece: GCC 12 at -O3 warns (-Wrestrict) about a
        // literal put in front of a temporary string.
        if (!names.empty()) names += ',';
        names += "AN";
        names += std::to_string(first);
        if (last > first) {
            names += last - first >= 2 ? '-' : ',';
            names += "AN";
            names += std::to_string(last);
        }
        first = last;
    }
    return names + "模拟,VREF+=" + (row.vrefPlus ? "AN3" : "VDD") +
           ",VREF-=" + (row.vrefMinus ? "AN2" : "VSS");
}

std::span<const AdClock> AdClocks() {
    return kClocks;
}

const AdClock& AdClockOf(std::int16_t code) {
    for (const AdClock& clock : kClocks)
        if (clock.code == code) return clock;
    return kClocks[std::size(kClocks) - 1];
}

bool ClockOnPart(const AdClock& clock, bool aPart) {
    return aPart || !clock.onlyAParts;
}

double TadUs(const AdClock& clock, double mhz) {
    return clock.divisor == 0 ? kFrcTadUs : clock.divisor / mhz;
}

bool TadAllowed(const AdClock& clock, double mhz) {
    // divisor / mhz >= 1.6, compared in tenths so that 2 / 1.25 is allowed.
    return clock.divisor == 0 || clock.divisor * 10.0 >= 16.0 * mhz;
}

std::string AdClockReadout(const AdClock& clock, double mhz, const NumberLocale& locale) {
    if (clock.divisor == 0) {
        const auto range = [](int low, int high) { return std::to_string(low) + "-" + std::to_string(high); };
        return "TAD约" + range(kFrcTadMinUs, kFrcTadMaxUs) + "uS,转换时间约" +
               range(kFrcTadMinUs * kTadPerConversion, kFrcTadMaxUs * kTadPerConversion) + "uS";
    }
    const double tad = TadUs(clock, mhz);
    return "TAD=" + FixedDecimalText(tad, 3, locale) + "uS,转换时间" +
           FixedDecimalText(tad * kTadPerConversion, 3, locale) + "uS";
}

std::int16_t DefaultAdClock(double mhz, bool aPart) {
    for (const AdClock& clock : kClocks)
        if (ClockOnPart(clock, aPart) && clock.divisor != 0 && TadAllowed(clock, mhz)) return clock.code;
    return kAdClockFrc;
}

bool PartHasAdcs2(const ProjectSettings& s) {
    return ChosenPart(s).adcs2;
}

std::int16_t AdPcfgOf(const ProjectSettings& s) {
    const int channels = ChannelsOf(s);
    return s.AdPcfg >= 0 && s.AdPcfg < kPcfgCount && Offered(s.AdPcfg, channels)
               ? s.AdPcfg
               : OfferedPcfgs(channels).front();
}

std::vector<int> AnalogChannels(const ProjectSettings& s, std::int16_t pcfg) {
    std::vector<int> channels;
    const PcfgRow row = PcfgOf(pcfg);
    for (int channel = 0; channel < ChannelsOf(s); ++channel)
        if (row.analog >> channel & 1u) channels.push_back(channel);
    return channels;
}

std::vector<int> AnalogPinChannels(const ProjectSettings& s) {
    std::vector<int> channels;
    const std::uint8_t mask = AnalogPinMask(AdPcfgOf(s), ChannelsOf(s));
    for (int channel = 0; channel < kAdChannelCount; ++channel)
        if (mask >> channel & 1u) channels.push_back(channel);
    return channels;
}

int AdChannelOf(const ProjectSettings& s) {
    const std::vector<int> channels = AnalogChannels(s, AdPcfgOf(s));
    for (int channel : channels)
        if (channel == s.AdChannel) return channel;
    return channels.front();
}

std::int16_t AdClockCodeOf(const ProjectSettings& s) {
    const bool aPart = PartHasAdcs2(s);
    for (const AdClock& clock : kClocks)
        if (clock.code == s.AdClock && ClockOnPart(clock, aPart)) return clock.code;
    return DefaultAdClock(s.CrystalMHz, aPart);
}

void FollowCrystalAd(ProjectSettings& s) {
    if (s.AdClockByHand == 0) s.AdClock = DefaultAdClock(s.CrystalMHz, PartHasAdcs2(s));
}

std::int64_t AdAdcon1(const ProjectSettings& s) {
    const std::int64_t adfm = s.AdRightJustify == 1 ? 0x80 : 0;
    const std::int64_t adcs2 = PartHasAdcs2(s) ? (AdClockCodeOf(s) >> 2 & 1) << 6 : 0;
    return adfm | adcs2 | AdPcfgOf(s);
}

std::int64_t AdAdcon0(const ProjectSettings& s) {
    const std::int64_t adcs = AdClockCodeOf(s) & 0b11;
    constexpr std::int64_t kAdon = 1;
    return adcs << 6 | std::int64_t{AdChannelOf(s)} << 3 | kAdon;
}

}  // namespace korvane
