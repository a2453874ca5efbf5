#include "pins/pin_table.h"

#include <algorithm>
#include <cstdio>

#include "chip/claims.h"
#include "chip/module_list.h"
#include "format/number_text.h"
#include "pins/packages.h"
#include "settings/ad_converter.h"
#include "settings/parts.h"
#include "settings/pin_claims.h"

namespace korvane {

namespace {

constexpr const char kPortLetters[] = "ABCDE";

const PinDirections& DirectionsOf(const ProjectSettings& s, int port) {
    static constexpr PinDirections ProjectSettings::*kDirections[] = {
        &ProjectSettings::PortADir, &ProjectSettings::PortBDir, &ProjectSettings::PortCDir,
        &ProjectSettings::PortDDir, &ProjectSettings::PortEDir};
    return s.*kDirections[port];
}

bool PortUsed(const ProjectSettings& s, int port) {
    static constexpr std::int16_t ProjectSettings::*kUsed[] = {
        &ProjectSettings::PortAUsed, &ProjectSettings::PortBUsed, &ProjectSettings::PortCUsed,
        &ProjectSettings::PortDUsed, &ProjectSettings::PortEUsed};
    return s.*kUsed[port] != 0;
}

std::optional<FormId> FormOfUse(PinUse use) {
    return ModuleOfUse(use).form;
}

std::string ModuleName(PinUse use) {
    return ModuleOfUse(use).name;
}

// What a module does with a pin it claims.
std::string ClaimText(const ProjectSettings& s, const PinClaim& claim) {
    return ModuleOfUse(claim.use).pinText(s, claim);
}

// By what the claim does with its voltage, whichever module makes it.
PinKind ClaimKind(const PinClaim& claim) {
    switch (claim.signal) {
        case PinSignal::AnalogInput:
            return PinKind::Analog;
        case PinSignal::ReferenceInput:
        case PinSignal::AnalogOutput:
            return PinKind::Reference;
        default:
            return PinKind::Module;
    }
}

// A message's lines (joined by "\r") as a tool tip's.
std::string Lines(std::string text) {
    std::ranges::replace(text, '\r', '\n');
    return text;
}

void FixedPin(const ProjectSettings& s, const PackagePin& pin, PinRow& row) {
    const ConfigChoice& osc = ChosenConfig(s, ConfigField::Osc);
    const bool rc = s.CfgOsc == kOscRc;
    const std::string crystal = SingleText(s.CrystalMHz) + "MHz";
    switch (pin.function) {
        case PinFunction::Vdd:
            row = {row.number, row.name, PinKind::Power, "电源正", "电源正极VDD", std::nullopt};
            return;
        case PinFunction::Vss:
            row = {row.number, row.name, PinKind::Power, "电源地", "电源地VSS", std::nullopt};
            return;
        case PinFunction::Mclr:
            row = {row.number,  row.name, PinKind::Reset, "复位", "复位输入(低电平复位),编程时接VPP",
                   std::nullopt};
            return;
        case PinFunction::Osc1:
        case PinFunction::Osc2: {
            const bool one = pin.function == PinFunction::Osc1;
            std::string use = rc ? (one ? "RC振荡输入" : "CLKO输出Fosc/4") : crystal + "晶体";
            std::string detail =
                std::string(osc.text) + "(配置字FOSC=" + std::string(osc.option) + ")\n" +
                (rc ? std::string(one ? "接外部RC电路" : "输出Fosc/4时钟") + ",频率" + crystal
                    : "接" + crystal + "晶体");
            row = {row.number,     row.name,          PinKind::Oscillator,
                   std::move(use), std::move(detail), FormId::ConfigWord};
            return;
        }
        case PinFunction::Port:
            return;
    }
}

// RB3 is PGM while low-voltage programming is on, RB6/RB7 belong to the
// debugger while in-circuit debugging is on: no I/O there whatever the port says.
std::optional<PinRow> ProgrammingPin(const ProjectSettings& s, const PackagePin& pin, const PinRow& row) {
    if (pin.port != kPortB) return std::nullopt;
    const bool lvp = ChosenConfig(s, ConfigField::Lvp).option == "ON";
    const bool debug = ChosenConfig(s, ConfigField::Debug).option == "ON";
    if (pin.bit == 3 && lvp)
        return PinRow{row.number,
                      row.name,
                      PinKind::Programming,
                      "低电压编程PGM",
                      "配置字LVP=ON:RB3作低电压编程PGM脚,不能作I/O",
                      FormId::ConfigWord};
    if ((pin.bit == 6 || pin.bit == 7) && debug)
        return PinRow{row.number,
                      row.name,
                      PinKind::Programming,
                      pin.bit == 6 ? "在线调试PGC" : "在线调试PGD",
                      "配置字DEBUG=ON:RB6/RB7由在线调试器使用",
                      FormId::ConfigWord};
    return std::nullopt;
}

void PortPin(const ProjectSettings& s, const std::vector<PinClaim>& claims,
             const std::vector<PinConflict>& conflicts, const PackagePin& pin, PinRow& row) {
    const std::string bit = PinName(pin.port, pin.bit);
    const auto on = [&](const PinClaim& c) { return c.port == pin.port && c.pin == pin.bit; };
    const auto conflict = std::ranges::find_if(conflicts, [&](const PinConflict& c) { return on(c.taker); });
    if (conflict != conflicts.end()) {
        const PinMessage message = ConflictMessage(*conflict);
        row.kind = PinKind::Conflict;
        row.use = "冲突:" + ModuleName(conflict->holder.use) + "/" + ModuleName(conflict->taker.use);
        row.detail = message.title + "\n" + ClaimText(s, conflict->holder) + "/" +
                     ClaimText(s, conflict->taker) + "\n" + Lines(message.text);
        row.form = FormOfUse(conflict->taker.use);
        return;
    }
    // Timer1's oscillator clocks it through RC0 as its counter would: the
    // oscillator says more.
    auto claim = std::ranges::find_if(
        claims, [&](const PinClaim& c) { return on(c) && c.use == PinUse::Timer1Oscillator; });
    if (claim == claims.end()) claim = std::ranges::find_if(claims, on);
    if (claim != claims.end()) {
        row.use = ClaimText(s, *claim);
        row.kind = ClaimKind(*claim);
        row.detail = bit + ":" + row.use + "\n" + (claim->input ? "TRIS位=1(输入)" : "TRIS位=0(输出)");
        row.form = FormOfUse(claim->use);
        return;
    }
    if (auto programming = ProgrammingPin(s, pin, row)) {
        row = std::move(*programming);
        return;
    }
    row.form = FormId::Port;
    const std::string tris = "TRIS" + std::string(1, kPortLetters[pin.port]) + std::to_string(pin.bit);
    if (!PortUsed(s, pin.port)) {
        row.kind = PinKind::Free;
        row.use = "未用";
        row.detail =
            bit + ":R" + std::string(1, kPortLetters[pin.port]) + "口未使用,引脚保持上电时的输入状态";
        return;
    }
    const bool input = DirectionsOf(s, pin.port)[static_cast<std::size_t>(pin.bit)] != 0;
    row.kind = input ? PinKind::DigitalInput : PinKind::DigitalOutput;
    row.use = input ? "数字输入" : "数字输出";
    row.detail = bit + ":" + row.use + "\n" + tris + (input ? "=1" : "=0");
}

}  // namespace

PinTable PinTableOf(const ProjectSettings& s) {
    const PartFacts& part = ChosenPart(s);
    const Package& package = PackageOf(part);
    const std::vector<PinClaim> claims = PinClaims(s);
    const std::vector<PinConflict> conflicts = PinConflicts(s);
    PinTable table{std::string(part.name), std::string(package.name), {}};
    for (const PackagePin& pin : package.pins) {
        PinRow row{pin.number, PinNameOn(pin, part), PinKind::Free, {}, {}, std::nullopt};
        if (pin.function == PinFunction::Port)
            PortPin(s, claims, conflicts, pin, row);
        else
            FixedPin(s, pin, row);
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::string PinTableText(const PinTable& table) {
    std::size_t width = 0;
    for (const PinRow& row : table.rows) width = std::max(width, row.name.size());
    std::string text;
    for (const PinRow& row : table.rows) {
        char number[16];
        std::snprintf(number, sizeof number, "%2d  ", row.number);
        text += number + row.name + std::string(width - row.name.size() + 2, ' ') + row.use + "\n";
    }
    return text;
}

}  // namespace korvane
