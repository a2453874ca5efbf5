#include "calc/i2c_calc.h"
#include "format/number_text.h"
#include "generator/sections.h"
#include "settings/mssp.h"

namespace korvane {

namespace {

constexpr const char* kSpiClockTexts[kMsspSpiClockCount] = {"Fosc/4", "Fosc/16", "Fosc/64", "TMR2输出/2"};

void WriteSspm(std::int64_t code, Body& out) {
    for (int bit = 0; bit < 4; ++bit) out.SetBit("SSPM" + std::to_string(bit), BitAt(code, bit));
}

void WriteSpi(const ProjectSettings& s, bool master, Body& out) {
    const std::int64_t code = SspmCode(s);
    if (master) {
        out.Comment({"//MSSP工作于SPI主控方式,时钟为", kSpiClockTexts[code]});
    } else {
        out.Comment({code == kSspmSlaveWithSs ? "//MSSP工作于SPI从动方式,使用SS引脚(RA5)"
                                              : "//MSSP工作于SPI从动方式,不使用SS引脚"});
    }
    WriteSspm(code, out);
    const bool idleHigh = s.MsspCkp == 1;
    out.SetBit("CKP", idleHigh ? 1 : 0, idleHigh ? "//时钟空闲时为高电平" : "//时钟空闲时为低电平");
    const bool onIdle = s.MsspCke == 1;
    out.SetBit("CKE", onIdle ? 1 : 0,
               onIdle ? "//时钟由有效变为空闲时发送数据" : "//时钟由空闲变为有效时发送数据");
    // A slave must sample in the middle of the bit: SMP stays 0 there.
    const bool atEnd = master && s.MsspSmp == 1;
    out.SetBit("SMP", atEnd ? 1 : 0,
               atEnd ? "//在数据输出时间的末尾采样输入数据" : "//在数据输出时间的中间采样输入数据");
}

void WriteI2cMaster(const ProjectSettings& s, Body& out) {
    out.Comment({"//MSSP工作于I2C主控方式"});
    WriteSspm(kSspmI2cMaster, out);
    // SMP set switches slew-rate control off, as the standard 100 kHz bus wants.
    const bool slew = s.MsspSlewControl == 1;
    out.SetBit("SMP", slew ? 0 : 1, slew ? "//使用压摆率控制(400kHz)" : "//关闭压摆率控制(100kHz)");
    // No value for the rate at this crystal: SSPADD is left alone.
    const std::int16_t sspadd = s.MsspSspadd;
    if (sspadd < 0 || sspadd > kLargestSspadd) return;
    const double actual = I2cRateKHz(s.CrystalMHz, sspadd);
    const double error = I2cErrorPercent(actual, s.MsspI2cKHz.toNumber().value_or(0));
    out.Comment({"//I2C总线速率:", s.MsspI2cKHz.toText(),
                 "kHz,实际速率:", FixedDecimalText(actual, 3, kPlainNumbers),
                 "kHz,误差:", FixedDecimalText(error, 3, kPlainNumbers), "%"});
    out.Set({{"SSPADD", sspadd, ValueForm::Byte}}, "//I2C时钟 = Fosc/(4*(SSPADD+1))");
}

}  // namespace

void BuildMssp(const ProjectSettings& s, Body& out) {
    const std::int16_t mode = MsspModeOf(s);
    if (mode == kMsspI2cMaster)
        WriteI2cMaster(s, out);
    else
        WriteSpi(s, mode == kMsspSpiMaster, out);
    out.SetBit("SSPEN", 1);
}

}  // namespace korvane
