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
        {3, std::nullopt},     // one past the last of three
        {-1, std::nullopt},    // also what a ticked flag reads as
        {1.5, std::nullopt},   // the generator would round this
        {1.0, 1},              // a whole double is fine
        {std::string("2"), 2}, // typed text that is a number
        {std::string("x"), std::nullopt},
        {1e300, std::nullopt}, // far beyond any int
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

TEST(StoredOptions, RatioCaptionsFollowTheRatios) {
    EXPECT_EQ(RatioCaptions({1, 4, 16}), (std::vector<std::string>{"1:1", "1:4", "1:16"}));
}

}  // namespace
}  // namespace korvane
