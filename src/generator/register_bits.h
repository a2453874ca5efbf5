#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace korvane {

// Where each bit the set-up functions write lives, for the forms that write a
// register whole: the register, the bit's position and the register's value
// after a reset, which the bits not written keep.
struct BitPlace {
    std::string_view reg;
    int bit;
};
std::optional<BitPlace> PlaceOfBit(std::string_view name);
std::uint8_t ResetValueOf(std::string_view reg);
// The name of bit `bit` of `reg`, "" where no set-up writes it.
std::string_view BitNameOf(std::string_view reg, int bit);
// A bit a register's comment names only when it is 1.
bool NamedOnlyWhenSet(std::string_view bit);

}  // namespace korvane
