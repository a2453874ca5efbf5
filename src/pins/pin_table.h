#pragma once

#include <cstddef>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/form_id.h"
#include "settings/project_settings.h"

namespace korvane {

// What every pin of the chosen part does under the settings: the pin map
// draws this table, korvane-gen --pins prints it. It asks the pin claims,
// the port directions, the A/D converter's PCFG and the configuration word,
// the same code the dialogs and the generator ask.

enum class PinKind {
    Power,          // VDD, VSS
    Reset,          // MCLR
    Oscillator,     // OSC1, OSC2
    DigitalInput,   // a port pin the Port dialog makes an input
    DigitalOutput,  // ... an output
    Analog,         // an A/D channel
    Reference,      // VREF+ or VREF-
    Module,         // taken by a module: CCP, SCI, MSSP, Timer0/1, RB interrupts
    Programming,    // RB3 as PGM (low-voltage programming), RB6/RB7 for the debugger
    Free,           // a port pin nothing uses
    Conflict,       // two modules want it
};

// The legend's text of each kind, in PinKind order. Inline, so that the
// picture library korvane-gen loads needs nothing else of the core.
struct PinKindText {
    PinKind kind;
    const char* text;
};
inline constexpr PinKindText kPinKindTexts[] = {
    {PinKind::Power, "电源"},
    {PinKind::Reset, "复位"},
    {PinKind::Oscillator, "振荡器"},
    {PinKind::DigitalInput, "数字输入"},
    {PinKind::DigitalOutput, "数字输出"},
    {PinKind::Analog, "模拟输入"},
    {PinKind::Reference, "参考电压"},
    {PinKind::Module, "模块功能"},
    {PinKind::Programming, "编程/调试"},
    {PinKind::Free, "未用"},
    {PinKind::Conflict, "冲突"},
};
inline constexpr std::size_t kPinKindCount = std::size(kPinKindTexts);
constexpr bool KindTextsInOrder() {
    for (std::size_t i = 0; i < kPinKindCount; ++i)
        if (static_cast<std::size_t>(kPinKindTexts[i].kind) != i) return false;
    return kPinKindCount == static_cast<std::size_t>(PinKind::Conflict) + 1;
}
static_assert(KindTextsInOrder(), "every kind has its text, in the order of PinKind");
inline const char* KindText(PinKind kind) {
    return kPinKindTexts[static_cast<std::size_t>(kind)].text;
}

struct PinRow {
    int number;
    std::string name;  // "RC6/TX/CK"
    PinKind kind;
    std::string use;     // short, for the picture and the table: "SCI发送TX"
    std::string detail;  // what the tool tip says; lines joined by "\n"
    // The dialog that decides the pin's use, if any does.
    std::optional<FormId> form;

    bool operator==(const PinRow&) const = default;
};

struct PinTable {
    std::string part;          // "PIC16F877A"
    std::string package;       // "DIP40"
    std::vector<PinRow> rows;  // by pin number, from 1

    bool operator==(const PinTable&) const = default;
};

PinTable PinTableOf(const ProjectSettings& s);

// The picture formats the pin map is saved in, by the file's suffix in any
// case; the suffix chooses.
enum class PinMapFormat { Unknown, Svg, Png };
inline PinMapFormat PinMapFormatOf(std::string_view path) {
    const auto ends = [&](std::string_view upper, std::string_view lower) {
        if (path.size() < upper.size()) return false;
        const std::string_view tail = path.substr(path.size() - upper.size());
        for (std::size_t i = 0; i < tail.size(); ++i)
            if (tail[i] != upper[i] && tail[i] != lower[i]) return false;
        return true;
    };
    if (ends(".SVG", ".svg")) return PinMapFormat::Svg;
    if (ends(".PNG", ".png")) return PinMapFormat::Png;
    return PinMapFormat::Unknown;
}

// korvane-gen --pins: one line per pin, its number, name and use.
std::string PinTableText(const PinTable& table);

}  // namespace korvane
