#include "controls/key_filters.h"

#include <gtest/gtest.h>

namespace korvane {
namespace {

TEST(KeyFilters, PassOrDiscard) {
    struct Case {
        int code;
        bool decimal;
        bool bit;
    };
    const Case cases[] = {
        {'0', true, true},         {'1', true, true},      {'2', true, false},  {'5', true, false},
        {'9', true, false},        {'.', true, false},     {8, true, true},     {'-', false, false},
        {'e', false, false},       {',', false, false},    {' ', false, false}, {'/', false, false},
        {':', false, false},       {13, false, false},     {27, false, false},  {0, false, false},
        {-1, false, false},        {0x4E2D, false, false},  // a Chinese character, not a digit
        {256 + '0', false, false},                          // only the full code counts
    };
    for (const auto& c : cases) {
        std::int16_t decimal = static_cast<std::int16_t>(c.code);
        std::int16_t bit = static_cast<std::int16_t>(c.code);
        DecimalKeyFilter(decimal);
        BitKeyFilter(bit);
        EXPECT_EQ(decimal, c.decimal ? c.code : 0) << c.code;
        EXPECT_EQ(bit, c.bit ? c.code : 0) << c.code;
    }
}

}  // namespace
}  // namespace korvane
