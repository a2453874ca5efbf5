#include "format/number_text.h"
#include "generator/sections.h"
#include "settings/ad_converter.h"
#include "settings/parts.h"

namespace korvane {

void BuildAd(const ProjectSettings& s, Body& out) {
    const AdClock& clock = AdClockOf(AdClockCodeOf(s));
    out.Comment({"//", PcfgText(AdPcfgOf(s), ChosenPart(s).analogChannels)});
    out.Comment({s.AdRightJustify == 1 ? "//转换结果右对齐" : "//转换结果左对齐"});
    out.Set({{"ADCON1", Adcon1Of(s)->value, ValueForm::Byte}});
    out.Comment({"//转换时钟", clock.text, ",", AdClockReadout(clock, s.CrystalMHz, kPlainNumbers)});
    out.Comment({"//转换通道AN", std::to_string(AdChannelOf(s)), ",打开A/D模块"});
    out.Set({{"ADCON0", AdAdcon0(s), ValueForm::Byte}});
}

}  // namespace korvane
