// The source assembly over settings records whose every field takes any kind
// and value: NaN, infinities, invalid UTF-8, texts with CR or LF.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "fuzz_check.h"
#include "generator/source_assembly.h"
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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const ProjectSettings settings = AnySettings(in);
    const std::string plain = AssembleSource(settings, false);
    const std::string commented = AssembleSource(settings, true);
    CheckSource(plain, false);
    CheckSource(commented, true);
    FUZZ_CHECK(AssembleSource(settings, false) == plain);
    return 0;
}
