#include "format/number_text.h"
#include "generator/sections.h"
#include "generator/source_lines.h"
#include "settings/ad_converter.h"
#include "settings/parts.h"

namespace korvane {

std::string BuildAdSetup(const ProjectSettings& s, bool withComments) {
    if (!AdUsed(s)) return {};
    const AdClock& clock = AdClockOf(AdClockCodeOf(s));
    SourceLines out(withComments);
    out.Comment({"//A/D转换模块初始化设置子程序"});
    out.Line({"void fun_adset()"});
    out.Line({"{"});
    out.Comment({"//", PcfgText(AdPcfgOf(s), ChosenPart(s).analogChannels)});
    out.Comment({s.AdRightJustify == 1 ? "//转换结果右对齐" : "//转换结果左对齐"});
    out.Line({" ADCON1=", RegisterByteText(Adcon1Of(s)->value), ";"});
    out.Comment({"//转换时钟", clock.text, ",", AdClockReadout(clock, s.CrystalMHz, kPlainNumbers)});
    out.Comment({"//转换通道AN", std::to_string(AdChannelOf(s)), ",打开A/D模块"});
    out.Line({" ADCON0=", RegisterByteText(AdAdcon0(s)), ";"});
    out.Line({"}"});
    return out.Take();
}

}  // namespace korvane
