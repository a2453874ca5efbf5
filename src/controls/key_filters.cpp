#include "controls/key_filters.h"

namespace korvane {

namespace {
constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kFullStop = '.';
}  // namespace

void DecimalKeyFilter(std::int16_t& keyAscii) {
    const bool digit = keyAscii >= '0' && keyAscii <= '9';
    if (!digit && keyAscii != kBackspace && keyAscii != kFullStop) keyAscii = 0;
}

void BitKeyFilter(std::int16_t& keyAscii) {
    if (keyAscii != '0' && keyAscii != '1' && keyAscii != kBackspace) keyAscii = 0;
}

}  // namespace korvane
