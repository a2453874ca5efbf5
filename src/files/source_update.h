#pragma once

#include <string>
#include <string_view>

#include "generator/user_code.h"

namespace korvane {

// Updating a generated C file: its user code carried into the new text, in
// the file's own encoding (GBK or UTF-8) and line ends (CR LF or LF).
struct SourceUpdate {
    enum class Status {
        Ready,    // `bytes` may be written
        Failed,   // the file cannot be read or its text not kept: `error`
        Refused,  // the file's text cannot be taken apart safely: `refusal`
    };
    Status status = Status::Ready;
    std::string error;
    MergeRefusal refusal{};
    std::string before;  // the file's text as UTF-8, line ends as they were
    MergedText merged;   // the new text, CR LF as generated
    std::string oldBytes;
    std::string bytes;  // the new text in the file's encoding and line ends
    bool gbk = true;
    bool crlf = true;
};

// Reads `path` and merges its user code into `generated` (a modern form's
// text); `force` goes past a refusal (the caller keeps a copy).
SourceUpdate PrepareSourceUpdate(const std::string& path, std::string_view generated, bool force);

// What the update changes, as a unified diff of the file's lines.
std::string SourceUpdateDiff(const SourceUpdate& update, const std::string& path);

// Where the previous file is kept.
std::string BackupPath(const std::string& path);

// Keeps the file as it was in BackupPath, then replaces it atomically.
// Returns "" or why it could not; a failure leaves the file as it was.
std::string WriteSourceUpdate(const std::string& path, const SourceUpdate& update);

}  // namespace korvane
