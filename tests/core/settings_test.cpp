#include <gtest/gtest.h>

#include <type_traits>
#include <variant>

#include "settings/project_settings.h"
#include "settings/setting_table.h"

namespace korvane {
namespace {

TEST(SettingValue, NumberUse) {
    struct Case {
        SettingValue value;
        std::optional<double> number;
    };
    const Case cases[] = {
        {SettingValue(), 0.0},
        {SettingValue(std::int16_t{-3}), -3.0},
        {SettingValue(true), -1.0},
        {SettingValue(false), 0.0},
        {SettingValue(2.5f), 2.5},
        {SettingValue(1e10), 1e10},
        {SettingValue("12.5"), 12.5},
        {SettingValue(""), std::nullopt},
        {SettingValue("."), std::nullopt},
        {SettingValue("1.2.3"), std::nullopt},
        {SettingValue("abc"), std::nullopt},
        {SettingValue(100000), 100000.0},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value.toNumber(), c.number) << c.value.toText();
}

TEST(SettingValue, TextUse) {
    struct Case {
        SettingValue value;
        const char* text;
    };
    const Case cases[] = {
        {SettingValue(), ""},
        {SettingValue(256), "256"},
        {SettingValue(-4), "-4"},
        {SettingValue(8.0f), "8"},
        {SettingValue(3.6864f), "3.6864"},
        {SettingValue(0.5f), "0.5"},
        {SettingValue(12345678.0f), "1.234568E+07"},
        {SettingValue(0.00001f), "1E-05"},
        {SettingValue(-0.0f), "0"},
        {SettingValue(1.0 / 3.0), "0.333333333333333"},
        {SettingValue("1.2.3"), "1.2.3"},
        {SettingValue(true), "True"},
    };
    for (const auto& c : cases) EXPECT_EQ(c.value.toText(), c.text);
}

TEST(SettingValue, Comparison) {
    EXPECT_TRUE(SettingValue(true).equals(-1));
    EXPECT_TRUE(SettingValue("1").equals(1));
    EXPECT_FALSE(SettingValue("x").equals(0));
    EXPECT_TRUE(SettingValue().equals(0));
    EXPECT_TRUE(SettingValue(std::int16_t{-1}).isTrue());
    EXPECT_FALSE(SettingValue("abc").isTrue());
}

TEST(ProjectSettings, ResetsRestoreDefaultsButKeepCalculatorOutputs) {
    // Every field off its default, so a reset that forgets one is seen.
    ProjectSettings s;
    for (const Setting& setting : kSettings)
        std::visit(
            [&s](auto member) {
                auto& field = s.*member;
                using Field = std::remove_reference_t<decltype(field)>;
                if constexpr (std::is_same_v<Field, SettingValue>)
                    field = SettingValue("perturbed");
                else if constexpr (std::is_same_v<Field, std::int16_t>)
                    field = 77;
                else if constexpr (std::is_same_v<Field, float>)
                    field = 7.5f;
                else if constexpr (std::is_same_v<Field, std::string>)
                    field = "perturbed";
                else
                    field.fill(7);
            },
            setting.member);

    for (SettingGroup group : kEveryGroup) s.Reset(group);

    // What the calculators and the crystal command worked out stays.
    ProjectSettings expected;
    expected.T0ErrorUs = expected.T1ErrorUs = expected.T2ErrorUs = 7.5f;
    expected.T0RegText = expected.T1RegLowText = expected.T2RegText = expected.SciBaud = "perturbed";
    expected.T1RegHighText = expected.SciTxInt = expected.SciSpbrgText = SettingValue("perturbed");
    expected.SciRxInt = expected.MsspSspadd = 77;
    EXPECT_EQ(s, expected);
    EXPECT_TRUE(s.SciErrLimit.kind() == SettingValue::Kind::Text);
    EXPECT_EQ(s.SciErrLimit.toText(), "0.2");
}

}  // namespace
}  // namespace korvane
