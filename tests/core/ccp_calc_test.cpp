#include "calc/ccp_calc.h"

#include <gtest/gtest.h>

#include <string>

#include "calc/settings_calc.h"
#include "chip/settle.h"

namespace korvane {
namespace {

using Status = CalcStatus;

// Successful rows give the value; failures the message's second line.
TEST(CcpCalc, CompareValueCountsTimer1Ticks) {
    struct Case {
        const char* time;
        float mhz;
        int divisor;
        Status status;
        int value;
        const char* line2;
    };
    const Case cases[] = {
        {"1000", 4, 1, Status::Ok, 1000, ""},
        {"1000", 4, 2, Status::Ok, 500, ""},
        {"1000", 4, 8, Status::Ok, 125, ""},
        {"1000", 20, 4, Status::Ok, 1250, ""},
        {"10", 20, 4, Status::Ok, 12, ""},  // 12.5 ticks round to the even 12
        {"65535", 4, 1, Status::Ok, 65535, ""},
        {"1", 4, 1, Status::Ok, 1, ""},
        {"0.5", 4, 1, Status::OutOfRange, 0, "4M频率在1:1分频设置下的比较范围为1.000-65,535.000uS"},
        {"65536", 4, 1, Status::OutOfRange, 0, "4M频率在1:1分频设置下的比较范围为1.000-65,535.000uS"},
        {"20000", 20, 1, Status::OutOfRange, 0, "20M频率在1:1分频设置下的比较范围为0.200-13,107.000uS"},
        {"1.5", 4, 1, Status::Ok, 2, ""},  // halves round to even
        {"2.5", 4, 1, Status::Ok, 2, ""},
        {"abc", 4, 1, Status::InputError, 0, ""},
        {"-5", 4, 1, Status::InputError, 0, ""},
        {"100", 0, 1, Status::FrequencyNotPositive, 0, ""},
    };
    for (const auto& c : cases) {
        const std::string why =
            std::string(c.time) + " us at " + std::to_string(c.mhz) + " 1:" + std::to_string(c.divisor);
        const CalcOutcome outcome = CalculateCompareValue(c.time, c.mhz, c.divisor, {});
        EXPECT_EQ(outcome.status, c.status) << why;
        if (c.status == Status::Ok) {
            EXPECT_EQ(outcome.value, c.value) << why;
            EXPECT_FALSE(outcome.message) << why;
            continue;
        }
        ASSERT_TRUE(outcome.message) << why;
        if (c.status == Status::InputError) {
            EXPECT_EQ(outcome.message->title, "输入数据不正确") << why;
        }
        if (c.status == Status::OutOfRange) {
            EXPECT_EQ(outcome.message->title, "超出比较范围") << why;
            EXPECT_EQ(outcome.message->text,
                      std::string("超出比较范围，请重新输入比较时间或Timer1的预分频\r") + c.line2)
                << why;
        }
    }
}

TEST(CcpCalc, DutyValueAgainstTheTimer2Period) {
    struct Case {
        const char* duty;
        float mhz;
        int divisor;
        int pr2;
        Status status;
        int value;
        const char* percent;  // of the period, one decimal
    };
    const Case cases[] = {
        {"128", 4, 1, 255, Status::Ok, 512, "50.0"},
        {"100", 4, 4, 255, Status::Ok, 100, "9.8"},
        {"1000", 4, 16, 255, Status::Ok, 250, "24.4"},
        {"50", 20, 1, 249, Status::Ok, 1000, "100.0"},  // duty = period: output always high
        {"256", 4, 1, 255, Status::Ok, 1023, "99.9"},   // the whole period of 1024 steps
        {"51", 20, 1, 249, Status::OutOfRange, 0, ""},
        {"257", 4, 1, 255, Status::OutOfRange, 0, ""},
        {"15", 20, 16, 6, Status::Ok, 19, "67.9"},  // 18.75 of 28 steps
        {"x", 4, 1, 255, Status::InputError, 0, ""},
    };
    for (const auto& c : cases) {
        const std::string why = std::string(c.duty) + " us at " + std::to_string(c.mhz) +
                                " 1:" + std::to_string(c.divisor) + " PR2 " + std::to_string(c.pr2);
        const CalcOutcome outcome = CalculateDutyValue(c.duty, c.mhz, c.divisor, c.pr2, {});
        EXPECT_EQ(outcome.status, c.status) << why;
        if (c.status != Status::Ok) {
            EXPECT_TRUE(outcome.message) << why;
            continue;
        }
        EXPECT_EQ(outcome.value, c.value) << why;
        const auto timing = PwmTimingOf(c.mhz, c.divisor, c.pr2);
        ASSERT_TRUE(timing) << why;
        EXPECT_EQ(FixedDecimalText(DutyPercent(outcome.value, *timing), 1, {}), c.percent) << why;
    }
    const CalcOutcome tooLong = CalculateDutyValue("257", 4, 1, 255, {});
    ASSERT_TRUE(tooLong.message);
    EXPECT_EQ(tooLong.message->title, "占空比设置错误");
    EXPECT_EQ(tooLong.message->text, "占空比时间不能大于PWM周期，请重新输入占空比时间\rPWM周期为256.000uS");
}

TEST(CcpCalc, PwmPeriodFrequencyAndResolution) {
    struct Case {
        float mhz;
        int divisor, pr2;
        const char* period;
        const char* kHz;
        const char* bits;
    };
    const Case cases[] = {
        {4, 1, 255, "256.000", "3.906", "10.0"},   {20, 1, 249, "50.000", "20.000", "10.0"},
        {20, 16, 255, "819.200", "1.221", "10.0"}, {4, 1, 63, "64.000", "15.625", "8.0"},
        {20, 4, 0, "0.800", "1,250.000", "2.0"},
    };
    for (const auto& c : cases) {
        const auto timing = PwmTimingOf(c.mhz, c.divisor, c.pr2);
        ASSERT_TRUE(timing);
        EXPECT_EQ(FixedDecimalText(timing->periodUs, 3, {}), c.period);
        EXPECT_EQ(FixedDecimalText(timing->frequencyKHz, 3, {}), c.kHz);
        EXPECT_EQ(FixedDecimalText(timing->resolutionBits, 1, {}), c.bits);
    }
}

// A clock that cannot reach a stored time leaves no value to generate; the
// dialog story checks the values that follow a new crystal.
TEST(CcpCalc, UnreachableTimesAfterAClockChangeLeaveNoValue) {
    ProjectSettings s;
    s.T1FreqMHz = s.T2FreqMHz = 20;  // 1000 us is 5000 counts; 128 us exceed the 51.2 us period
    s.T1PsDiv = 8.0;                 // ... and with 1:8, 625
    SettleProject(s, {});
    EXPECT_EQ(s.Ccp1CmpValue, 625);
    EXPECT_EQ(s.Ccp2DutyReg, -1);
    s.T1FreqMHz = 0.001f;
    SettleProject(s, {});
    EXPECT_EQ(s.Ccp2CmpValue, 0);
}

// An opened project's values come from its times and clocks, with Timer1
// and Timer2 off too; the times stay as they were stored.
TEST(CcpCalc, SettlingAProjectWorksOutItsValuesFromTheTimes) {
    ProjectSettings s;
    s.T1FreqMHz = s.T2FreqMHz = 8;
    s.Ccp1DutyUs = 64;
    s.Ccp1CmpValue = s.Ccp2CmpValue = 1;
    s.Ccp1DutyReg = 1;
    const ProjectSettings before = s;
    SettleProject(s, {});
    EXPECT_EQ(s.Ccp1CmpValue, 2000);
    EXPECT_EQ(s.Ccp2CmpValue, 2000);
    EXPECT_EQ(s.Ccp1DutyReg, 128);
    EXPECT_EQ(s.Ccp1CmpTimeUs, before.Ccp1CmpTimeUs);
    EXPECT_EQ(s.Ccp1DutyUs, before.Ccp1DutyUs);
}

}  // namespace
}  // namespace korvane
