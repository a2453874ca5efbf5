#pragma once

#include <string>

namespace korvane {

// One code point as its UTF-8 bytes, the encoding every text in the program uses.
std::string Utf8Encode(char32_t code);

}  // namespace korvane
