#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "format/number_text.h"
#include "format/utf8.h"

namespace korvane {
namespace {

// Every place that narrows a number to a single goes through this one test.
TEST(NumberText, FitInSingleRefusesWhatASingleCannotHold) {
    constexpr double kMax = std::numeric_limits<float>::max();
    struct Case {
        double value;
        std::optional<float> single;
    };
    const Case cases[] = {
        {0, 0.0f},
        {-2.5, -2.5f},
        {0.1, 0.1f},  // rounded to the nearest single
        {kMax, std::numeric_limits<float>::max()},
        {-kMax, -std::numeric_limits<float>::max()},
        {kMax * 2, std::nullopt},
        {-kMax * 2, std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt},
        {std::nan(""), std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(FitInSingle(c.value), c.single);
    }
    EXPECT_EQ(ParseSingle(std::string(40, '9')), std::nullopt);
    EXPECT_EQ(ParseSingle("4"), 4.0f);
}

// Each length of the encoding at both of its ends.
TEST(Utf8, EncodesEveryLengthAtItsLimits) {
    struct Case {
        char32_t code;
        const char* bytes;
    };
    const Case cases[] = {
        {U'A', "A"},
        {0x7F, "\x7F"},
        {0x80, "\xC2\x80"},
        {0x7FF, "\xDF\xBF"},
        {0x800, "\xE0\xA0\x80"},
        {U'中', "中"},
        {0xFFFF, "\xEF\xBF\xBF"},
        {0x10000, "\xF0\x90\x80\x80"},
        {0x1F600, "😀"},
        {0x10FFFF, "\xF4\x8F\xBF\xBF"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<unsigned>(c.code));
        EXPECT_EQ(Utf8Encode(c.code), c.bytes);
    }
}

}  // namespace
}  // namespace korvane
