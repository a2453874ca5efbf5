#include "files/source_update.h"

#include <sys/stat.h>

#include <algorithm>

#include "files/file_io.h"
#include "format/gbk.h"
#include "format/line_diff.h"
#include "format/utf8.h"
#include "generator/modern_writer.h"

namespace korvane {

namespace {

// A C file is small; a huge one is no generated file.
constexpr std::size_t kLargestSource = std::size_t{16} * 1024 * 1024;

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

bool ValidUtf8(std::string_view text) {
    while (!text.empty()) {
        const auto decoded = Utf8Decode(text);
        if (!decoded) return false;
        text.remove_prefix(decoded->length);
    }
    return true;
}

// The first line (from 1) that `valid` refuses, or 0. A LF byte is never
// part of a character in GBK or UTF-8, so lines can be tried one by one.
template <typename Valid>
std::size_t FirstInvalidLine(std::string_view bytes, Valid valid) {
    std::size_t line = 1;
    while (!bytes.empty()) {
        const std::size_t end = bytes.find('\n');
        if (!valid(bytes.substr(0, end))) return line;
        if (end == std::string_view::npos) break;
        bytes.remove_prefix(end + 1);
        ++line;
    }
    return 0;
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
    std::string_view bytes = update.oldBytes;
    // An editor's byte-order mark says UTF-8; it stays in front of the text.
    if (bytes.starts_with(kBom)) {
        update.bom = true;
        bytes.remove_prefix(kBom.size());
    }
    // Plain ASCII reads the same either way; it stays GBK, as files are saved.
    const bool ascii =
        std::ranges::all_of(bytes, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (update.bom || (!ascii && ValidUtf8(bytes))) {
        update.gbk = false;
        if (!ValidUtf8(bytes))
            return fail("第" + std::to_string(FirstInvalidLine(bytes, ValidUtf8)) + "行不是有效的UTF-8文本");
        update.before = bytes;
    } else if (auto text = DecodeGbk(bytes)) {
        update.before = std::move(*text);
    } else {
        // Name the line of the encoding the file holds out longer in.
        const std::size_t utf8 = FirstInvalidLine(bytes, ValidUtf8);
        const std::size_t gbk =
            FirstInvalidLine(bytes, [](std::string_view line) { return !!DecodeGbk(line); });
        return fail(gbk >= utf8 ? "第" + std::to_string(gbk) + "行不是有效的GBK文本"
                                : "第" + std::to_string(utf8) + "行不是有效的UTF-8文本");
    }
    // An editor that read the file in the wrong encoding saved what it could
    // not read as U+FFFD: the text is lost there, which no update can mend.
    if (const auto at = update.before.find(kReplacement); at != std::string::npos)
        return fail("第" + std::to_string(std::ranges::count(update.before.substr(0, at), '\n') + 1) +
                    "行有替换字符(U+FFFD):文件曾以错误的编码打开并保存,原来的字符已丢失");
    update.crlf =
        update.before.find("\r\n") != std::string::npos || update.before.find('\n') == std::string::npos;

    // The text last generated for the file, in the file's own form; one
    // that cannot be read as such is no base.
    std::optional<std::string> base;
    if (FileReadResult stored = ReadFileContents(BasePath(path), kLargestSource, false);
        stored.status == FileReadResult::Status::Read) {
        update.oldBaseBytes = stored.bytes;
        std::string_view baseBytes = *update.oldBaseBytes;
        if (baseBytes.starts_with(kBom)) baseBytes.remove_prefix(kBom.size());
        if (!update.gbk && ValidUtf8(baseBytes))
            base = std::string(baseBytes);
        else if (update.gbk)
            base = DecodeGbk(baseBytes);
    }

    MergeResult result = MergeUserCode(update.before, generated, force, base);
    if (auto* refusal = std::get_if<MergeRefusal>(&result)) {
        update.status = SourceUpdate::Status::Refused;
        update.refusal = std::move(*refusal);
        return update;
    }
    update.merged = std::move(std::get<MergedText>(result));
    // The file's form of a text: its encoding, line ends and mark.
    const auto inFileForm = [&](std::string_view generatedText) -> std::optional<std::string> {
        std::string text = update.crlf ? std::string(generatedText) : WithLf(generatedText);
        if (!update.gbk) return (update.bom ? std::string(kBom) : std::string()) + text;
        GbkText encoded = EncodeGbk(text);
        if (!encoded.unencodable.empty()) {
            fail("文本中有GBK编码无法保存的字符：" + CharacterList(encoded.unencodable));
            return std::nullopt;
        }
        return std::move(encoded.bytes);
    };
    auto newBytes = inFileForm(update.merged.text);
    if (!newBytes) return update;
    update.bytes = std::move(*newBytes);
    auto baseBytes = inFileForm(generated);
    if (!baseBytes) return update;
    update.baseBytes = std::move(*baseBytes);
    return update;
}

std::string BasePath(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::size_t name = slash == std::string::npos ? 0 : slash + 1;
    return path.substr(0, name) + "." + path.substr(name) + ".korvane-base";
}

std::string SaveSourceBase(const std::string& path, std::string_view bytes) {
    // Only a file has a text to merge with later; a device or pipe has none.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return {};
    return ReplaceOwnFile(BasePath(path), bytes);
}

std::optional<OutputFormId> SourceFileForm(const std::string& path) {
    const FileReadResult read = ReadFileContents(path, kLargestSource);
    return read.status == FileReadResult::Status::Read ? ModernFormOf(read.bytes) : std::nullopt;
}

std::string SourceUpdateDiff(const SourceUpdate& update, const std::string& path) {
    const std::string_view lineEnd = update.crlf ? "\r\n" : "\n";
    // The base goes with the file, so that the next update merges with
    // what the patched file was generated from.
    const std::string base = BasePath(path);
    return UnifiedDiff(update.oldBytes, update.bytes, path, path, lineEnd) +
           UnifiedDiff(update.oldBaseBytes.value_or(""), update.baseBytes,
                       update.oldBaseBytes ? base : "/dev/null", base, lineEnd);
}

std::string BackupPattern(const std::string& path) {
    return path + ".~N~";
}

SourceWriteResult WriteSourceUpdate(const std::string& path, const SourceUpdate& update,
                                    const std::vector<std::string>& inputs) {
    SourceWriteResult result;
    if (std::string error = CheckOutput(path, inputs); !error.empty()) {
        result.error = std::move(error);
        return result;
    }
    if (std::string error = CheckOutput(BasePath(path), {}, true); !error.empty()) {
        result.error = BasePath(path) + ": " + error;
        return result;
    }
    BackupResult backup = CreateBackup(path, update.oldBytes);
    if (!backup.error.empty()) {
        result.error = BackupPattern(path) + ": " + backup.error;
        return result;
    }
    result.backup = std::move(backup.path);
    result.error = ReplaceFileContents(path, update.bytes, inputs);
    // Written after the file: a base that is not the file's own (the
    // stamps differ) is simply not used.
    if (result.error.empty()) result.baseError = SaveSourceBase(path, update.baseBytes);
    return result;
}

}  // namespace korvane
