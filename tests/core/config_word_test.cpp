// The configuration word against an independent oracle: gputils' assembler.
// Its listing of each part's fields (gpasm -s) gives the choices to expect,
// and a CONFIG line assembled for every choice gives the word to expect.
#include "generator/config_word.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "scratch_process.h"
#include "settings/parts.h"

namespace korvane {
namespace {

namespace fs = std::filesystem;

// "PIC16F877A" -> "p16f877a", the assembler's name of the part.
std::string AssemblerName(std::string_view part) {
    std::string name = "p";
    for (char c : part.substr(3)) name += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

// Field name -> (option name -> bits), as the assembler lists them.
using Listing = std::map<std::string, std::map<std::string, unsigned>>;

Listing ListFields(const std::string& part) {
    const CommandRun run = RunCommand(std::string(KORVANE_GPASM) + " -p " + part + " -s");
    EXPECT_TRUE(run.ok) << run.output;
    Listing listing;
    static const std::regex kDirective(R"(^\s*Directive:\s*(\S+))");
    static const std::regex kOption(R"(^\s*Option:\s*(\S+)\s*=\s*0x([0-9A-Fa-f]+))");
    std::istringstream lines(run.output);
    std::string line, field;
    std::smatch m;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, m, kDirective))
            field = m[1];
        else if (std::regex_search(line, m, kOption))
            listing[field][m[1]] = static_cast<unsigned>(std::stoul(m[2], nullptr, 16));
    }
    return listing;
}

// Assembles one CONFIG line naming every field's choice and reads the word
// from the hex record at byte address 0x400E (word 0x2007); -1 when refused.
long AssembledWord(const fs::path& dir, const std::string& part, const ProjectSettings& s) {
    std::string config = "\tCONFIG ";
    const ConfigFields& fields = ChosenPart(s).config;
    for (int f = 0; f < kConfigFieldCount; ++f) {
        if (f > 0) config += ", ";
        config += std::string(fields[f].directive) + "=" +
                  std::string(ChosenConfig(s, static_cast<ConfigField>(f)).option);
    }
    const fs::path source = dir / "word.asm";
    std::ofstream(source) << config << "\n\tend\n";
    const fs::path hex = dir / "word.hex";
    fs::remove(hex);
    const CommandRun run =
        RunCommand("cd '" + dir.string() + "' && " + KORVANE_GPASM + " -p " + part + " word.asm");
    if (!run.ok) return -1;
    std::ifstream in(hex);
    std::string record;
    while (std::getline(in, record)) {
        if (record.rfind(":02400E00", 0) == 0) {
            const unsigned low = std::stoul(record.substr(9, 2), nullptr, 16);
            const unsigned high = std::stoul(record.substr(11, 2), nullptr, 16);
            return static_cast<long>(high << 8 | low);
        }
    }
    return -2;
}

TEST(ConfigWord, EveryChoiceOfEveryPartMatchesTheAssembler) {
    ScratchDir scratch("korvane-config");
    ASSERT_FALSE(scratch.path().empty());
    int checked = 0;
    for (std::int16_t p = 0; p < kPartCount; ++p) {
        const PartFacts& part = Parts()[p];
        const std::string name = AssemblerName(part.name);
        const Listing listing = ListFields(name);

        // The fields and choices offered are exactly the ones the part has.
        Listing offered;
        for (const ConfigFieldFacts& field : part.config)
            for (const ConfigChoice& choice : field.choices)
                offered[std::string(field.directive)][std::string(choice.option)] = choice.bits;
        EXPECT_EQ(offered, listing) << part.name;

        for (int f = 0; f < kConfigFieldCount; ++f) {
            for (std::size_t c = 0; c < part.config[f].choices.size(); ++c) {
                ProjectSettings s;
                s.ChipPart = p;
                s.*ConfigSetting(static_cast<ConfigField>(f)) = static_cast<std::int16_t>(c);
                EXPECT_EQ(AssembledWord(scratch.path(), name, s), ConfigWord(s))
                    << part.name << " " << part.config[f].directive << "="
                    << part.config[f].choices[c].option;
                ++checked;
            }
        }
    }
    // Nine fields on eight parts, two to four choices each.
    EXPECT_GE(checked, 8 * 9 * 2);
}

TEST(ConfigWord, WhatAStoredIndexOutsideThePartMeans) {
    struct Case {
        const char* name;
        std::int16_t part;
        std::int16_t osc, cp, wrt;
        unsigned word;
    };
    const Case cases[] = {
        // The plain parts' fourth code-protection choice does not exist on
        // an A part, and a part index past the table means the default part.
        {"CpBeyondTheAPartsChoices", 7, kOscXt, 3, 0, 0x3F71},
        {"UnknownPartIs877A", 99, kOscXt, 1, 3, 0x1971},
        {"NegativeIndexIsTheFirstChoice", 7, -1, -1, -1, 0x3F70},
    };
    for (const Case& c : cases) {
        ProjectSettings s;
        s.ChipPart = c.part;
        s.CfgOsc = c.osc;
        s.CfgCp = c.cp;
        s.CfgWrt = c.wrt;
        EXPECT_EQ(ConfigWord(s), c.word) << c.name << " " << ConfigWordText(ConfigWord(s));
    }
}

TEST(ConfigWord, OscillatorFollowsTheCrystalUntilChosenByHand) {
    struct Case {
        float mhz;
        std::int16_t before, byHand, after;
    };
    const Case cases[] = {
        // The data sheet's range limits, beyond the rating, and a hand choice.
        {0.2f, kOscXt, 0, kOscLp},    {0.2001f, kOscLp, 0, kOscXt}, {4, kOscHs, 0, kOscXt},
        {4.0001f, kOscXt, 0, kOscHs}, {24, kOscXt, 0, kOscHs},      {20, kOscXt, 1, kOscXt},
    };
    for (const Case& c : cases) {
        ProjectSettings s;
        s.CrystalMHz = c.mhz;
        s.CfgOsc = c.before;
        s.CfgOscByHand = c.byHand;
        FollowCrystal(s);
        EXPECT_EQ(s.CfgOsc, c.after) << c.mhz << " MHz";
    }
}

}  // namespace
}  // namespace korvane
