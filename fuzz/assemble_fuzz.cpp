// The source assembly over settings records whose every field takes any kind
// and value: NaN, infinities, invalid UTF-8, texts with CR or LF. The same
// record, brought within what a project file accepts and settled as opening
// it does, must give only statements the chip has: every NAME=VALUE names a
// register or bit of the part as gputils' include file does, with a byte or
// a bit as its value.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <fstream>
#include <limits>
#include <map>
#include <regex>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "calc/settings_calc.h"
#include "chip/assemble.h"
#include "chip/build_program.h"
#include "chip/settle.h"
#include "fuzz_check.h"
#include "generator/classic_writer.h"
#include "generator/program_check.h"
#include "generator/sections.h"
#include "project/project_file.h"
#include "random_settings.h"
#include "settings/parts.h"
#include "settings/setting_rules.h"
#include "settings/setting_table.h"

namespace {

using namespace korvane;

float AnySingle(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 3)) {
        case 0:
            return std::numeric_limits<float>::quiet_NaN();
        case 1:
            return in.ConsumeBool() ? std::numeric_limits<float>::infinity()
                                    : -std::numeric_limits<float>::infinity();
        case 2:
            return static_cast<float>(in.ConsumeIntegralInRange(-2, 20));
        default:
            return in.ConsumeFloatingPoint<float>();
    }
}

// Small values most of the time, so that every section and branch is reached.
std::int16_t AnyInt16(FuzzedDataProvider& in) {
    return in.ConsumeBool() ? static_cast<std::int16_t>(in.ConsumeIntegralInRange(-1, 16))
                            : in.ConsumeIntegral<std::int16_t>();
}

SettingValue AnyValue(FuzzedDataProvider& in) {
    switch (in.ConsumeIntegralInRange(0, 6)) {
        case 0:
            return SettingValue();
        case 1:
            return in.ConsumeBool();
        case 2:
            return AnySingle(in);
        case 3:
            return in.ConsumeFloatingPoint<double>();
        case 4:
            return in.ConsumeRandomLengthString(16);
        case 5:
            return in.ConsumeIntegral<std::int64_t>();
        default:
            return AnyInt16(in);
    }
}

void Fill(FuzzedDataProvider& in, float& single) {
    single = AnySingle(in);
}
void Fill(FuzzedDataProvider& in, std::int16_t& whole) {
    whole = AnyInt16(in);
}
void Fill(FuzzedDataProvider& in, std::string& text) {
    text = in.ConsumeRandomLengthString(16);
}
void Fill(FuzzedDataProvider& in, PinDirections& pins) {
    for (std::int16_t& pin : pins) pin = AnyInt16(in);
}
void Fill(FuzzedDataProvider& in, SettingValue& value) {
    value = AnyValue(in);
}

ProjectSettings AnySettings(FuzzedDataProvider& in) {
    ProjectSettings s;
    for (const Setting& setting : kSettings)
        std::visit([&](auto member) { Fill(in, s.*member); }, setting.member);
    // The checks below read the classic text.
    s.OutputForm = 0;
    return s;
}

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t end; (end = text.find("\r\n")) != std::string_view::npos; text.remove_prefix(end + 2))
        lines.push_back(text.substr(0, end));
    return lines;
}

int Count(const std::vector<std::string_view>& lines, std::string_view wanted) {
    int n = 0;
    for (const auto line : lines) n += line == wanted;
    return n;
}

bool IsCommentOnly(std::string_view line) {
    const auto first = line.find_first_not_of(' ');
    return first != std::string_view::npos && line.substr(first, 2) == "//";
}

void CheckSource(const std::string& text, bool withComments) {
    // CR LF line ends only: no CR or LF on its own anywhere.
    FUZZ_CHECK(text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') FUZZ_CHECK(i + 1 < text.size() && text[i + 1] == '\n');
        if (text[i] == '\n') FUZZ_CHECK(i > 0 && text[i - 1] == '\r');
    }
    const std::vector<std::string_view> lines = Lines(text);
    FUZZ_CHECK(!lines.empty() && lines.front() == "#include<pic.h>");

    // Each function is declared, defined and called together, or not at all.
    for (const std::string name :
         {"set_port", "fun_timerset", "fun_ccpset", "fun_sciset", "fun_msspset", "fun_intset"}) {
        const int defined = Count(lines, "void " + name + "()");
        FUZZ_CHECK(defined <= 1);
        FUZZ_CHECK(Count(lines, "void " + name + "();") == defined);
        FUZZ_CHECK(Count(lines, " " + name + "();") == defined);
    }
    const int irq = Count(lines, "void interrupt IRQ(void)");
    FUZZ_CHECK(irq <= 1 && Count(lines, "void interrupt IRQ(void);") == irq);
    FUZZ_CHECK(Count(lines, "void main()") == 1);

    // Without comments no line is a comment.
    if (!withComments) {
        for (const auto line : lines) FUZZ_CHECK(!IsCommentOnly(line));
    }
}

void CheckAccepted(const ProjectSettings& s) {
    const auto read = ParseProject(ProjectText(s), "fuzz.kvp");
    if (const auto* error = std::get_if<ProjectError>(&read))
        std::fprintf(stderr, "%s\n", error->text().c_str());
    FUZZ_CHECK(std::holds_alternative<ProjectSettings>(read));
}

// The part's registers and bits, read once from gputils' include file: names
// before the first list of bits are registers.
struct ChipNames {
    std::map<std::string, bool, std::less<>> isBit;
};
const ChipNames& NamesOf(std::string_view part) {
    static std::map<std::string, ChipNames, std::less<>> parts;
    std::string file(part.substr(3));  // "PIC16F877A" -> "16f877a"
    for (char& c : file) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    auto [entry, fresh] = parts.try_emplace(file);
    if (!fresh) return entry->second;
    std::ifstream in(std::string(KORVANE_GPUTILS_HEADERS) + "/p" + file + ".inc");
    FUZZ_CHECK(in);
    static const std::regex kEqu(R"(^(\w+)\s+EQU\s+H'([0-9A-Fa-f]+)')");
    bool bits = false;
    for (std::string line; std::getline(in, line);) {
        if (line.find("Bits") != std::string::npos && line.starts_with(";")) bits = true;
        std::smatch match;
        if (std::regex_search(line, match, kEqu)) entry->second.isBit.emplace(match[1].str(), bits);
    }
    return entry->second;
}

bool IsByte(std::string_view value) {
    return value.size() == 4 && value.starts_with("0x") &&
           value.substr(2).find_first_not_of("0123456789ABCDEF") == std::string_view::npos;
}

// Lines the skeleton writes around the statements: the header, the
// configuration word, functions and their calls, braces, and the variable
// that keeps what port B read when it changed.
bool IsSkeleton(std::string_view line) {
    static const std::regex kSkeleton(
        R"(#include<pic\.h>|__CONFIG\(0x[0-9A-F]{4}\);|void \w+\(\);?|void interrupt IRQ\(void\);?| *[{}]| \w+\(\);|)"
        // A branch's read into a variable kept for main: portb_state, cmcon_state.
        R"(volatile unsigned char \w+_state;| *\w+_state=(PORTB|CMCON);|)"
        // The comparators' settling wait: a counted loop in a block.
        R"( *\{volatile unsigned char n=\d+;while\(n\)n--;\})");
    return std::regex_match(line.begin(), line.end(), kSkeleton);
}

void CheckStatements(const std::string& text, const ProjectSettings& s) {
    const ChipNames& names = NamesOf(ChosenPart(s).name);
    const auto known = [&](const std::string& name) -> const bool* {
        for (const std::string& spelt : {name, "NOT_" + name}) {
            const auto found = names.isBit.find(spelt);
            if (found != names.isBit.end()) return &found->second;
        }
        return nullptr;
    };
    for (std::string_view line : Lines(text)) {
        if (const auto comment = line.find("//"); comment != std::string_view::npos)
            line = line.substr(0, comment);
        while (!line.empty() && line.back() == ' ') line.remove_suffix(1);
        if (line.empty() || IsSkeleton(line)) continue;
        // An interrupt branch tests a flag the chip has.
        static const std::regex kBranch(R"( if\((\w+)\))");
        if (std::match_results<std::string_view::const_iterator> flag;
            std::regex_match(line.begin(), line.end(), flag, kBranch)) {
            const bool* bit = known(flag[1].str());
            FUZZ_CHECK(bit && *bit);
            continue;
        }
        // Statements: " NAME=VALUE;", several on a line, a value given to several names.
        if (line.back() != ';')
            std::fprintf(stderr, "not a statement line: %.*s\n", static_cast<int>(line.size()), line.data());
        FUZZ_CHECK(line.back() == ';');
        for (std::size_t start = 0, end; (end = line.find(';', start)) != std::string_view::npos;
             start = end + 1) {
            std::string statement(line.substr(start, end - start));
            std::erase(statement, ' ');
            std::vector<std::string> parts;
            for (std::size_t from = 0, eq;; from = eq + 1) {
                eq = statement.find('=', from);
                parts.push_back(statement.substr(from, eq - from));
                if (eq == std::string::npos) break;
            }
            if (parts.size() < 2) std::fprintf(stderr, "not a statement: %s\n", statement.c_str());
            FUZZ_CHECK(parts.size() >= 2);
            const std::string& value = parts.back();
            for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
                const bool* bit = known(parts[i]);
                if (!bit)
                    std::fprintf(stderr, "not on %s: %s\n", std::string(ChosenPart(s).name).c_str(),
                                 parts[i].c_str());
                FUZZ_CHECK(bit);
                if (*bit ? !(value == "0" || value == "1") : !IsByte(value))
                    std::fprintf(stderr, "bad value: %s\n", statement.c_str());
                FUZZ_CHECK(*bit ? value == "0" || value == "1" : IsByte(value));
            }
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const ProjectSettings settings = AnySettings(in);
    // Every register and bit the program names exists on its part; the
    // assembly would refuse it otherwise.
    FUZZ_CHECK(NamesThePartLacks(BuildProgram(settings)).empty());
    const std::string plain = AssembleSource(settings, false);
    const std::string commented = AssembleSource(settings, true);
    CheckSource(plain, false);
    CheckSource(commented, true);
    FUZZ_CHECK(AssembleSource(settings, false) == plain);

    // As a project file holds it, and as opening it leaves it: both are files
    // the program takes again, and the text names only what the chip has.
    ProjectSettings accepted = WithinRules(settings);
    CheckAccepted(accepted);
    SettleProject(accepted, kPlainNumbers);
    CheckAccepted(accepted);
    for (bool comments : {false, true}) CheckStatements(AssembleSource(accepted, comments), accepted);
    return 0;
}
