#include "platform/legacy_text_file.h"

#include <fcntl.h>
#include <iconv.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "format/utf8.h"

namespace korvane {

namespace {

struct Utf8Character {
    std::size_t length;
    char32_t code;
};

// The well-formed UTF-8 sequence at the start of `text`, or nullopt.
std::optional<Utf8Character> Utf8Decode(std::string_view text) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    std::size_t length;
    char32_t code;
    if (lead < 0x80) return Utf8Character{1, lead};
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        return std::nullopt;
    }
    if (text.size() < length) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return std::nullopt;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    const bool overlong = (length == 3 && code < 0x800) || (length == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    if (overlong || surrogate || code > 0x10FFFF) return std::nullopt;
    return Utf8Character{length, code};
}

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

std::string Reason(int error) {
    return std::strerror(error);
}

}  // namespace

std::string CharacterList(const std::u32string& characters) {
    std::string list;
    for (char32_t code : characters) {
        char number[16];
        std::snprintf(number, sizeof number, "(U+%04X)", static_cast<unsigned>(code));
        if (!list.empty()) list += " ";
        list += (code >= 0x20 ? Utf8Encode(code) : std::string()) + number;
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

std::string ReplaceFileContents(const std::string& path, std::string_view bytes) {
    if (path.empty()) return Reason(ENOENT);
    std::string target = path;
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) return Reason(EISDIR);
        // Replace what a link points at, not the link itself.
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
        // A file the user may not write stays as it is, as a plain write would.
        if (::access(target.c_str(), W_OK) != 0) return Reason(errno);
    }

    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = folder + (folder.back() == '/' ? "" : "/") + "." + base + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return Reason(errno);

    const auto fail = [&](int error) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return Reason(error);
    };
    mode_t mode;
    if (exists) {
        mode = existing.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0) return fail(errno);
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) return fail(errno);
    if (::close(fd) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Reason(error);
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Reason(error);
    }
    return {};
}

FileWriteResult WriteGbkTextFile(const std::string& path, std::string_view utf8) {
    FileWriteResult result;
    auto encoded = EncodeGbk(utf8);
    if (!encoded.unencodable.empty()) {
        result.status = FileWriteResult::Status::Unencodable;
        result.unencodable = std::move(encoded.unencodable);
        return result;
    }
    if (auto error = ReplaceFileContents(path, encoded.bytes); !error.empty()) {
        result.status = FileWriteResult::Status::Failed;
        result.error = std::move(error);
    }
    return result;
}

}  // namespace korvane
