#include "modules/comparator/comparator_module.h"

#include <algorithm>
#include <cmath>

#include "modules/comparator/comparator.h"
#include "settings/parts.h"

namespace korvane {

namespace {

// The data sheet gives a mode change 10 us before the outputs are valid, and
// the reference as long to settle after a new CVRCON value.
constexpr std::int64_t kSettleUs = 10;

bool ComparatorInterrupt(const ProjectSettings& s) {
    return ComparatorUsed(s) && s.CmpInt != 0;
}

// Turns of a loop of at least three instruction cycles that last the
// settling time; a crystal no dialog takes counts as the fastest one.
std::int64_t SettleLoops(float mhz) {
    const double clock = std::isfinite(mhz) && mhz > 0 ? std::min<double>(mhz, 40) : 20;
    const auto cycles = static_cast<std::int64_t>(std::ceil(kSettleUs * clock / 4 - 1e-9));
    return std::max<std::int64_t>(1, (cycles + 2) / 3);
}

std::string Bits(std::int64_t value, int count) {
    std::string bits;
    for (int bit = count - 1; bit >= 0; --bit) bits += (value >> bit & 1) ? '1' : '0';
    return bits;
}

// The reference first, so that it settles while the comparators do.
void BuildComparators(const ProjectSettings& s, Body& out) {
    const ComparatorMode& mode = ComparatorModeOf(s);
    if (s.CvrEn == 1) {
        const std::int64_t cvrcon = CvrconValue(s);
        out.Comment({"//参考电压", s.CvrRange == 1 ? "低量程" : "高量程",
                     ",CVREF=", CvrefText(s.CvrRange, s.CvrValue, kPlainNumbers)});
        if (s.CvrOe == 1) out.Comment({"//CVREF从RA2输出"});
        out.Set({{"CVRCON", cvrcon, ValueForm::Byte}},
                "//CVREN=1 CVROE=" + std::to_string(s.CvrOe == 1 ? 1 : 0) +
                    " CVRR=" + std::to_string(s.CvrRange == 1 ? 1 : 0) + " CVR=" + Bits(cvrcon, 4));
    }
    const std::int64_t cmcon = CmconValue(s);
    out.Comment({"//", mode.text});
    if (mode.code == kComparatorsMultiplexed)
        out.Comment(
            {cmcon >> 3 & 1 ? "//CIS=1:C1的VIN-接RA3,C2的VIN-接RA2" : "//CIS=0:C1的VIN-接RA0,C2的VIN-接RA1"});
    if (cmcon >> 4 & 1) out.Comment({"//C1输出反相"});
    if (cmcon >> 5 & 1) out.Comment({"//C2输出反相"});
    out.Set({{"CMCON", cmcon, ValueForm::Byte}},
            "//C2INV=" + std::to_string(cmcon >> 5 & 1) + " C1INV=" + std::to_string(cmcon >> 4 & 1) +
                " CIS=" + std::to_string(cmcon >> 3 & 1) + " CM=" + Bits(cmcon, 3));
    if (!mode.c1) return;
    out.Wait(kSettleUs, SettleLoops(s.CrystalMHz), "//等待10uS:模式改变后比较器输出有效,参考电压稳定");
    // The mode change may have raised CMIF; enabling the interrupt then
    // would enter it with no change to tell.
    if (ComparatorInterrupt(s)) {
        out.Read("cmcon_state", "CMCON", "//读CMCON结束失配,再清CMIF,打开中断时不会误入中断");
        out.SetBitAlone("CMIF", 0);
    }
}

constexpr InterruptSource kInterrupts[] = {
    // CMIF is set again at once while an output differs from what CMCON
    // last read, as RBIF is for PORTB.
    {.serviced = ComparatorInterrupt,
     .enabled = ComparatorInterrupt,
     .peripheral = true,
     .flag = "CMIF",
     .serviceComment = "//比较器中断服务子程序",
     .enableBit = "CMIE",
     .enableComment = "//比较器中断允许",
     .variable = "cmcon_state",
     .source = "CMCON",
     .readComment = "//先读CMCON结束失配,否则CMIF清零后又被置位,中断反复进入",
     .declaration = "volatile unsigned char cmcon_state;",
     .declarationComment = "//比较器中断时读到的CMCON值(C2OUT第7位,C1OUT第6位)"},
};

void ClaimPins(const ProjectSettings& s, std::vector<PinClaim>& out) {
    for (const ComparatorPin& pin : ComparatorPins(s))
        out.push_back({pin.use, kPortA, pin.pin, pin.input, pin.signal});
}

constexpr PinUseTexts kPinUses[] = {
    {PinUse::Comparator, "CmpEn", "比较器模块", "在比较器模块中改选不用此引脚的模式"},
    {PinUse::VoltageReference, "CvrOe", "参考电压输出CVREF", "关闭CVREF输出"},
};

std::string PinText(const ProjectSettings& s, const PinClaim& claim) {
    for (const ComparatorPin& pin : ComparatorPins(s))
        if (claim.port == kPortA && pin.pin == claim.pin && pin.use == claim.use) return pin.text;
    return "比较器";
}

void Rules(const ProjectSettings& s, std::vector<RuleBreach>& out) {
    if (s.CmpEn != 0 && !PartHasComparators(s))
        out.push_back(
            {"CmpEn", std::to_string(s.CmpEn), ",而" + std::string(ChosenPart(s).name) + "没有比较器模块"});
}

// A part without the module no longer sets it up, as ports D and E.
void SwitchPart(const ProjectSettings& before, ProjectSettings& after, std::vector<std::string>& changes) {
    if (PartHasComparators(after) || after.CmpEn == 0) return;
    if (ComparatorUsed(before)) {
        const std::string part(ChosenPart(after).name);
        changes.push_back(part + "没有比较器模块。");
        changes.push_back("切换到" + part + "将不再设置比较器和参考电压");
    }
    after.CmpEn = 0;
}

}  // namespace

constexpr Module kComparatorModule = {
    .name = "Comparator",
    .setup = SetupId::Comparator,
    .writesSetup = ComparatorUsed,
    .build = BuildComparators,
    .interrupts = kInterrupts,
    .claimPins = ClaimPins,
    .pinUses = kPinUses,
    .pinText = PinText,
    .rules = Rules,
    .switchPart = SwitchPart,
    .form = FormId::Comparator,
};

}  // namespace korvane
