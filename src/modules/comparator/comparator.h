#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "format/number_text.h"
#include "settings/pin_claims.h"
#include "settings/project_settings.h"

namespace korvane {

// The comparators and their voltage reference (CMCON, CVRCON), which only
// the A parts have: the data sheet's eight modes, what each does with
// RA0..RA5, and the reference's voltage.

inline constexpr int kComparatorModeCount = 8;
inline constexpr std::int16_t kComparatorsReset = 0b000;
inline constexpr std::int16_t kComparatorsMultiplexed = 0b110;
inline constexpr std::int16_t kComparatorsOff = 0b111;
inline constexpr int kCvrSteps = 16;

struct ComparatorMode {
    std::int16_t code;  // CM2:CM0
    const char* text;
    bool c1;               // C1 compares
    bool c2;               // C2 compares
    bool commonReference;  // both compare with RA3 (VIN+)
    bool c1Out;            // C1OUT drives RA4
    bool c2Out;            // C2OUT drives RA5
};
// By code.
std::span<const ComparatorMode, kComparatorModeCount> ComparatorModes();
// The chosen mode; a code that is none counts as off.
const ComparatorMode& ComparatorModeOf(const ProjectSettings& s);

bool PartHasComparators(const ProjectSettings& s);
// Switched on, on a part that has it.
bool ComparatorUsed(const ProjectSettings& s);
bool CvrefOnPin(const ProjectSettings& s);

std::int64_t CmconValue(const ProjectSettings& s);
std::int64_t CvrconValue(const ProjectSettings& s);

// CVRR = 1: CVR/24 x VDD; CVRR = 0: VDD/4 + CVR/32 x VDD.
double CvrefVolts(std::int16_t lowRange, std::int16_t step, double vdd);
// How the dialog and the comment state a reference: "12/24VDD,VDD=5V时为2.500V".
std::string CvrefText(std::int16_t lowRange, std::int16_t step, const NumberLocale& locale);

// A pin of port A the module takes, with what it does there.
struct ComparatorPin {
    PinUse use;
    int pin;
    PinSignal signal;
    bool input;
    const char* text;
};
std::vector<ComparatorPin> ComparatorPins(const ProjectSettings& s);

}  // namespace korvane
