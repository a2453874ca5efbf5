#include "dialogs/stored_options.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace korvane {
namespace {

// A dialog puts back only a stored value that is one of its options; anything
// else (which the generator would round or clamp) leaves the group alone.
TEST(StoredOptions, OnlyAWholeIndexInRangeIsAnOption) {
    struct Case {
        SettingValue stored;
        std::optional<int> index;
    };
    const Case cases[] = {
        {0, 0},
        {2, 2},
        {3, std::nullopt},      // one past the last of three
        {-1, std::nullopt},     // also what a ticked flag reads as
        {1.5, std::nullopt},    // the generator would round this
        {1.0, 1},               // a whole double is fine
        {std::string("2"), 2},  // typed text that is a number
        {std::string("x"), std::nullopt},
        {1e300, std::nullopt},  // far beyond any int
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.toText());
        EXPECT_EQ(OptionIndexOrNothing(c.stored, 3), c.index);
        OptionGroup group("Opt", {"a", "b", "c"});
        int clicks = 0;
        group.onClick = [&](int) { ++clicks; };
        SelectStoredOption(group, c.stored);
        EXPECT_EQ(group.selected(), c.index.value_or(OptionGroup::kNone));
        EXPECT_EQ(clicks, c.index ? 1 : 0);
    }
}

// The divisor is the ratio its option shows; an index that is no option
// gives 0, which the calculator refuses instead of shifting out of range.
TEST(StoredOptions, PrescaleRatioIsTheCaptionedRatioOrNothing) {
    struct Case {
        TimerKind timer;
        std::optional<int> index;
        int ratio;
    };
    const Case cases[] = {
        {TimerKind::Timer0, 0, 2},  {TimerKind::Timer0, 7, 256},          {TimerKind::Timer0, 8, 0},
        {TimerKind::Timer0, -1, 0}, {TimerKind::Timer0, std::nullopt, 0}, {TimerKind::Timer1, 3, 8},
        {TimerKind::Timer1, 4, 0},  {TimerKind::Timer2, 2, 16},           {TimerKind::Timer2, 3, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.timer) * 100 + c.index.value_or(-99));
        EXPECT_EQ(PrescaleRatio(c.timer, c.index), c.ratio);
        if (c.ratio != 0) {
            EXPECT_EQ(RatioCaptions(PrescalerRatios(c.timer))[static_cast<std::size_t>(*c.index)],
                      "1:" + std::to_string(c.ratio));
        }
    }
    EXPECT_EQ(RatioCaptions({1, 4, 16}), (std::vector<std::string>{"1:1", "1:4", "1:16"}));
}

}  // namespace
}  // namespace korvane
