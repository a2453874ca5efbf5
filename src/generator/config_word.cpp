#include "generator/config_word.h"

#include <cstdio>

#include "generator/source_lines.h"
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

std::string BuildConfigWord(const ProjectSettings& settings, bool withComments) {
    if (settings.CfgWrite == 0) return {};
    SourceLines out(withComments);
    if (withComments) {
        // A number, never the compilers' symbolic names: those differ between versions.
        std::string names = "//配置字:";
        for (int f = 0; f < kConfigFieldCount; ++f)
            (names += ' ') += ChosenConfig(settings, static_cast<ConfigField>(f)).text;
        out.Comment({names});
    }
    out.Line({"__CONFIG(", ConfigWordText(ConfigWord(settings)), ");"});
    return out.Take();
}

}  // namespace korvane
