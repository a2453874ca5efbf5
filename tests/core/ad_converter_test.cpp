#include "settings/ad_converter.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "calc/settings_calc.h"
#include "chip/claims.h"
#include "chip/settle.h"
#include "generator/sections.h"
#include "settings/pin_claims.h"

namespace korvane {
namespace {

// gpsim's model of ADCON1 (p16f87x): per PCFG code, the channels that read
// analog (bit n = ANn, references included) and the reference pins.
TEST(PcfgTable, AgreesWithTheSimulatorsModel) {
    struct Row {
        unsigned analogPins;
        bool vrefPlus;
        bool vrefMinus;
    };
    constexpr Row kGpsim[kPcfgCount] = {
        {0xff, false, false}, {0xff, true, false},  {0x1f, false, false}, {0x1f, true, false},
        {0x0b, false, false}, {0x0b, true, false},  {0x00, false, false}, {0x00, false, false},
        {0xff, true, true},   {0x3f, false, false}, {0x3f, true, false},  {0x3f, true, true},
        {0x1f, true, true},   {0x0f, true, true},   {0x01, false, false}, {0x0d, true, true},
    };
    for (std::int16_t pcfg = 0; pcfg < kPcfgCount; ++pcfg) {
        const PcfgRow row = PcfgOf(pcfg);
        const unsigned refs = (row.vrefPlus ? 1u << 3 : 0u) | (row.vrefMinus ? 1u << 2 : 0u);
        EXPECT_EQ(row.analog | refs, kGpsim[pcfg].analogPins) << pcfg;
        EXPECT_EQ(row.analog & refs, 0u) << pcfg;
        EXPECT_EQ(row.vrefPlus, kGpsim[pcfg].vrefPlus) << pcfg;
        EXPECT_EQ(row.vrefMinus, kGpsim[pcfg].vrefMinus) << pcfg;
    }
}

TEST(PcfgTable, OffersEachDistinctChoiceOfThePartsChannelsOnce) {
    // On 28-pin parts codes that differ only in AN5..AN7 read the same.
    EXPECT_EQ(OfferedPcfgs(8), (std::vector<std::int16_t>{0, 1, 2, 3, 4, 5, 8, 9, 10, 11, 12, 13, 14, 15}));
    EXPECT_EQ(OfferedPcfgs(5), (std::vector<std::int16_t>{0, 1, 4, 5, 8, 13, 14, 15}));
    struct Case {
        std::int16_t pcfg;
        int channels;
        const char* text;
    };
    const Case cases[] = {
        {0b0000, 5, "AN0-AN4模拟,VREF+=VDD,VREF-=VSS"},
        {0b0100, 8, "AN0,AN1,AN3模拟,VREF+=VDD,VREF-=VSS"},
        {0b1000, 8, "AN0,AN1,AN4-AN7模拟,VREF+=AN3,VREF-=AN2"},
        {0b1111, 5, "AN0模拟,VREF+=AN3,VREF-=AN2"},
    };
    for (const Case& c : cases) EXPECT_EQ(PcfgText(c.pcfg, c.channels), c.text) << c.pcfg;
}

// The TAD rule at every crystal edge: the fastest clock keeping TAD >= 1.6 us.
TEST(AdClock, FastestClockKeepingTadAtTheEdges) {
    struct Case {
        double mhz;
        std::int16_t aPart;  // ADCS2:ADCS0 chosen on an A part
        std::int16_t plain;  // and on the others
    };
    const Case cases[] = {
        {1.25, 0b000, 0b000},       {1.26, 0b100, 0b001},     {2.5, 0b100, 0b001},
        {2.6, 0b001, 0b001},        {5, 0b001, 0b001},        {5.1, 0b101, 0b010},
        {10, 0b101, 0b010},         {10.1, 0b010, 0b010},     {20, 0b010, 0b010},
        {20.1, 0b110, kAdClockFrc}, {40, 0b110, kAdClockFrc}, {40.1, kAdClockFrc, kAdClockFrc},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DefaultAdClock(c.mhz, true), c.aPart) << c.mhz;
        EXPECT_EQ(DefaultAdClock(c.mhz, false), c.plain) << c.mhz;
    }
}

TEST(AdRegisters, Adcon1AndAdcon0FromTheSettings) {
    struct Case {
        std::int16_t part;  // 3 = 16F877, 7 = 16F877A, 0 = 16F873
        std::int16_t pcfg, channel, clock, right;
        float mhz;
        std::int64_t adcon1, adcon0;
    };
    const Case cases[] = {
        {7, 0b1110, 0, 0b110, 0, 20, 0x4E, 0x81},
        // No ADCS2 on the plain parts: /64 is no choice there, the crystal's default is.
        {3, 0b1110, 0, 0b110, 1, 4, 0x8E, 0x41},
        // A channel that is no analog pin falls back to the first one.
        {7, 0b0100, 2, 0b001, 1, 4, 0x84, 0x41},
        {7, 0b0100, 3, kAdClockFrc, 1, 4, 0x84, 0xD9},
        // 0010 reads as 0000 on a 28-pin part; AN5 is no channel there.
        {0, 0b0010, 5, 0b010, 1, 20, 0x80, 0x81},
    };
    for (const Case& c : cases) {
        ProjectSettings s;
        s.AdEn = 1;
        s.ChipPart = c.part;
        s.AdPcfg = c.pcfg;
        s.AdChannel = c.channel;
        s.AdClock = c.clock;
        s.AdRightJustify = c.right;
        s.CrystalMHz = c.mhz;
        EXPECT_EQ(Adcon1Of(s)->value, c.adcon1) << c.pcfg << " " << c.clock;
        EXPECT_EQ(AdAdcon0(s), c.adcon0) << c.pcfg << " " << c.clock;
    }
}

// The converter's pins are inputs, a reference pin on its own pin: VREF+
// alone sits on RA3, with VREF- beside it on RA2.
TEST(AdPins, AnalogAndReferencePinsAreInputs) {
    const std::pair<std::int16_t, int> cases[] = {{0b0101, 0x0B}, {0b1111, 0x0D}, {0b1110, 0x01}};
    for (const auto& [pcfg, trisa] : cases) {
        ProjectSettings s;
        s.AdEn = 1;
        s.AdPcfg = pcfg;
        ApplyPinClaims(s);
        int bits = 0;
        for (int pin = 0; pin < 8; ++pin) bits |= s.PortADir[pin] << pin;
        EXPECT_EQ(bits, trisa) << pcfg;
    }
}

TEST(AdClock, NewCrystalMovesOnlyAClockNotChosenByHand) {
    ProjectSettings s;
    s.CrystalMHz = 20;
    SettleProject(s, {});
    EXPECT_EQ(s.AdClock, 0b010);
    s.AdClock = 0b110;
    s.AdClockByHand = 1;
    s.CrystalMHz = 4;
    SettleProject(s, {});
    EXPECT_EQ(s.AdClock, 0b110);
}

}  // namespace
}  // namespace korvane
