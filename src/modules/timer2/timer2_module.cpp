#include "modules/timer2/timer2_module.h"

#include "format/number_text.h"
#include "generator/sections.h"
#include "modules/timer_common.h"

namespace korvane {

namespace {

constexpr auto kBit = ValueForm::Bit;
constexpr auto kByte = ValueForm::Byte;

bool Timer2Written(const ProjectSettings& s) {
    return s.T2En.isTrue();
}

void BuildTimer2(const ProjectSettings& s, Body& out) {
    out.Blank();
    out.Comment({"//Timer2初始化设置"});
    out.Comment({"//timer2使用预分频率1:", std::to_string(s.T2PsDiv)});
    // Only 1:1, 1:4 and 1:16 exist; index 2 and above all select 1:16.
    const std::int64_t ps = RoundedClampedIndex(s.T2PsIndex);
    const bool sixteen = ps >= 2;
    out.Set({{"T2CKPS0", sixteen ? 0 : BitAt(ps, 0), kBit}, {"T2CKPS1", sixteen ? 1 : 0, kBit}});
    const std::int64_t post = RoundedClampedIndex(s.T2PostIndex);
    out.Comment({"//timer2使用后分频率1:", std::to_string(post + 1)});
    for (int bit = 0; bit < 4; ++bit) out.SetBit("TOUTPS" + std::to_string(bit), BitAt(post, bit));
    out.Comment({"//定时器2定时时间为:", s.T2TimeUs.toText(), "uS,误差:", SingleText(s.T2ErrorUs), "uS"});
    // Timer2 restarts by itself on reaching PR2, so no reload is needed.
    if (const auto pr2 = RegisterNumber(s.T2RegText))
        out.Set({{"PR2", *pr2, kByte}}, "//TMR2计数到PR2后自动清零");
    if (!WritesInDataSheetOrder(s)) out.SetBit("TMR2ON", 1);
}

// Started last, before the PWM outputs it clocks are switched on.
void StartTimer2(const ProjectSettings&, Body& out) {
    out.SetBitAlone("TMR2ON", 1, "//启动Timer2");
}

constexpr InterruptSource kInterrupts[] = {
    {.serviced = [](const ProjectSettings& s) { return s.T2Int != 0; },
     .enabled = [](const ProjectSettings& s) { return s.T2Int != 0; },
     .peripheral = true,
     .flag = "TMR2IF",
     .serviceComment = "//Timer2中断服务子程序",
     .enableBit = "TMR2IE",
     .enableComment = "//Tiemr2中断允许"},
};

void Settle(ProjectSettings& s, const NumberLocale& locale, std::vector<SettingProblem>& problems) {
    SettleTimer(s, TimerKind::Timer2, locale, problems);
}

void Rules(const ProjectSettings& s, std::vector<RuleBreach>& out) {
    RuleFollows(out, "T2PsDiv", s.T2PsDiv, std::int16_t(1 << 2 * RoundedClampedIndex(s.T2PsIndex)),
                "T2PsIndex");
}

}  // namespace

constexpr Module kTimer2Module = {
    .name = "Timer2",
    .setup = SetupId::Timers,
    .writesSetup = Timer2Written,
    .build = BuildTimer2,
    .interrupts = kInterrupts,
    .settle = Settle,
    .rules = Rules,
    .form = FormId::Timer2,
    .start = StartTimer2,
};

}  // namespace korvane
