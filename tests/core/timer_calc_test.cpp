#include "calc/timer_calc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <vector>

namespace korvane {
namespace {

using Status = TimerCalcStatus;
constexpr auto T0 = TimerKind::Timer0;
constexpr auto T1 = TimerKind::Timer1;
constexpr auto T2 = TimerKind::Timer2;

const char* const kRangeLine1 = "超出定时范围，请重新输入定时时间或晶体/外部频率\r";
const char* const kInputText =
    "你还没有输入必要的数值(定时值或晶振/外部频率),\r"
    "或者输入的数据格式不正确(写了两个以上的小数点).\r"
    "请更正你的以上错误.谢谢！";

TimerCalcOutcome Calc(TimerKind timer, int divisor, const char* time, const char* freq,
                      const NumberLocale& locale = {}) {
    return CalculateTimerPeriod({timer, divisor, time, freq, locale});
}

// Successful rows give "register [high low]" in `detail`; range failures give
// the message's second line.
TEST(TimerCalc, WorkedExamples) {
    struct Case {
        TimerKind timer;
        int d;
        const char* time;
        const char* freq;
        Status status;
        const char* max;
        const char* min;
        const char* detail;
        const char* err;
    };
    const Case cases[] = {
        {T0, 2, "256", "4", Status::Ok, "512", "2.000", "0x80", "0.000"},
        {T0, 2, "100", "4", Status::Ok, "512", "2.000", "0xCE", "0.000"},
        {T0, 2, "251", "4", Status::Ok, "512", "2.000", "0x82", "-1.000"},  // 130.5 -> 130
        {T0, 2, "253", "4", Status::Ok, "512", "2.000", "0x82", "1.000"},   // 129.5 -> 130
        {T0, 2, "482", "4", Status::Ok, "512", "2.000", "0x0F", "0.000"},
        {T0, 2, "480", "4", Status::Ok, "512", "2.000", "0x10", "0.000"},
        {T0, 2, "2", "4", Status::Ok, "512", "2.000", "0xFF", "0.000"},
        {T0, 2, "512", "4", Status::Ok, "512", "2.000", "0x00", "0.000"},
        {T0, 1, "100", "4", Status::Ok, "256", "1.000", "0x9C", "0.000"},
        {T0, 256, "10000", "3.6864", Status::Ok, "71111", "277.778", "0xDC", "0.000"},
        {T1, 1, "256", "4", Status::Ok, "65536", "1.000", "0xFF00 0xFF 0x00", "0.000"},
        {T1, 1, "50000", "4", Status::Ok, "65536", "1.000", "0x3CB0 0x3C 0xB0", "0.000"},
        {T1, 8, "500000", "4", Status::Ok, "524288", "8.000", "0xBDC 0x0B 0xDC", "0.000"},
        {T1, 1, "65530", "4", Status::Ok, "65536", "1.000", "0x06 0x00 0x06", "0.000"},
        // Start value exactly -0.5 rounds to the even 0: still a real preload.
        {T1, 1, "43691", "6", Status::Ok, "43691", "0.667", "0x00 0x00 0x00", "0.333"},
        // Timer2's register is PR2: the number of counts less one.
        {T2, 1, "256", "4", Status::Ok, "256", "1.000", "0xFF", "0.000"},
        {T2, 4, "1000", "4", Status::Ok, "1024", "4.000", "0xF9", "0.000"},
        {T2, 16, "800", "20", Status::Ok, "819", "3.200", "0xF9", "0.000"},
        {T2, 1, "1", "4", Status::Ok, "256", "1.000", "0x00", "0.000"},
        {T0, 2, "600", "4", Status::OutOfRange, "512", "2.000",
         "4M频率在1:2分频设置下的定时范围为2.000-512uS", ""},
        {T0, 2, "1.5", "4", Status::OutOfRange, "512", "2.000",
         "4M频率在1:2分频设置下的定时范围为2.000-512uS", ""},
        {T0, 2, "0", "4", Status::OutOfRange, "512", "2.000", "4M频率在1:2分频设置下的定时范围为2.000-512uS",
         ""},
        {T0, 2, "-5", "4", Status::OutOfRange, "512", "2.000", "4M频率在1:2分频设置下的定时范围为2.000-512uS",
         ""},
        {T1, 1, "70000", "4", Status::OutOfRange, "65536", "1.000",
         "4M频率在1:1分频设置下的定时范围为1.000-65536uS", ""},
        {T2, 1, "300", "4", Status::OutOfRange, "256", "1.000",
         "4M频率在1:1分频设置下的定时范围为1.000-256uS", ""},
        {T2, 1, "256.4", "4", Status::OutOfRange, "256", "1.000",
         "4M频率在1:1分频设置下的定时范围为1.000-256uS", ""},
        // Inside the displayed maximum but past the last count: no start value.
        {T0, 1, "79", "13", Status::OutOfRange, "79", "0.308", "13M频率在1:1分频设置下的定时范围为0.308-79uS",
         ""},
        {T1, 1, "23704", "11.0592", Status::OutOfRange, "23704", "0.362",
         "11.0592M频率在1:1分频设置下的定时范围为0.362-23704uS", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.time) + " us at " + c.freq + " MHz 1:" + std::to_string(c.d));
        const auto out = Calc(c.timer, c.d, c.time, c.freq);
        ASSERT_EQ(out.status, c.status);
        ASSERT_TRUE(out.range);
        EXPECT_EQ(out.range->maxText, c.max);
        EXPECT_EQ(out.range->minText, c.min);
        EXPECT_EQ(out.timeUs, std::stof(c.time));
        EXPECT_EQ(out.freqMHz, std::stof(c.freq));
        if (c.status == Status::Ok) {
            ASSERT_TRUE(out.preload);
            EXPECT_FALSE(out.message);
            std::string detail = out.preload->registerText;
            if (c.timer == T1) detail += " " + out.preload->highText + " " + out.preload->lowText;
            EXPECT_EQ(detail, c.detail);
            EXPECT_EQ(out.preload->errorText, c.err);
        } else {
            EXPECT_FALSE(out.preload);
            ASSERT_TRUE(out.message);
            EXPECT_EQ(out.message->title, "超出定时范围");
            EXPECT_EQ(out.message->text, std::string(kRangeLine1) + c.detail);
        }
    }
}

// Timing an outside clock, each edge is one count: D / f, not 4 D / f.
TEST(TimerCalc, ExternalClockCountsEveryEdge) {
    struct Case {
        int d;
        const char* time;
        const char* freq;
        const char* max;
        const char* min;
        const char* start;
    };
    const Case cases[] = {
        {2, "4000", "0.1", "5120", "20.000", "0x38"},  // 200 counts of 20 us
        {1, "100", "1", "256", "1.000", "0x9C"},
        {256, "64", "4", "16384", "64.000", "0xFF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.time) + " us at " + c.freq + " MHz 1:" + std::to_string(c.d));
        const auto out = CalculateTimerPeriod({T0, c.d, c.time, c.freq, {}, true});
        ASSERT_EQ(out.status, Status::Ok);
        EXPECT_EQ(out.range->maxText, c.max);
        EXPECT_EQ(out.range->minText, c.min);
        EXPECT_EQ(out.preload->registerText, c.start);
        EXPECT_EQ(out.preload->errorText, "0.000");
    }
}

// Only what converted before the failure is handed back for storing.
TEST(TimerCalc, ConversionAndArithmeticFailures) {
    struct Case {
        TimerKind timer;
        int d;
        const char* time;
        const char* freq;
        bool timeKept;
        bool freqKept;
    };
    const Case cases[] = {
        {T0, 2, "", "4", false, false},
        {T0, 2, ".", "4", false, false},
        {T0, 2, "1.2.3", "4", false, false},
        {T0, 2, "12a", "4", false, false},
        {T0, 2, "400000000000000000000000000000000000000", "4", false, false},  // > float
        {T0, 2, "", "", false, false},
        {T0, 2, "100", "", true, false},
        {T0, 2, "100", "4..", true, false},
        {T0, 256, "100", "0.0001", true, true},  // 256 x tick beyond 32 bits
        {T1, 8, "100", "0.00097", true, true},
        {T0, 0, "100", "4", true, true},  // no dialog passes this; must not divide by zero
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.time) + " / " + c.freq);
        const auto out = Calc(c.timer, c.d, c.time, c.freq);
        EXPECT_EQ(out.status, Status::InputError);
        EXPECT_EQ(out.timeUs.has_value(), c.timeKept);
        EXPECT_EQ(out.freqMHz.has_value(), c.freqKept);
        EXPECT_FALSE(out.range);
        EXPECT_FALSE(out.preload);
        ASSERT_TRUE(out.message);
        EXPECT_EQ(out.message->title, "输入数据不正确");
        EXPECT_EQ(out.message->text, kInputText);
    }
    // Just inside the 32-bit limit the calculation goes ahead.
    EXPECT_NE(Calc(T1, 8, "100", "0.00098").status, Status::InputError);
}

TEST(TimerCalc, ZeroOrNegativeFrequencyIsRefusedAfterStoringBothNumbers) {
    struct Case {
        TimerKind timer;
        const char* time;
        const char* freq;
    };
    const Case cases[] = {
        {T0, "100", "0"},
        {T0, "100", "0.000"},
        {T1, "100", ".0"},
        {T2, "100", "-0"},
        // Pasted past the key filter: a tiny negative period would fit the
        // negative range and give a start value.
        {T0, "100", "-4"},
        {T0, "-0.000006", "-1000000"},
        {T1, "-0.5", "-0.001"},
        {T2, "-1", "-4"},
    };
    for (const auto& c : cases) {
        const auto out = Calc(c.timer, 2, c.time, c.freq);
        EXPECT_EQ(out.status, Status::FrequencyNotPositive) << c.time << " at " << c.freq;
        EXPECT_EQ(out.timeUs, std::stof(c.time));
        EXPECT_EQ(out.freqMHz, std::stof(c.freq));
        EXPECT_FALSE(out.range);
        EXPECT_FALSE(out.preload);
        ASSERT_TRUE(out.message);
        EXPECT_EQ(out.message->title, "晶振频率设置错误");
        EXPECT_EQ(out.message->text, "晶振或外部输入的频率应大于0，请重新设置。谢谢！");
    }
}

TEST(TimerCalc, ReadOutsFollowTheInjectedLocale) {
    const NumberLocale swiss{"'", "\u2212"};
    EXPECT_EQ(Calc(T0, 256, "204800", "0.5", swiss).range->minText, "2'048.000");
    EXPECT_EQ(Calc(T0, 2, "251", "4", swiss).preload->errorText, "\u22121.000");
    EXPECT_EQ(Calc(T0, 256, "1000", "0.5", swiss).message->text,
              std::string(kRangeLine1) + "0.5M频率在1:256分频设置下的定时范围为2'048.000-524288uS");
}

// Exactly reachable periods must leave an error of exactly 0: the error is
// written into the generated source, where rounding noise would show.
TEST(TimerCalc, ExactPeriodsLeaveNoError) {
    struct Combo {
        TimerKind timer;
        int d;
    };
    for (const Combo combo :
         {Combo{T0, 1}, Combo{T0, 32}, Combo{T1, 1}, Combo{T1, 8}, Combo{T2, 4}, Combo{T2, 16}}) {
        const int range = CounterRange(combo.timer);
        for (const int freq : {1, 4, 10, 12, 20}) {
            for (int counts = 1; counts <= range; counts += 1 + range / 300) {
                if (counts * 4 * combo.d % freq != 0) continue;
                const int time = counts * 4 * combo.d / freq;
                const auto out =
                    Calc(combo.timer, combo.d, std::to_string(time).c_str(), std::to_string(freq).c_str());
                ASSERT_EQ(out.status, Status::Ok) << time << " us at " << freq << " MHz";
                EXPECT_EQ(out.preload->start, range - counts);
                EXPECT_EQ(out.preload->errorUs, 0.0f) << time << " us at " << freq << " MHz";
            }
        }
    }
}

// Against the data-sheet relation period = 4 / Fosc x prescale x (range - preload),
// worked independently in long double.
TEST(TimerCalc, AgreesWithTheDataSheetFormula) {
    struct Combo {
        TimerKind timer;
        int d;
    };
    std::vector<Combo> combos;
    for (int d = 1; d <= 256; d *= 2) combos.push_back({T0, d});
    for (int d : {1, 2, 4, 8}) combos.push_back({T1, d});
    for (int d : {1, 4, 16}) combos.push_back({T2, d});
    const float crystals[] = {0.032768f, 1, 3.579545f, 3.6864f, 4, 7.3728f, 11.0592f, 13, 20, 40};

    for (const auto& combo : combos) {
        for (const float f : crystals) {
            const long double range = CounterRange(combo.timer);
            const long double tick = 4.0L * combo.d / f;
            const long double last = range * tick;
            char freq[32];
            std::snprintf(freq, sizeof freq, "%.9g", f);
            const auto check = [&](float t) {
                char text[64];
                std::snprintf(text, sizeof text, "%.9g", t);
                SCOPED_TRACE(std::string(text) + " us at " + freq + " MHz 1:" + std::to_string(combo.d));
                const auto out = Calc(combo.timer, combo.d, text, freq);
                ASSERT_TRUE(out.range);
                EXPECT_LE(std::fabs(out.range->maxUs - last), 0.5L);
                const long double start = range - t / tick;
                const bool fits = t >= tick && t <= out.range->maxUs && start >= -0.5L;
                const long double margin = 1e-9L * (t + 1);
                if (std::fabs(t - tick) < margin || std::fabs(start + 0.5L) < 1e-6L)
                    return;  // too close to a limit to call
                ASSERT_EQ(out.status, fits ? Status::Ok : Status::OutOfRange);
                if (!fits) return;
                const int n = out.preload->start;
                EXPECT_GE(n, 0);
                EXPECT_LT(n, range);
                const long double error = t - tick * (range - n);
                EXPECT_LE(std::fabs(error), tick / 2 * (1 + 1e-6L));
                EXPECT_NEAR(out.preload->errorUs, static_cast<double>(error),
                            1e-6 * std::fabs(static_cast<double>(error)) + 1e-9 * t);
            };
            for (int i = 0; i <= 60; ++i) check(static_cast<float>(tick * 0.5L + (last * 1.02L) * i / 60));
            check(static_cast<float>(tick));
            // The rounded maximum, which may lie past the last count.
            check(static_cast<float>(Calc(combo.timer, combo.d, "1", freq).range->maxUs));
        }
    }
}

}  // namespace
}  // namespace korvane
