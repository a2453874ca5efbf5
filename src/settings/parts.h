#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "settings/chip_facts.h"
#include "settings/project_settings.h"

namespace korvane {

// Everything that differs between the PIC16F87x(A) parts. Forms and the
// generator ask this table instead of testing for a part themselves.

// One choice of a configuration-word field.
struct ConfigChoice {
    std::string_view option;  // the assembler's name: CONFIG FIELD=OPTION
    std::uint16_t bits;       // the field's bits for this choice
    std::string_view text;    // how the generated comment line names it
};

// The fields of the configuration word, in the order the dialog shows them
// and the comment line names them.
enum class ConfigField { Osc, Wdt, Pwrt, Bor, Lvp, Debug, Cp, Cpd, Wrt };
inline constexpr int kConfigFieldCount = 9;

struct ConfigFieldFacts {
    std::string_view directive;  // the assembler's name of the field
    std::uint16_t mask;          // the word's bits the field occupies
    std::span<const ConfigChoice> choices;
};

using ConfigFields = std::array<ConfigFieldFacts, kConfigFieldCount>;

struct PartFacts {
    std::string_view name;  // "PIC16F877A"
    int pins;               // 28 or 40
    int analogChannels;
    bool adcs2;        // ADCON1 has ADCS2: the A/D clocks Fosc/4, /16 and /64
    bool comparators;  // CMCON and CVRCON: two comparators and their voltage reference
    const ConfigFields& config;

    // The 28-pin parts lack ports D and E (and the parallel slave port).
    constexpr bool hasPortsDE() const { return pins > 28; }
};

// The parts in the order the chip dialog lists them; ChipPart holds the index.
std::span<const PartFacts, kPartCount> Parts();

// The chosen part; a stored index that is no part counts as the default.
std::int16_t ChosenPartIndex(const ProjectSettings& settings);
const PartFacts& ChosenPart(const ProjectSettings& settings);

// Whether port 0 (A) .. 4 (E) exists on the chosen part.
bool PortExists(const ProjectSettings& settings, int port);

// The setting that holds each field's choice, as an index into its choices.
std::int16_t ProjectSettings::*ConfigSetting(ConfigField field);

// A field's stored choice on the chosen part; an index the part does not
// offer counts as the field's first choice.
const ConfigChoice& ChosenConfig(const ProjectSettings& settings, ConfigField field);

// The erased word: every bit 1, on every part.
inline constexpr std::uint16_t kErasedConfigWord = 0x3FFF;

// Highest crystal frequency the parts are rated for.
inline constexpr float kHighestCrystalMHz = 20;
// The crystal oscillator mode for a frequency, by the data sheet's ranges:
// up to 0.2 MHz LP, up to 4 MHz XT, above that HS (also beyond the rating).
std::int16_t OscillatorForCrystal(float mhz);
// Moves the oscillator choice along with a new crystal, unless the user
// chose RC or set the oscillator by hand.
void FollowCrystal(ProjectSettings& settings);

}  // namespace korvane
