#include "settings/setting_value.h"

#include <cmath>
#include <ostream>

#include "format/number_text.h"

namespace korvane {

std::optional<double> SettingValue::toNumber() const {
    switch (kind()) {
        case Kind::Empty:
            return 0.0;
        case Kind::Int16:
            return std::get<std::int16_t>(value_);
        case Kind::Single:
            return std::get<float>(value_);
        case Kind::Double:
            return std::get<double>(value_);
        case Kind::Flag:
            return std::get<bool>(value_) ? -1.0 : 0.0;
        case Kind::Text:
            return ParseDecimal(std::get<std::string>(value_));
    }
    return std::nullopt;
}

std::string SettingValue::toText() const {
    switch (kind()) {
        case Kind::Empty:
            return {};
        case Kind::Int16:
            return std::to_string(std::get<std::int16_t>(value_));
        case Kind::Single:
            return SingleText(std::get<float>(value_));
        case Kind::Double:
            return DoubleText(std::get<double>(value_));
        case Kind::Flag:
            return std::get<bool>(value_) ? "True" : "False";
        case Kind::Text:
            return std::get<std::string>(value_);
    }
    return {};
}

bool SettingValue::isTrue() const {
    const auto number = toNumber();
    return number && *number != 0.0;
}

bool SettingValue::equals(double number) const {
    const auto own = toNumber();
    return own && *own == number;
}

std::int64_t RoundedClampedIndex(const SettingValue& value) {
    const auto number = value.toNumber();
    if (!number || std::isnan(*number)) return 0;
    const double limit = 2147483647.0;
    return static_cast<std::int64_t>(std::nearbyint(std::fmax(-limit, std::fmin(limit, *number))));
}

std::ostream& operator<<(std::ostream& os, const SettingValue& value) {
    static constexpr const char* kKinds[] = {"empty", "int16", "single", "double", "flag", "text"};
    return os << kKinds[static_cast<int>(value.kind())] << " \"" << value.toText() << '"';
}

}  // namespace korvane
