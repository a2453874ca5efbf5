#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "generator/user_code.h"
#include "settings/output_form.h"

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
    std::string bytes;                        // the new text in the file's encoding and line ends
    std::string baseBytes;                    // the new generation alone, so: the next update's base
    std::optional<std::string> oldBaseBytes;  // the base there was
    bool gbk = true;
    bool crlf = true;
    bool bom = false;  // a UTF-8 byte-order mark, kept in front of the new text
};

// Reads `path` and merges its user code into `generated` (a modern form's
// text); `force` goes past a refusal (the caller keeps a copy).
SourceUpdate PrepareSourceUpdate(const std::string& path, std::string_view generated, bool force);

// The modern form the file at `path` was written in, if it is one.
std::optional<OutputFormId> SourceFileForm(const std::string& path);

// What the update changes, as a unified diff in the file's own encoding and
// line ends that `patch` applies to the file and its base.
std::string SourceUpdateDiff(const SourceUpdate& update, const std::string& path);

// Where the text last generated for a C file is kept, beside it: the base
// of the next update's merge, the exact bytes generated, never regenerated
// (a newer writer's base would undo that writer's own changes).
// ".NAME.korvane-base".
std::string BasePath(const std::string& path);

// Keeps `bytes`, what was just generated into the file at `path`, as its
// base, when `path` is a regular file. Returns "" or why it could not.
std::string SaveSourceBase(const std::string& path, std::string_view bytes);

// How messages name the backup before there is one: "PATH.~N~".
std::string BackupPattern(const std::string& path);

struct SourceWriteResult {
    std::string backup;     // the numbered copy of the file as it was
    std::string error;      // "" or why nothing, or only the copy, was written
    std::string baseError;  // the file was written, its base not: the next update carries regions only
};

// Keeps the file as it was in a new numbered backup (CreateBackup), then
// replaces it, then keeps the new generation as its base. Both outputs are checked first (the file may not be
// one of `inputs`), so a file that cannot be written leaves no backup, and the file is never replaced unless
// its backup is complete.
SourceWriteResult WriteSourceUpdate(const std::string& path, const SourceUpdate& update,
                                    const std::vector<std::string>& inputs = {});

}  // namespace korvane
