#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// One code point as its UTF-8 bytes, the encoding every text in the program uses.
std::string Utf8Encode(char32_t code);

struct Utf8Character {
    std::size_t length;
    char32_t code;
};

// The well-formed UTF-8 sequence at the start of `text`, or nullopt (also for
// an empty text, overlong forms, surrogates and codes above U+10FFFF).
std::optional<Utf8Character> Utf8Decode(std::string_view text);

// C0 controls, DEL and C1 controls: characters that can drive a terminal.
bool IsControl(char32_t code);

// `text` with every control character shown as an escape (\x1b, \u0085) and
// every byte that is no UTF-8 as \xff, so a message built from file content
// prints as plain text.
std::string EscapeControls(std::string_view text);

// How much of a text from a file a message quotes: about a line.
inline constexpr std::size_t kQuotedCharacters = 80;

// The one rule for a user's text in a message (a value, a key, a name, a
// marker): its first kQuotedCharacters characters, and "…" when there is
// more, so a huge key or value makes no huge message; control characters
// escaped as EscapeControls does, so none can drive a terminal or break a
// box's lines. Cut between characters; a byte that is no UTF-8 counts as one.
std::string QuoteShort(std::string_view text);

}  // namespace korvane
