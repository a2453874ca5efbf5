#include "calc/i2c_calc.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/settings_calc.h"
#include "chip/settle.h"
#include "settings/mssp.h"

namespace korvane {
namespace {

// SSPADD never lets the bus run faster than asked; outside 0..127 the
// message names the rates the crystal reaches.
TEST(I2cCalc, SspaddActualRateAndError) {
    struct Case {
        float mhz;
        const char* khz;
        CalcStatus status;
        int sspadd;
        std::string actual;  // kHz; for a refused rate, the message's second and third lines
        const char* error;   // per cent
    };
    const std::string kRates(i2c_messages::kBusRatesLine);
    const Case cases[] = {
        {4, "100", CalcStatus::Ok, 9, "100.000", "0.000"},
        {4, "400", CalcStatus::Ok, 2, "333.333", "-16.667"},  // 1.5 steps up to 2, never 500 kHz
        {20, "400", CalcStatus::Ok, 12, "384.615", "-3.846"},
        {4, "7.8125", CalcStatus::Ok, 127, "7.812", "0.000"},  // the slowest
        {1, "250", CalcStatus::Ok, 0, "250.000", "0.000"},     // the fastest a 1 MHz crystal clocks
        // Beyond fast mode's 400 kHz is no I2C rate, whatever the crystal reaches.
        {4, "7.8", CalcStatus::OutOfRange, 0, "4M晶振下的I2C速率范围为7.812-400.000kHz\r" + kRates, ""},
        {4, "401", CalcStatus::OutOfRange, 0, "4M晶振下的I2C速率范围为7.812-400.000kHz\r" + kRates, ""},
        {20, "0", CalcStatus::OutOfRange, 0, "20M晶振下的I2C速率范围为39.062-400.000kHz\r" + kRates, ""},
        {4, "abc", CalcStatus::InputError, 0, "", ""},
        {0, "100", CalcStatus::FrequencyNotPositive, 0, "", ""},
    };
    for (const Case& c : cases) {
        const std::string why = std::string(c.khz) + " kHz at " + std::to_string(c.mhz) + " MHz";
        const CalcOutcome outcome = CalculateSspadd(c.khz, c.mhz, {});
        ASSERT_EQ(outcome.status, c.status) << why;
        if (c.status == CalcStatus::Ok) {
            EXPECT_EQ(outcome.value, c.sspadd) << why;
            const double actual = I2cRateKHz(c.mhz, outcome.value);
            EXPECT_EQ(FixedDecimalText(actual, 3, {}), c.actual) << why;
            EXPECT_EQ(FixedDecimalText(I2cErrorPercent(actual, *outcome.input), 3, {}), c.error) << why;
            continue;
        }
        ASSERT_TRUE(outcome.message) << why;
        if (c.status == CalcStatus::OutOfRange) {
            EXPECT_EQ(outcome.message->text,
                      std::string("超出I2C速率范围，请重新输入总线速率或设置晶振频率\r") + c.actual)
                << why;
        }
    }
}

// A new crystal, or a project opened, works SSPADD out again from the rate;
// an unreachable rate leaves no value, and opening says so.
TEST(I2cCalc, CrystalChangesAndOpeningRecomputeSspadd) {
    struct Case {
        float mhz;
        const char* khz;
        int sspadd;
    };
    const Case cases[] = {{20, "100", 49}, {4, "400", 2}, {0.2f, "100", -1}, {20, "abc", -1}};
    for (const Case& c : cases) {
        ProjectSettings s;
        s.MsspEn = 1;
        s.MsspMode = kMsspI2cMaster;
        s.MsspI2cKHz = c.khz;
        s.CrystalMHz = c.mhz;
        s.MsspSspadd = 5;
        const auto problems = SettleProject(s, {});
        EXPECT_EQ(s.MsspSspadd, c.sspadd) << c.mhz << " MHz " << c.khz;
        ASSERT_EQ(problems.size(), c.sspadd < 0 ? 1u : 0u);
        for (const SettingProblem& problem : problems) EXPECT_EQ(problem.setting, "MsspI2cKHz");
    }
}

}  // namespace
}  // namespace korvane
