#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace korvane {

// UTF-8 text in GBK. Characters GBK cannot hold are listed (each once, in order
// of appearance) instead of being replaced by "?"; malformed UTF-8 counts as
// unencodable too and is listed as U+FFFD.
struct GbkText {
    std::string bytes;
    std::u32string unencodable;
};
GbkText EncodeGbk(std::string_view utf8);

// Each character with its code, so invisible ones can be found too: "😀(U+1F600)".
std::string CharacterList(const std::u32string& characters);

// Writes `bytes` to `path` through a temporary file in the same folder that
// then replaces the target, so a failed write leaves an existing file intact.
// Returns "" on success, otherwise the reason.
std::string ReplaceFileContents(const std::string& path, std::string_view bytes);

// EncodeGbk, then ReplaceFileContents: nothing is written when a character
// cannot be stored.
FileWriteResult WriteGbkTextFile(const std::string& path, std::string_view utf8);

}  // namespace korvane
