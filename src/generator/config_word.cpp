#include "generator/config_word.h"

#include <cstdio>

#include "settings/parts.h"

namespace korvane {

std::uint16_t ConfigWord(const ProjectSettings& settings) {
    // Bits no field covers stay erased, as the assembler leaves them.
    std::uint16_t word = kErasedConfigWord;
    const ConfigFields& fields = ChosenPart(settings).config;
    for (int f = 0; f < kConfigFieldCount; ++f) {
        const auto field = static_cast<ConfigField>(f);
        word = static_cast<std::uint16_t>((word & ~fields[f].mask) | ChosenConfig(settings, field).bits);
    }
    return word;
}

std::string ConfigWordText(std::uint16_t word) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%04X", static_cast<unsigned>(word));
    return text;
}

}  // namespace korvane
