#include "modules/ad/ad_module.h"

#include <algorithm>
#include <cmath>

#include "format/number_text.h"
#include "generator/sections.h"
#include "settings/ad_converter.h"
#include "settings/output_form.h"
#include "settings/parts.h"

namespace korvane {

namespace {

void BuildAd(const ProjectSettings& s, Body& out) {
    const AdClock& clock = AdClockOf(AdClockCodeOf(s));
    out.Comment({"//", PcfgText(AdPcfgOf(s), ChosenPart(s).analogChannels)});
    out.Comment({s.AdRightJustify == 1 ? "//转换结果右对齐" : "//转换结果左对齐"});
    out.Set({{"ADCON1", Adcon1Of(s)->value, ValueForm::Byte}});
    out.Comment({"//转换时钟", clock.text, ",", AdClockReadout(clock, s.CrystalMHz, kPlainNumbers)});
    out.Comment({"//转换通道AN", std::to_string(AdChannelOf(s)), ",打开A/D模块"});
    out.Set({{"ADCON0", AdAdcon0(s), ValueForm::Byte}});
}

bool AdInterrupt(const ProjectSettings& s) {
    return AdUsed(s) && s.AdInt != 0;
}

constexpr InterruptSource kInterrupts[] = {
    {.serviced = AdInterrupt,
     .enabled = AdInterrupt,
     .peripheral = true,
     .flag = "ADIF",
     .serviceComment = "//A/D转换中断服务子程序",
     .enableBit = "ADIE",
     .enableComment = "//A/D转换中断允许",
     .service = Service::ReadResult,
     .dataRegister = "ADRES",
     .dataVariable = "ad",
     .driverService = Service::KeepResult},
};

// An analog input, or a reference input, reads only with its TRIS bit set.
void ClaimPins(const ProjectSettings& s, std::vector<PinClaim>& out) {
    if (!AdUsed(s)) return;
    const PcfgRow row = PcfgOf(AdPcfgOf(s));
    for (int channel : AnalogPinChannels(s)) {
        const AdPin pin = AdChannelPin(channel);
        const bool reference =
            pin.port == kPortA && ((pin.pin == 3 && row.vrefPlus) || (pin.pin == 2 && row.vrefMinus));
        out.push_back({PinUse::Analog, pin.port, pin.pin, true,
                       reference ? PinSignal::ReferenceInput : PinSignal::AnalogInput});
    }
}

constexpr PinUseTexts kPinUses[] = {
    {PinUse::Analog, "AdEn", "A/D转换模块", "在A/D转换模块中将其设为数字I/O"},
};

// A channel, or a reference input under the chosen PCFG.
std::string PinText(const ProjectSettings& s, const PinClaim& claim) {
    const PcfgRow row = PcfgOf(AdPcfgOf(s));
    if (claim.port == kPortA && claim.pin == 3 && row.vrefPlus) return "参考电压VREF+";
    if (claim.port == kPortA && claim.pin == 2 && row.vrefMinus) return "参考电压VREF-";
    for (int channel = 0; channel < kAdChannelCount; ++channel) {
        const AdPin pin = AdChannelPin(channel);
        if (pin.port == claim.port && pin.pin == claim.pin) return "模拟输入AN" + std::to_string(channel);
    }
    return "模拟输入";
}

void Settle(ProjectSettings& s, const NumberLocale&, std::vector<SettingProblem>&) {
    FollowCrystalAd(s);
}

// The codes the chosen part offers.
void Rules(const ProjectSettings& s, std::vector<RuleBreach>& out) {
    if (!AdUsed(s)) return;
    const std::vector<int> channels = AnalogChannels(s, s.AdPcfg);
    if (channels.empty()) {
        out.push_back({"AdPcfg", std::to_string(s.AdPcfg), "不设模拟输入，而A/D转换模块已使用"});
        return;
    }
    if (std::find(channels.begin(), channels.end(), s.AdChannel) == channels.end()) {
        std::string list;
        for (int channel : channels) list += (list.empty() ? "" : ",") + std::to_string(channel);
        out.push_back({"AdChannel", std::to_string(s.AdChannel), "不是AdPcfg所设的模拟通道(" + list + ")"});
    }
    if (!ClockOnPart(AdClockOf(s.AdClock), PartHasAdcs2(s)))
        out.push_back(
            {"AdClock", std::to_string(s.AdClock), std::string(ChosenPart(s).name) + "没有此转换时钟"});
}

// The converter keeps what the new part reads its codes as, so that the
// project holds what the generator writes.
void SwitchPart(const ProjectSettings& before, ProjectSettings& after, std::vector<std::string>& changes) {
    const PartFacts& part = ChosenPart(after);
    after.AdPcfg = AdPcfgOf(after);
    after.AdChannel = static_cast<std::int16_t>(AdChannelOf(after));
    after.AdClock = AdClockCodeOf(after);
    if (!AdUsed(before)) return;
    const auto changed = [&](const std::string& what, const std::string& was, const std::string& now) {
        if (was != now) changes.push_back(what + "将由\"" + was + "\"改为\"" + now + "\"");
    };
    changed("A/D模拟输入", PcfgText(AdPcfgOf(before), ChosenPart(before).analogChannels),
            PcfgText(after.AdPcfg, part.analogChannels));
    changed("A/D转换通道", "AN" + std::to_string(AdChannelOf(before)),
            "AN" + std::to_string(after.AdChannel));
    changed("A/D转换时钟", AdClockOf(AdClockCodeOf(before)).text, AdClockOf(after.AdClock).text);
}

bool DriversAsked(const ProjectSettings& s) {
    return AdUsed(s) && s.AdDrivers != 0;
}

// The acquisition time the data sheet gives for a 10 kOhm source at 50 C,
// rounded up: 19.7 us.
constexpr int kAcquisitionUs = 20;

// Waits the acquisition time: XC8's own delay, or a loop of at least three
// cycles a pass, counted from the crystal.
std::string AcquisitionWait(const ProjectSettings& s) {
    if (OutputFormOf(s) == OutputFormId::Xc8) return "__delay_us(" + std::to_string(kAcquisitionUs) + ");";
    const double cycles = kAcquisitionUs * s.CrystalMHz / 4;
    const int passes = std::clamp(static_cast<int>(std::ceil(cycles / 3)), 1, 255);
    return "{ volatile unsigned char n = " + std::to_string(passes) + "; while (--n); }";
}

void Drivers(const ProjectSettings& s, std::vector<Driver>& out, std::vector<Global>&) {
    const bool interrupt = AdInterrupt(s);
    // A new channel needs the hold capacitor charged from it before GO.
    std::vector<std::string> start = {
        "channel = (unsigned char)((channel & 7) << 3);", "if ((ADCON0 & 0x38) != channel) {",
        "    ADCON0 = (unsigned char)((ADCON0 & 0xC7) | channel);", "    " + AcquisitionWait(s), "}"};
    if (interrupt) start.emplace_back("ad_ready = 0;");
    start.emplace_back("{GO} = 1;");
    out.push_back({"void ad_start(unsigned char channel)",
                   "//选择通道(0到7)并启动一次转换;通道改变时先等待采样时间" +
                       std::to_string(kAcquisitionUs) + "uS(会阻塞这么久);无返回值",
                   std::move(start)});
    out.push_back({"unsigned char ad_done(void)",
                   "//转换是否已结束;不等待;结束返回1,否则返回0",
                   {interrupt ? "return ad_ready;" : "return !{GO};"}});
    out.push_back({"unsigned int ad_result(void)",
                   "//最近一次转换的结果(10位,对齐方式见A/D设置);不等待",
                   {interrupt ? "return ad_value;" : "return ((unsigned int)ADRESH << 8) | ADRESL;"}});
    out.push_back({"unsigned int ad_read(unsigned char channel)",
                   "//转换一个通道并返回结果;等待采样和转换结束(会阻塞,约" + std::to_string(kAcquisitionUs) +
                       "uS加12个TAD)",
                   {"ad_start(channel);", "while (!ad_done())", "    ;", "return ad_result();"}});
}

}  // namespace

constexpr Module kAdModule = {
    .name = "A/D",
    .setup = SetupId::Ad,
    .writesSetup = AdUsed,
    .build = BuildAd,
    .interrupts = kInterrupts,
    .claimPins = ClaimPins,
    .pinUses = kPinUses,
    .pinText = PinText,
    .settle = Settle,
    .rules = Rules,
    .switchPart = SwitchPart,
    .driversOn = DriversAsked,
    .drivers = Drivers,
    // Polling; with ADIE the routine keeps the result and the figure differs.
    .driverBudget = {.words = 215, .ram = 15},
    .form = FormId::Ad,
};

}  // namespace korvane
