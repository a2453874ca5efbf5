#pragma once

#include <cstdint>

namespace korvane {

// Key-press filters of the number boxes: the character code either passes
// unchanged or becomes 0, which discards the key. Single keys only; pasted
// text never comes through here.

// Digits, the full stop and Backspace. A second point is let through on
// purpose: the calculators refuse it when they convert the text.
void DecimalKeyFilter(std::int16_t& keyAscii);

// The digits 0 and 1 and Backspace.
void BitKeyFilter(std::int16_t& keyAscii);

}  // namespace korvane
