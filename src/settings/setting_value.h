#pragma once

#include <concepts>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <variant>

namespace korvane {

// A loosely typed setting: whatever its control last gave it. Option groups
// store an int16 index, check boxes a flag or a 0/1 state, text boxes the text
// exactly as typed, calculators a single or a 64-bit number.
class SettingValue {
public:
    enum class Kind { Empty, Int16, Single, Double, Flag, Text };

    SettingValue() = default;
    SettingValue(bool flag) : value_(flag) {}
    SettingValue(float single) : value_(single) {}
    SettingValue(double number) : value_(number) {}
    SettingValue(std::string text) : value_(std::move(text)) {}
    SettingValue(const char* text) : value_(std::string(text)) {}
    // Integers are kept as int16 as the dialogs store them; a value that does
    // not fit keeps its magnitude as a 64-bit number rather than wrapping.
    template <std::integral I>
    requires(!std::same_as<I, bool> && !std::same_as<I, char>) SettingValue(I number) {
        if (number >= INT16_MIN && number <= INT16_MAX)
            value_ = static_cast<std::int16_t>(number);
        else
            value_ = static_cast<double>(number);
    }

    Kind kind() const { return static_cast<Kind>(value_.index()); }

    // Use as a number: numbers as they are, a flag as -1/0, empty as 0 and
    // text converted with "." as the decimal point; nullopt when the text is
    // not a number.
    std::optional<double> toNumber() const;
    // Use as text: text as typed, numbers in their shortest form (up to 7
    // significant digits for a single, 15 for a 64-bit number).
    std::string toText() const;
    // Use as a condition: a nonzero number, or a true flag.
    bool isTrue() const;
    // Numeric comparison; a text that does not convert never compares equal.
    bool equals(double number) const;

    bool operator==(const SettingValue&) const = default;

private:
    std::variant<std::monostate, std::int16_t, float, double, bool, std::string> value_;
};

// An option index as a whole number: rounded half to even, 0 when the value
// is not a number, clamped so any bit arithmetic stays defined. The generator
// writes something for whatever is stored; the dialogs instead refuse what is
// no option (OptionIndexOrNothing), and the project file what is outside the
// setting's range.
std::int64_t RoundedClampedIndex(const SettingValue& value);

// Readable values in test failure messages.
std::ostream& operator<<(std::ostream& os, const SettingValue& value);

}  // namespace korvane
