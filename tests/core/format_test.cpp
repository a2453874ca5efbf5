#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
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
        {3.4028235e38, std::numeric_limits<float>::max()},  // its shortest text, as files hold it
        {-3.4028235e38, -std::numeric_limits<float>::max()},
        {0x1.ffffffp127, std::nullopt},  // halfway to the next power: rounds to infinity
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

// The program runs in the user's locale, whose decimal point may be a comma.
TEST(NumberText, NumbersIgnoreTheLocalesDecimalComma) {
    const std::string folder = testing::TempDir() + "korvane-locale";
    const std::string make = "localedef -i de_DE -f UTF-8 " + folder + "/de_DE.UTF-8 2>/dev/null";
    if (std::system(("mkdir -p " + folder + " && " + make).c_str()) != 0) GTEST_SKIP() << "localedef failed";
    ::setenv("LOCPATH", folder.c_str(), 1);
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
    EXPECT_EQ(ParseDecimal("0.5"), 0.5);
    EXPECT_EQ(ParseDecimal("100.5"), 100.5);
    EXPECT_EQ(ParseDecimal("+1.25"), 1.25);
    EXPECT_EQ(ParseDecimal("0,5"), std::nullopt);
    EXPECT_EQ(SingleText(0.5f), "0.5");
    EXPECT_EQ(SingleText(12345678.0f), "1.234568E+07");
    EXPECT_EQ(FixedDecimalText(2048.5, 3, {}), "2,048.500");
    std::setlocale(LC_NUMERIC, "C");
    ::unsetenv("LOCPATH");
}

TEST(Utf8, ControlCharactersAreEscaped) {
    struct Case {
        std::string text;
        std::string escaped;
    } const cases[] = {
        {"plain 中文\t", "plain 中文\\x09"},
        {"\x1b]0;title\x07", "\\x1b]0;title\\x07"},
        {"a\r\nb\x7f", "a\\x0d\\x0ab\\x7f"},
        {"\xc2\x9b"
         "2J",
         "\\u009b2J"},      // a C1 control
        {"\xff", "\\xff"},  // no UTF-8 at all
    };
    for (const auto& c : cases) EXPECT_EQ(EscapeControls(c.text), c.escaped);
}

// The one rule every message quotes a user's text by: 80 characters, then
// "…"; controls escaped after the cut, so an escape is never cut in half.
TEST(Utf8, QuotedTextIsShortAndPlain) {
    const std::string eighty(80, 'x');
    std::string chinese;
    for (int i = 0; i < 81; ++i) chinese += "中";
    struct Case {
        std::string text;
        std::string quoted;
    } const cases[] = {
        {eighty, eighty},
        {eighty + "y", eighty + "…"},
        {std::string(1 << 20, 'v'), std::string(80, 'v') + "…"},
        {chinese, chinese.substr(0, 240) + "…"},
        {std::string(79, 'x') + "\n" + "tail", std::string(79, 'x') + "\\x0a…"},
        {"a */ b\x1b", "a */ b\\x1b"},
    };
    for (const auto& c : cases) EXPECT_EQ(QuoteShort(c.text), c.quoted) << c.text.size();
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
