// Number texts and the setting value rules on arbitrary text and numbers.
#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "format/number_text.h"
#include "fuzz_check.h"
#include "settings/setting_value.h"

namespace {

using namespace korvane;

// The texts are written with 7 or 15 significant digits, so reading one back
// lands within half a unit of the last digit shown.
void CheckGeneralText(const std::string& text, double value, double relative) {
    FUZZ_CHECK(!text.empty());
    if (!std::isfinite(value)) {
        FUZZ_CHECK(text == "0" || text == "inf" || text == "-inf");
        return;
    }
    if (text.find('E') != std::string::npos) return;  // exponent form is for display only
    const auto back = ParseDecimal(text);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(std::fabs(*back - value) <= relative * std::fabs(value));
}

void CheckRegisterText(std::int64_t value) {
    const std::string text = RegisterByteText(value);
    FUZZ_CHECK(text.size() >= 4 && text.compare(0, 2, "0x") == 0);
    FUZZ_CHECK(text.find_first_not_of("0123456789ABCDEF", 2) == std::string::npos);
    FUZZ_CHECK(std::strtoull(text.c_str() + 2, nullptr, 16) == static_cast<std::uint64_t>(value));
}

void CheckFixedText(double value, int decimals) {
    const NumberLocale locale;
    const std::string text = FixedDecimalText(value, decimals, locale);
    const auto point = text.find('.');
    FUZZ_CHECK(decimals == 0 ? point == std::string::npos : text.size() - point - 1 == std::size_t(decimals));
    std::string plain;
    for (char c : text) {
        if (c != ',') plain += c;
    }
    const auto back = ParseDecimal(plain);
    FUZZ_CHECK(back.has_value());
    FUZZ_CHECK(std::fabs(*back - value) <= 0.5 * std::pow(10.0, -decimals) + 1e-15 * std::fabs(value));
}

// The rules every kind of stored value follows.
void CheckSettingValue(const SettingValue& value) {
    const auto number = value.toNumber();
    if (value.kind() == SettingValue::Kind::Text) FUZZ_CHECK(number == ParseDecimal(value.toText()));
    FUZZ_CHECK(value.isTrue() == (number && *number != 0.0));
    if (number) {
        FUZZ_CHECK(value.equals(*number) || std::isnan(*number));
        FUZZ_CHECK(!value.equals(*number + 1) || std::fabs(*number) >= 1e15);
    } else {
        FUZZ_CHECK(!value.equals(0) && !value.equals(1));
    }
    FUZZ_CHECK(SettingValue(value) == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string text = in.ConsumeRandomLengthString(64);
    const auto number = in.ConsumeIntegral<std::int64_t>();
    const auto single = in.ConsumeFloatingPoint<float>();
    const auto wide = in.ConsumeFloatingPoint<double>();
    const int decimals = in.ConsumeIntegralInRange(0, 6);

    const auto decimal = ParseDecimal(text);
    if (decimal) FUZZ_CHECK(std::isfinite(*decimal));
    const auto asSingle = ParseSingle(text);
    FUZZ_CHECK(!asSingle ||
               (decimal && std::isfinite(*asSingle) && *asSingle == static_cast<float>(*decimal)));

    CheckGeneralText(SingleText(single), single, 6e-7);
    CheckGeneralText(DoubleText(wide), wide, 6e-15);
    CheckRegisterText(number);
    if (std::fabs(wide) < 1e300) CheckFixedText(wide, decimals);

    CheckSettingValue(SettingValue());
    CheckSettingValue(SettingValue(text));
    CheckSettingValue(SettingValue(number));
    CheckSettingValue(SettingValue(single));
    CheckSettingValue(SettingValue(wide));
    CheckSettingValue(SettingValue(in.ConsumeBool()));
    // Whole numbers keep their value whether or not they fit an int16.
    FUZZ_CHECK(SettingValue(number).toNumber() == static_cast<double>(number));
    FUZZ_CHECK((SettingValue(number).kind() == SettingValue::Kind::Int16) ==
               (number >= INT16_MIN && number <= INT16_MAX));
    return 0;
}
