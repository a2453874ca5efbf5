#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace korvane {

// The whole of a file, or why it could not be had.
struct FileReadResult {
    enum class Status {
        Read,
        Failed,      // the system's reason is in `error`
        NotRegular,  // a FIFO, device or socket: not opened for reading
        TooLarge,    // longer than the caller's limit; nothing kept
    };
    Status status = Status::Read;
    std::string bytes;
    std::string error;
};

// Reads the regular file at `path`, giving up as soon as it holds more than
// `largest` bytes. Never waits: a FIFO or device is refused, not read.
// `followLink` false: a link at `path` is not read through (a file of the
// program's own, where a planted link could show another file's text).
FileReadResult ReadFileContents(const std::string& path, std::size_t largest, bool followLink = true);

// The one writer of every output (a C file, a project, a picture): writes
// `bytes` to `path` through a temporary file in the same folder that then
// replaces the target, so a failed write leaves an existing file intact and
// the file's mode is kept. A link's target is written, never the link
// replaced. The temporary file has no name until it is complete where the
// file system allows (O_TMPFILE), so even a killed process leaves nothing
// behind; otherwise it is ".NAME.XXXXXX", removed when SIGTERM, SIGINT or
// SIGHUP ends the process meanwhile. An existing character device or FIFO
// (/dev/null, /dev/stdout, a pipe that is read) is written in place; other
// targets that are not regular files, links to nothing, and a path that is
// one of `inputs` (by device and inode) are refused before anything is
// written. Returns "" on success, otherwise the reason.
inline constexpr const char* kOutputIsInput = "是本次读取的文件,不能写入";
std::string ReplaceFileContents(const std::string& path, std::string_view bytes,
                                const std::vector<std::string>& inputs = {}, bool own = false);

// ReplaceFileContents for a file of the program's own beside the user's (an
// update's base): a link at its name is replaced by the file, never
// followed, and anything but a regular file there is refused.
std::string ReplaceOwnFile(const std::string& path, std::string_view bytes);

// What ReplaceFileContents would refuse, found without writing anything, so
// a run with two outputs can check both first. "" when it may be written.
std::string CheckOutput(const std::string& path, const std::vector<std::string>& inputs = {},
                        bool own = false);

// A backup of `path` holding `bytes`, with the file's mode: a new file
// PATH.~N~, N one above the highest there, made complete before it gets its
// name. It never replaces anything nor follows a link, so no backup is ever
// lost to a later one.
struct BackupResult {
    std::string path;   // the backup made
    std::string error;  // why none could be made
};
BackupResult CreateBackup(const std::string& path, std::string_view bytes);

// Whether ReplaceFileContents tries an unnamed temporary file first (the
// default); tests turn it off to run the named way file systems without one take.
void TryUnnamedTemporaryFiles(bool use);

// Writes all of `bytes` to standard output. When it cannot (a full disk, a
// closed output), says "PROGRAM: cannot write to standard output: REASON" on
// standard error and returns false, so a program's exit status tells.
bool WriteStandardOutput(std::string_view program, std::string_view bytes);

// Whether both paths name one existing file (by device and inode, so also
// through links).
bool SameFile(const std::string& a, const std::string& b);

// The outcome of writing a text file in the legacy code page.
struct FileWriteResult {
    enum class Status {
        Written,
        Unencodable,  // the text holds characters GBK cannot store; nothing written
        Failed,       // the file could not be written; an existing file is intact
    };
    Status status = Status::Written;
    std::u32string unencodable;  // Unencodable: each offending character once
    std::string error;           // Failed: the system's reason

    bool written() const { return status == Status::Written; }
};

// EncodeGbk, then ReplaceFileContents: nothing is written when a character
// cannot be stored.
FileWriteResult WriteGbkTextFile(const std::string& path, std::string_view utf8);

}  // namespace korvane
