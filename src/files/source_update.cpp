#include "files/source_update.h"

#include <algorithm>

#include "files/file_io.h"
#include "format/gbk.h"
#include "format/line_diff.h"
#include "format/utf8.h"

namespace korvane {

namespace {

// A C file is small; a huge one is no generated file.
constexpr std::size_t kLargestSource = std::size_t{16} * 1024 * 1024;

bool ValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const auto decoded = Utf8Decode(text);
        if (!decoded) return false;
        text.remove_prefix(decoded->length);
    }
    return true;
}

std::string WithLf(std::string text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

}  // namespace

SourceUpdate PrepareSourceUpdate(const std::string& path, std::string_view generated, bool force) {
    SourceUpdate update;
    const auto fail = [&](std::string error) {
        update.status = SourceUpdate::Status::Failed;
        update.error = std::move(error);
        return update;
    };
    FileReadResult read = ReadFileContents(path, kLargestSource);
    switch (read.status) {
        case FileReadResult::Status::Read:
            break;
        case FileReadResult::Status::Failed:
            return fail("无法读取文件：" + read.error);
        case FileReadResult::Status::NotRegular:
            return fail("不是普通文件");
        case FileReadResult::Status::TooLarge:
            return fail("文件太大,不是生成的C文件");
    }
    update.oldBytes = std::move(read.bytes);
    const std::string& bytes = update.oldBytes;
    // Plain ASCII reads the same either way; it stays GBK, as files are saved.
    const bool ascii =
        std::ranges::all_of(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii && ValidUtf8(bytes)) {
        update.gbk = false;
        update.before = bytes;
    } else if (auto text = DecodeGbk(bytes)) {
        update.before = std::move(*text);
    } else {
        return fail("文件既不是GBK也不是UTF-8文本");
    }
    update.crlf =
        update.before.find("\r\n") != std::string::npos || update.before.find('\n') == std::string::npos;

    MergeResult result = MergeUserCode(update.before, generated, force);
    if (auto* refusal = std::get_if<MergeRefusal>(&result)) {
        update.status = SourceUpdate::Status::Refused;
        update.refusal = std::move(*refusal);
        return update;
    }
    update.merged = std::move(std::get<MergedText>(result));
    std::string text = update.crlf ? update.merged.text : WithLf(update.merged.text);
    if (!update.gbk) {
        update.bytes = std::move(text);
        return update;
    }
    GbkText encoded = EncodeGbk(text);
    if (!encoded.unencodable.empty())
        return fail("文本中有GBK编码无法保存的字符：" + CharacterList(encoded.unencodable));
    update.bytes = std::move(encoded.bytes);
    return update;
}

std::string SourceUpdateDiff(const SourceUpdate& update, const std::string& path) {
    return UnifiedDiff(update.before, update.merged.text, path, path);
}

std::string BackupPath(const std::string& path) {
    return path + ".bak";
}

std::string WriteSourceUpdate(const std::string& path, const SourceUpdate& update) {
    if (std::string error = ReplaceFileContents(BackupPath(path), update.oldBytes); !error.empty())
        return BackupPath(path) + ": " + error;
    return ReplaceFileContents(path, update.bytes);
}

}  // namespace korvane
