#include "format/gbk.h"

#include <iconv.h>

#include <cstdio>
#include <cstring>
#include <optional>

#include "format/utf8.h"

namespace korvane {

namespace {

class Converter {
public:
    Converter() : cd_(iconv_open("GBK", "UTF-8")) {}
    ~Converter() {
        if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // One character's GBK bytes, or nullopt when GBK has no such character.
    std::optional<std::string> convert(std::string_view character) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
        char in[4];
        char out[8];
        std::memcpy(in, character.data(), character.size());
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = character.size();
        std::size_t outLeft = sizeof out;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0)
            return std::nullopt;
        return std::string(out, sizeof out - outLeft);
    }

private:
    iconv_t cd_;
};

void NoteUnencodable(std::u32string& list, char32_t character) {
    if (list.find(character) == std::u32string::npos) list += character;
}

}  // namespace

std::string CharacterList(const std::u32string& characters) {
    std::string list;
    for (char32_t code : characters) {
        char number[16];
        std::snprintf(number, sizeof number, "(U+%04X)", static_cast<unsigned>(code));
        if (!list.empty()) list += " ";
        list += (IsControl(code) ? std::string() : Utf8Encode(code)) + number;
    }
    return list;
}

GbkText EncodeGbk(std::string_view utf8) {
    GbkText result;
    result.bytes.reserve(utf8.size());
    Converter converter;
    while (!utf8.empty()) {
        const auto decoded = Utf8Decode(utf8);
        if (!decoded) {
            NoteUnencodable(result.unencodable, U'\uFFFD');
            utf8.remove_prefix(1);
            continue;
        }
        const auto character = utf8.substr(0, decoded->length);
        utf8.remove_prefix(decoded->length);
        if (decoded->length == 1) {
            result.bytes += character;  // GBK keeps ASCII as it is
        } else if (auto bytes = converter.convert(character)) {
            result.bytes += *bytes;
        } else {
            NoteUnencodable(result.unencodable, decoded->code);
        }
    }
    return result;
}

}  // namespace korvane

namespace korvane {

std::optional<std::string> DecodeGbk(std::string_view bytes) {
    const iconv_t cd = iconv_open("UTF-8", "GBK");
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::string out(bytes.size() * 3 + 4, '\0');  // never more than three UTF-8 bytes a byte
    std::string in(bytes);
    char* inPtr = in.data();
    char* outPtr = out.data();
    std::size_t inLeft = in.size();
    std::size_t outLeft = out.size();
    const bool converted = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
    iconv_close(cd);
    if (!converted || inLeft != 0) return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
}

}  // namespace korvane
