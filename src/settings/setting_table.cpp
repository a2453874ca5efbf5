#include "settings/setting_table.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <type_traits>
#include <utility>
#include <variant>

namespace korvane {

namespace {

// Stands for any member in a brace list: converting to a reference keeps
// class members with converting constructors unambiguous.
struct AnyMember {
    template <class T>
    constexpr operator T&() const noexcept;
};

template <class T, std::size_t... I>
constexpr bool BracesTake(std::index_sequence<I...>) {
    return requires {
        T{((void)I, AnyMember{})...};
    };
}

// The number of members of an aggregate: the longest brace list it accepts.
template <class T, std::size_t N = 0>
constexpr std::size_t MemberCount() {
    if constexpr (BracesTake<T>(std::make_index_sequence<N + 1>{}))
        return MemberCount<T, N + 1>();
    else
        return N;
}

constexpr bool NamesDistinct() {
    for (std::size_t i = 0; i < std::size(kSettings); ++i)
        for (std::size_t j = i + 1; j < std::size(kSettings); ++j)
            if (kSettings[i].name == kSettings[j].name) return false;
    return true;
}

// The rows are made from member names, so distinct names are distinct
// members, and as many rows as members means every member has one.
static_assert(NamesDistinct(), "a setting has two rows");
static_assert(MemberCount<ProjectSettings>() == std::size(kSettings),
              "every member of ProjectSettings needs its row in kSettings");

// A whole number of 16 bits names its own range, so that a refusal says
// what the setting may hold.
constexpr bool WholeNumbersRanged() {
    for (const Setting& setting : kSettings) {
        const bool whole = std::holds_alternative<std::int16_t ProjectSettings::*>(setting.member) ||
                           std::holds_alternative<PinDirections ProjectSettings::*>(setting.member);
        if (whole && !setting.rule.range) return false;
    }
    return true;
}
static_assert(WholeNumbersRanged(), "an int16 setting needs its range");

}  // namespace

const Setting* FindSetting(std::string_view name) {
    for (const Setting& setting : kSettings)
        if (setting.name == name) return &setting;
    return nullptr;
}

std::string RangeText(const AllowedRange& range) {
    return std::to_string(range.min) + "到" + std::to_string(range.max);
}

bool WithinRange(const AllowedRange& range, std::int64_t whole) {
    return whole >= range.min && whole <= range.max;
}

bool HasShape(std::string_view text, TextShape shape) {
    const auto all = [&](std::string_view allowed) {
        return text.find_first_not_of(allowed) == std::string_view::npos;
    };
    switch (shape) {
        case TextShape::Decimal:
            return all("0123456789.");
        case TextShape::Register:
            return text.empty() ||
                   (text.size() == 4 && text.starts_with("0x") &&
                    text.substr(2).find_first_not_of("0123456789ABCDEF") == std::string_view::npos);
        case TextShape::Digits:
            break;
    }
    return all("0123456789");
}

Refusal CheckNumber(const ValueRule& rule, double number) {
    if (!std::isfinite(number) || (rule.positive && number <= 0)) return Refusal::Range;
    if (rule.range && (std::trunc(number) != number || number < rule.range->min || number > rule.range->max))
        return Refusal::Range;
    return Refusal::None;
}

bool SameChoices(const ProjectSettings& a, const ProjectSettings& b) {
    return std::ranges::all_of(kSettings, [&](const Setting& setting) {
        return std::visit(
            [&](auto member) {
                const auto& left = a.*member;
                const auto& right = b.*member;
                if constexpr (std::is_same_v<std::remove_cvref_t<decltype(left)>, SettingValue>)
                    return left == right || left.toText() == right.toText();
                else
                    return left == right;
            },
            setting.member);
    });
}

Refusal CheckValue(const ValueRule& rule, const SettingValue& value) {
    if ((rule.kinds & KindBit(value.kind())) == 0) return Refusal::Kind;
    switch (value.kind()) {
        case SettingValue::Kind::Text:
            return HasShape(value.toText(), rule.shape) ? Refusal::None : Refusal::Shape;
        case SettingValue::Kind::Flag:
            return Refusal::None;
        default:
            return CheckNumber(rule, value.toNumber().value_or(0));
    }
}

bool KeepsRule(const Setting& setting, const ProjectSettings& s) {
    const ValueRule& rule = setting.rule;
    const auto keeps = [&](auto member) {
        const auto& value = s.*member;
        using T = std::remove_cvref_t<decltype(value)>;
        if constexpr (std::is_same_v<T, SettingValue>)
            return CheckValue(rule, value) == Refusal::None;
        else if constexpr (std::is_same_v<T, std::string>)
            return HasShape(value, rule.shape);
        else if constexpr (std::is_same_v<T, PinDirections>)
            return std::ranges::all_of(
                value, [&](std::int16_t pin) { return CheckNumber(rule, pin) == Refusal::None; });
        else
            return CheckNumber(rule, value) == Refusal::None;
    };
    return std::visit(keeps, setting.member);
}

}  // namespace korvane
