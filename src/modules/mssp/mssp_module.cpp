#include "modules/mssp/mssp_module.h"

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

void BuildMssp(const ProjectSettings& s, Body& out) {
    const std::int16_t mode = MsspModeOf(s);
    if (mode == kMsspI2cMaster)
        WriteI2cMaster(s, out);
    else
        WriteSpi(s, mode == kMsspSpiMaster, out);
    out.SetBit("SSPEN", 1);
}

// The MSSP's two interrupts count only while the module is used, the bus
// collision only for an I2C master.
bool SspInterrupt(const ProjectSettings& s) {
    return MsspUsed(s) && s.MsspInt != 0;
}

bool BusCollisionInterrupt(const ProjectSettings& s) {
    return MsspIsI2cMaster(s) && s.MsspBclInt != 0;
}

constexpr InterruptSource kInterrupts[] = {
    {.serviced = SspInterrupt,
     .enabled = SspInterrupt,
     .peripheral = true,
     .flag = "SSPIF",
     .serviceComment = "//MSSP中断服务子程序",
     .enableBit = "SSPIE",
     .enableComment = "//MSSP中断允许"},
    {.serviced = BusCollisionInterrupt,
     .enabled = BusCollisionInterrupt,
     .peripheral = true,
     .flag = "BCLIF",
     .serviceComment = "//I2C总线冲突中断服务子程序",
     .enableBit = "BCLIE",
     .enableComment = "//I2C总线冲突中断允许",
     .userAction = "//总线冲突后MSSP已回到空闲状态,被打断的传送须由用户代码从起始条件重新开始"},
};

// I2C: the module drives SCL and SDA itself, with both TRIS bits set.
// SPI: the master drives SCK, a slave reads it; SDO is always driven.
void ClaimPins(const ProjectSettings& s, std::vector<PinClaim>& out) {
    if (!MsspUsed(s)) return;
    const std::int16_t mode = MsspModeOf(s);
    const bool master = mode == kMsspSpiMaster;
    const bool i2c = mode == kMsspI2cMaster;
    const PinSignal in = i2c ? PinSignal::Bus : PinSignal::DigitalInput;
    out.push_back({PinUse::Mssp, kPortC, kSckPin, !master, master ? PinSignal::DrivenOutput : in});
    out.push_back({PinUse::Mssp, kPortC, kSdiPin, true, in});
    if (!i2c) out.push_back({PinUse::Mssp, kPortC, kSdoPin, false, PinSignal::DrivenOutput});
    if (mode == kMsspSpiSlave && s.MsspSlaveSelect == 1)
        out.push_back({PinUse::Mssp, kPortA, kSsPin, true, PinSignal::DigitalInput});
}

constexpr PinUseTexts kPinUses[] = {
    {PinUse::Mssp, "MsspEn", "MSSP模块", "关闭MSSP模块"},
};

std::string PinText(const ProjectSettings& s, const PinClaim& claim) {
    if (claim.port == kPortA) return "SPI从动选择SS";
    if (MsspModeOf(s) == kMsspI2cMaster) return claim.pin == kSckPin ? "I²C时钟SCL" : "I²C数据SDA";
    if (claim.pin == kSckPin) return claim.input ? "SPI时钟SCK(输入)" : "SPI时钟SCK(输出)";
    return claim.pin == kSdiPin ? "SPI数据输入SDI" : "SPI数据输出SDO";
}

// An I2C master in use gets the SSPADD of its rate; an SPI master clocked by
// Timer2 needs Timer2.
void Settle(ProjectSettings& s, const NumberLocale& locale, std::vector<SettingProblem>& problems) {
    using Kind = SettingProblem::Kind;
    if (MsspIsI2cMaster(s)) {
        const CalcOutcome outcome = SspaddFor(s, s.MsspI2cKHz.toText(), locale);
        StoreSspadd(s, outcome);
        if (outcome.message)
            problems.push_back({Kind::I2cRate, "MsspI2cKHz", outcome.message->title, outcome.message->text});
    }
    if (MsspUsed(s) && MsspModeOf(s) == kMsspSpiMaster && SspmCode(s) == kSspmSpiTimer2 && !s.T2En.isTrue())
        problems.push_back({Kind::NeedsTimer, "T2En", std::string(ccp_messages::kTimer2Title),
                            "MSSP: SPI主控方式的时钟为TMR2输出/2,定时器2必须工作.\r" +
                                std::string(ccp_messages::kUseTimer2)});
}

// The slave has nothing to drive: the master decides when bytes move.
bool DriversAsked(const ProjectSettings& s) {
    return MsspUsed(s) && s.MsspDrivers != 0 && MsspModeOf(s) != kMsspSpiSlave;
}

// SDCC's pic14 port keeps every function, and each call costs five words
// with its page selects: only the chosen mode's drivers are written, and the
// I2C ones share one error variable instead of testing each step. An
// error of a transfer stays in i2c_error until the next i2c_start, and
// writes and reads do nothing after it, so a register transfer runs straight
// through and reports at its end. Every wait polls the module's own busy
// bits, not SSPIF, so an MSSP interrupt branch that clears the flag cannot
// stall it, and gives up after 65536 polls.
void I2cDrivers(std::vector<Driver>& out, std::vector<Global>& globals) {
    globals.push_back({"#define I2C_NACK 1", "//I2C驱动的返回值:0成功,1无应答(器件不存在或地址错)"});
    globals.push_back({"#define I2C_COLLISION 2", "//I2C驱动的返回值:总线冲突"});
    globals.push_back({"#define I2C_TIMEOUT 3", "//I2C驱动的返回值:等待超时"});
    globals.push_back({"unsigned char i2c_error;", "//本次传送(自i2c_start起)出的错,0为没有"});
    const std::string returns = ";返回i2c_error";
    out.push_back({"unsigned char i2c_wait(void)",
                   "//等待I2C操作完成;最多查询65536次;出错时记入i2c_error" + returns,
                   {"unsigned int n = 0;", "do {",
                    "    if ({BCLIF}) { {BCLIF} = 0; return i2c_error = I2C_COLLISION; }",
                    "    if (!(SSPCON2 & 0x1F) && !{R_W}) return i2c_error;", "} while (--n);",
                    "return i2c_error = I2C_TIMEOUT;"}});
    out.push_back({"unsigned char i2c_start(void)",
                   "//清除i2c_error,发出起始条件;有限等待" + returns,
                   {"i2c_error = 0;", "{SEN} = 1;", "return i2c_wait();"}});
    out.push_back({"unsigned char i2c_restart(void)",
                   "//发出重复起始条件;有限等待" + returns,
                   {"{RSEN} = 1;", "return i2c_wait();"}});
    out.push_back({"unsigned char i2c_stop(void)",
                   "//发出停止条件;有限等待" + returns,
                   {"{PEN} = 1;", "return i2c_wait();"}});
    out.push_back({"unsigned char i2c_write(unsigned char byte)",
                   "//发送一个字节(已出错则不发);有限等待;返回i2c_error:0收到应答,I2C_NACK无应答",
                   {"if (i2c_error) return i2c_error;", "SSPBUF = byte;",
                    "if (!i2c_wait() && {ACKSTAT}) i2c_error = I2C_NACK;", "return i2c_error;"}});
    out.push_back({"unsigned char i2c_read(unsigned char ack)",
                   "//接收一个字节(已出错则不收),ack非0回应答(后面还要读),0不回应答(最后一个);有限等待;"
                   "返回收到的字节",
                   {"if (i2c_error) return 0xFF;", "{RCEN} = 1;", "i2c_wait();", "{ACKDT} = 1;",
                    "if (ack) {ACKDT} = 0;", "{ACKEN} = 1;", "i2c_wait();", "return SSPBUF;"}});
    out.push_back(
        {"unsigned char i2c_write_bytes(unsigned char addr, unsigned char reg, const unsigned char *buf, "
         "unsigned char n)",
         "//向器件addr(写地址)从寄存器reg起写入buf的n个字节,以停止条件结束;有限等待" + returns,
         {"i2c_start();", "i2c_write(addr);", "i2c_write(reg);", "while (n--) i2c_write(*buf++);",
          "i2c_stop();", "return i2c_error;"}});
    out.push_back(
        {"unsigned char i2c_read_bytes(unsigned char addr, unsigned char reg, unsigned char *buf, "
         "unsigned char n)",
         "//从器件addr(写地址)的寄存器reg起读n个字节到buf,以停止条件结束;有限等待" + returns,
         {"i2c_start();", "i2c_write(addr);", "i2c_write(reg);", "i2c_restart();", "i2c_write(addr | 1);",
          "while (n) *buf++ = i2c_read(--n);", "i2c_stop();", "return i2c_error;"}});
}

void Drivers(const ProjectSettings& s, std::vector<Driver>& out, std::vector<Global>& globals) {
    if (MsspModeOf(s) == kMsspI2cMaster) {
        I2cDrivers(out, globals);
        return;
    }
    out.push_back(
        {"unsigned char spi_transfer(unsigned char byte)",
         "//SPI主控发送一个字节并同时接收一个;最多查询65536次;返回收到的字节",
         {"unsigned int n = 0;", "SSPBUF = byte;", "while (!{BF} && --n)", "    ;", "return SSPBUF;"}});
}

// Measured on 4 MHz projects with nothing else but the module. Most of the
// I2C figure is SDCC's calling sequence (page selects, parameters copied to
// its own registers), not the work done.
DriverBudget DriverCost(const ProjectSettings& s) {
    if (MsspModeOf(s) == kMsspI2cMaster) return {.words = 332, .ram = 16};
    return {.words = 25, .ram = 2};
}

}  // namespace

constexpr Module kMsspModule = {
    .name = "MSSP",
    .setup = SetupId::Mssp,
    .writesSetup = MsspUsed,
    .build = BuildMssp,
    .interrupts = kInterrupts,
    .claimPins = ClaimPins,
    .pinUses = kPinUses,
    .pinText = PinText,
    .settle = Settle,
    .driversOn = DriversAsked,
    .drivers = Drivers,
    .driverBudgetFor = DriverCost,
    .form = FormId::Mssp,
};

}  // namespace korvane
