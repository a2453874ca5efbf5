#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace korvane {

// UTF-8 text in GBK. Characters GBK cannot hold are listed (each once, in order
// of appearance) instead of being replaced by "?"; malformed UTF-8 counts as
// unencodable too and is listed as U+FFFD.
struct GbkText {
    std::string bytes;
    std::u32string unencodable;
};
GbkText EncodeGbk(std::string_view utf8);

// GBK bytes as UTF-8, or nothing when they are no GBK text.
std::optional<std::string> DecodeGbk(std::string_view bytes);

// Each character with its code, so invisible ones can be found too: "😀(U+1F600)".
std::string CharacterList(const std::u32string& characters);

}  // namespace korvane
