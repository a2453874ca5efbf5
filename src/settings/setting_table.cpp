#include "settings/setting_table.h"

#include <cmath>
#include <cstddef>
#include <utility>

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

}  // namespace

const Setting* FindSetting(std::string_view name) {
    for (const Setting& setting : kSettings)
        if (setting.name == name) return &setting;
    return nullptr;
}

bool WithinRange(const AllowedRange& range, std::int64_t whole) {
    return whole >= range.min && whole <= range.max;
}

bool WithinRange(const AllowedRange& range, const SettingValue& value) {
    const auto number = value.toNumber();
    return number && !std::isnan(*number) && WithinRange(range, RoundedClampedIndex(value));
}

}  // namespace korvane
