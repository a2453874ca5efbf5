#include "calc/baud_calc.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace korvane {
namespace {

constexpr int kHigh = 16;
constexpr int kLow = 64;
constexpr int kSync = 4;

BaudCalcResult Calc(float mhz, int divisor, const char* limit = "0.2", const NumberLocale& locale = {}) {
    return CalcBaudList({mhz, divisor, limit, locale});
}

// "rate spbrg" per entry, fastest first.
std::vector<std::string> Pairs(const BaudCalcResult& result) {
    std::vector<std::string> pairs;
    for (const auto& e : result.entries) pairs.push_back(e.rateText + " " + e.spbrgText);
    return pairs;
}

TEST(BaudCalc, ListsTheReachableRatesFastestFirstAndChoosesTheSlowest) {
    using Pairs_ = std::vector<std::string>;
    struct Case {
        float mhz;
        int divisor;
        const char* limit;
        Pairs_ entries;
        std::vector<std::string> actual;  // leading actual-rate texts to check
    };
    const Case cases[] = {
        {4,
         kHigh,
         "0.2",
         {"19200 0x0C", "9600 0x19", "4800 0x33", "2400 0x67", "1200 0xCF"},
         {"19,230.76923", "9,615.38462", "4,807.69231", "2,403.84615", "1,201.92308"}},
        {4, kLow, "0.2", {"4800 0x0C", "2400 0x19", "1200 0x33", "600 0x67", "300 0xCF"}, {}},
        {4, kSync, "0.2", {"38400 0x19", "19200 0x33", "9600 0x67", "4800 0xCF"}, {"38,461.53846"}},
        {20, kHigh, "0.2", {"19200 0x40", "9600 0x81"}, {}},
        {11.0592f,
         kHigh,
         "0.2",
         {"38400 0x11", "28800 0x17", "19200 0x23", "14400 0x2F", "9600 0x47", "4800 0x8F"},
         {"38,400.00000"}},
        {3.6864f,
         kLow,
         "0.2",
         {"28800 0x01", "19200 0x02", "14400 0x03", "9600 0x05", "4800 0x0B", "2400 0x17", "1200 0x2F",
          "600 0x5F", "300 0xBF"},
         {}},
        // A wider window: the smallest SPBRG inside it wins, not the nearest rate.
        {4,
         kHigh,
         "2",
         {"19200 0x0C", "9600 0x19", "4800 0x33", "2400 0x66", "1200 0xCC"},
         {"19,230.76923", "9,615.38462", "4,807.69231", "2,427.18447", "1,219.51220"}},
        // Only exact rates at limit 0.
        {11.0592f,
         kHigh,
         "0",
         {"38400 0x11", "28800 0x17", "19200 0x23", "14400 0x2F", "9600 0x47", "4800 0x8F"},
         {}},
        {4, kHigh, "0", {}, {}},
        {4, kHigh, "0.000", {}, {}},
        // Standard UART crystals: the crystal is taken as typed, so their
        // rates are exact (18.432 held as a single is 18431999.2 Hz, which
        // falls just short of every rate).
        {18.432f,
         kHigh,
         "0.2",
         {"128000 0x08", "38400 0x1D", "28800 0x27", "19200 0x3B", "14400 0x4F", "9600 0x77", "4800 0xEF"},
         {"128,000.00000", "38,400.00000"}},
        {18.432f,
         kLow,
         "0.2",
         {"28800 0x09", "19200 0x0E", "14400 0x13", "9600 0x1D", "4800 0x3B", "2400 0x77", "1200 0xEF"},
         {}},
        {18.432f, kSync, "0.2", {"256000 0x11", "128000 0x23", "38400 0x77", "28800 0x9F", "19200 0xEF"}, {}},
        {18.432f,
         kHigh,
         "0",
         {"128000 0x08", "38400 0x1D", "28800 0x27", "19200 0x3B", "14400 0x4F", "9600 0x77", "4800 0xEF"},
         {}},
        {19.6608f, kHigh, "0", {"38400 0x1F", "19200 0x3F", "9600 0x7F", "4800 0xFF"}, {"38,400.00000"}},
        {19.6608f,
         kLow,
         "0",
         {"38400 0x07", "19200 0x0F", "9600 0x1F", "4800 0x3F", "2400 0x7F", "1200 0xFF"},
         {}},
        {19.6608f, kSync, "0", {"38400 0x7F", "19200 0xFF"}, {}},
        {22.1184f,
         kHigh,
         "0",
         {"38400 0x23", "28800 0x2F", "19200 0x47", "14400 0x5F", "9600 0x8F"},
         {"38,400.00000"}},
        {22.1184f,
         kLow,
         "0",
         {"38400 0x08", "28800 0x0B", "19200 0x11", "14400 0x17", "9600 0x23", "4800 0x47", "2400 0x8F"},
         {}},
        {22.1184f, kSync, "0", {"38400 0x8F", "28800 0xBF"}, {}},
        // A very wide window: SPBRG 0 (250000) already fits 128000, and the
        // scan then goes on down the table from 56000.
        {4,
         kHigh,
         "100",
         {"128000 0x00", "56000 0x02", "38400 0x03", "28800 0x04", "19200 0x06", "14400 0x08", "9600 0x0D",
          "4800 0x1A", "2400 0x34", "1200 0x68", "600 0xD0"},
         {"250,000.00000", "83,333.33333"}},
    };
    for (const auto& c : cases) {
        const std::string why =
            std::to_string(c.mhz) + " MHz /" + std::to_string(c.divisor) + " at " + c.limit;
        const auto result = Calc(c.mhz, c.divisor, c.limit);
        EXPECT_EQ(Pairs(result), c.entries) << why;
        for (std::size_t i = 0; i < c.actual.size() && i < result.entries.size(); ++i)
            EXPECT_EQ(result.entries[i].actualText, c.actual[i]) << why << " entry " << i;
        if (c.entries.empty()) {
            EXPECT_EQ(result.status, BaudCalcStatus::NoUsableRate) << why;
            EXPECT_EQ(result.chosen(), nullptr) << why;
        } else {
            EXPECT_EQ(result.status, BaudCalcStatus::Ok) << why;
            ASSERT_NE(result.chosen(), nullptr) << why;
            EXPECT_EQ(result.chosen()->rateText + " " + result.chosen()->spbrgText, c.entries.back()) << why;
        }
    }
}

// The properties every run must have, over a spread of crystals and limits:
// descending rates, each candidate once, the window one-sided, the smallest
// SPBRG inside the window, and texts that match the numbers.
TEST(BaudCalc, EveryEntryLiesInsideItsOneSidedWindowAtItsSmallestSpbrg) {
    const float crystals[] = {1,        1.8432f, 3.6864f, 4,        7.3728f, 8,        10,
                              11.0592f, 16,      18.432f, 19.6608f, 20,      22.1184f, 32.768f};
    const char* const limits[] = {"0", "0.2", "1", "2.5", "5", "50"};
    for (const int divisor : {kSync, kHigh, kLow}) {
        for (const float mhz : crystals) {
            for (const char* limit : limits) {
                const std::string why = std::to_string(mhz) + "/" + std::to_string(divisor) + "/" + limit;
                const auto result = Calc(mhz, divisor, limit);
                const double hz = *CrystalHz(mhz);
                const double fraction = static_cast<float>(std::stod(limit) / 100);
                for (std::size_t i = 0; i < result.entries.size(); ++i) {
                    const auto& e = result.entries[i];
                    if (i > 0) {
                        EXPECT_LT(e.rate, result.entries[i - 1].rate) << why;
                        EXPECT_GT(e.spbrg, result.entries[i - 1].spbrg) << why;
                    }
                    ASSERT_GE(e.spbrg, 0);
                    ASSERT_LE(e.spbrg, 255);
                    EXPECT_DOUBLE_EQ(e.actualBaud, hz / (divisor * (e.spbrg + 1))) << why;
                    EXPECT_GE(e.actualBaud, e.rate) << why;
                    EXPECT_LE(e.actualBaud, fraction * e.rate + e.rate) << why;
                    if (e.spbrg > 0) {
                        // One value smaller leaves the window above, or the
                        // rate was already taken by a faster candidate there.
                        const double faster = hz / (divisor * e.spbrg);
                        const bool fasterInWindow = faster <= fraction * e.rate + e.rate;
                        const bool takenThere = i > 0 && result.entries[i - 1].spbrg == e.spbrg - 1;
                        EXPECT_TRUE(!fasterInWindow || takenThere) << why << " " << e.rateText;
                    }
                    EXPECT_EQ(e.rateText, std::to_string(e.rate));
                    EXPECT_EQ(e.spbrgText, RegisterByteText(e.spbrg));
                }
            }
        }
    }
}

TEST(BaudCalc, NeverAcceptsARateBelowTheNominalOneWhateverTheLimit) {
    // 9599 Hz at SPBRG 0 in synchronous mode is one baud short of 9600.
    const auto result = Calc(9599 * 4 / 1e6f, kSync, "1000");
    ASSERT_FALSE(result.entries.empty());
    EXPECT_EQ(result.entries.front().rate, 4800);
    EXPECT_EQ(result.entries.front().spbrg, 0);
}

TEST(BaudCalc, CrystalRoundsToWholeHzWithHalvesToEven) {
    struct Case {
        float mhz;
        std::optional<std::int32_t> hz;
    };
    const Case cases[] = {
        {3.6864f, 3686400},
        {11.0592f, 11059200},
        // From the seven significant digits, not from the nearest single.
        {18.432f, 18432000},
        {19.6608f, 19660800},
        {22.1184f, 22118400},
        {-18.432f, -18432000},
        {1e-6f, 1},
        {1.5e-6f, 2},
        {2.5e-6f, 2},
        {4e-7f, 0},
        {4, 4000000},
        {0, 0},
        {-4, -4000000},
        // m / 128 MHz is an exact half of a Hz for odd m.
        {0.0078125f, 7812},
        {0.0234375f, 23438},
        {2147.48f, 2147480000},
        {2147.483f, 2147483000},     // the largest seven-digit value that still fits
        {2147.4836f, std::nullopt},  // 2147.484
        {2147.4839f, std::nullopt},
        {1e30f, std::nullopt},
        {-1e30f, std::nullopt},
        {std::numeric_limits<float>::infinity(), std::nullopt},
        {std::numeric_limits<float>::quiet_NaN(), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(CrystalHz(c.mhz), c.hz) << c.mhz;
}

TEST(BaudCalc, InputsThatGiveNoRateLeaveAnEmptyListAndSayWhy) {
    struct Case {
        float mhz;
        const char* limit;
        BaudCalcStatus status;
    };
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const std::string beyondSingle(60, '9');
    const Case cases[] = {
        {0, "0.2", BaudCalcStatus::CrystalNotPositive},
        {-4, "0.2", BaudCalcStatus::CrystalNotPositive},
        {4, "-5", BaudCalcStatus::ErrorLimitNegative},  // pasted: the window closes
        {4, ".", BaudCalcStatus::ErrorLimitInvalid},
        {4, "1.2.3", BaudCalcStatus::ErrorLimitInvalid},
        {4, "", BaudCalcStatus::ErrorLimitInvalid},
        {4, "abc", BaudCalcStatus::ErrorLimitInvalid},
        {4, beyondSingle.c_str(), BaudCalcStatus::ErrorLimitInvalid},  // beyond a single
        {2147.4839f, "0.2", BaudCalcStatus::CrystalOutOfRange},
        {5000, "0.2", BaudCalcStatus::CrystalOutOfRange},
        {nan, "0.2", BaudCalcStatus::CrystalOutOfRange},
    };
    for (const auto& c : cases) {
        const auto result = Calc(c.mhz, kHigh, c.limit);
        EXPECT_EQ(result.status, c.status) << c.mhz << " " << c.limit;
        EXPECT_TRUE(result.entries.empty()) << c.mhz << " " << c.limit;
    }
    EXPECT_TRUE(Calc(4, 0).entries.empty());
}

TEST(BaudCalc, ActualRatesFollowTheGivenGrouping) {
    const auto result = Calc(4, kHigh, "0.2", NumberLocale{".", "-"});
    ASSERT_FALSE(result.entries.empty());
    EXPECT_EQ(result.entries.front().actualText, "19.230.76923");
    // The largest crystal that fits, at the fastest setting: no overflow.
    const auto fast = Calc(2147.483f, kSync, "1000000");
    ASSERT_FALSE(fast.entries.empty());
    EXPECT_EQ(fast.entries.front().rate, 256000);
}

}  // namespace
}  // namespace korvane
