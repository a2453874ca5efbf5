#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "calc/calc_outcome.h"
#include "format/number_text.h"

namespace korvane {

// The I2C master's clock: SSPADD = Fosc / (4 × rate) − 1.

namespace i2c_messages {
inline constexpr std::string_view kRangeTitle = "超出I2C速率范围";
inline constexpr std::string_view kRangeLine1 = "超出I2C速率范围，请重新输入总线速率或设置晶振频率";
inline constexpr std::string_view kBusRatesLine = "I2C总线的标准速率为100kHz,快速方式为400kHz";
using timer_messages::kInputTitle;  // every calculator's input error has one title
inline constexpr std::string_view kInputText = "请输入I2C总线速率(kHz),例如100或400.";
}  // namespace i2c_messages

// SSPADD for a bus rate of `rateText` kHz at the crystal. The divisor is
// rounded up, so the bus never runs faster than asked: a device made for
// 100 kHz is never clocked above it. A rate that needs SSPADD outside
// 0 .. 127 is refused with the rates this crystal reaches.
CalcOutcome CalculateSspadd(std::string_view rateText, float crystalMHz, const NumberLocale& locale);

// The rate an SSPADD value gives, in kHz, and how far it lies from the
// wanted rate, in per cent (negative: slower).
double I2cRateKHz(float crystalMHz, std::int32_t sspadd);
double I2cErrorPercent(double actualKHz, double wantedKHz);

}  // namespace korvane
