#include <gtest/gtest.h>

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
    ProjectSettings s;
    s.CrystalMHz = 8;
    s.PortADir.fill(1);
    s.PortCUsed = 1;
    s.T0En = true;
    s.T0TimeUs = "abc";
    s.T0RegText = "0xCE";
    s.T1PsDiv = 8.0;
    s.T1RegHighText = "0xFF";
    s.T2PostIndex = 15;
    s.T2ErrorUs = 1.5f;
    s.Ccp2M = 12;
    s.SciErrLimit = 0;
    s.SciBaud = "9600";
    s.SciSpbrgText = "0x19";
    s.SciTxInt = 1;
    s.SciRxInt = 1;

    for (SettingGroup group : kEveryGroup) s.Reset(group);

    ProjectSettings expected;
    expected.T0RegText = "0xCE";
    expected.T1RegHighText = "0xFF";
    expected.T2ErrorUs = 1.5f;
    expected.SciBaud = "9600";
    expected.SciSpbrgText = "0x19";
    expected.SciTxInt = 1;
    expected.SciRxInt = 1;
    EXPECT_EQ(s, expected);
    EXPECT_TRUE(s.SciErrLimit.kind() == SettingValue::Kind::Text);
    EXPECT_EQ(s.SciErrLimit.toText(), "0.2");
}

}  // namespace
}  // namespace korvane
