#include "files/file_io.h"

#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iterator>

#include "format/gbk.h"

namespace korvane {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

// The temporary file is made beside the target, so a folder the user cannot
// write fails even where the target itself is writable: name the folder.
std::string FolderReason(const std::string& folder, int error) {
    std::string name = folder;
    if (char* real = ::realpath(folder.c_str(), nullptr)) {
        name = real;
        std::free(real);
    } else if (name.size() > 1 && name.back() == '/') {
        name.pop_back();
    }
    return name + ": " + Reason(error);
}

constexpr const char* kNotAFile = "不是普通文件、字符设备或管道";
constexpr const char* kDanglingLink = "链接指向的文件不存在";

bool WriteAll(int fd, std::string_view bytes, int& error) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The temporary file of the save in progress, removed when a signal ends the
// process before the rename. The handler only reads these.
char gTemporary[PATH_MAX + 1];
volatile sig_atomic_t gTemporaryLive = 0;
constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};
struct sigaction gPrevious[std::size(kEndingSignals)];

extern "C" void RemoveTemporaryAndEnd(int signal) {
    if (gTemporaryLive) ::unlink(gTemporary);
    gTemporaryLive = 0;
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
        if (kEndingSignals[i] == signal) ::sigaction(signal, &gPrevious[i], nullptr);
    ::raise(signal);  // delivered with the previous disposition once this returns
}

// Removes the temporary file if the process is told to end while it exists.
class TemporaryGuard {
public:
    TemporaryGuard() {
        sigset_t ending;
        sigemptyset(&ending);
        for (int signal : kEndingSignals) sigaddset(&ending, signal);
        ::pthread_sigmask(SIG_BLOCK, &ending, &blocked_);
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
            struct sigaction action {};
            action.sa_handler = RemoveTemporaryAndEnd;
            sigemptyset(&action.sa_mask);
            ::sigaction(kEndingSignals[i], &action, &gPrevious[i]);
            // An ignored signal (nohup) stays ignored.
            if (gPrevious[i].sa_handler == SIG_IGN) ::sigaction(kEndingSignals[i], &gPrevious[i], nullptr);
        }
    }
    ~TemporaryGuard() {
        sigset_t ending;
        sigemptyset(&ending);
        for (int signal : kEndingSignals) sigaddset(&ending, signal);
        ::pthread_sigmask(SIG_BLOCK, &ending, nullptr);
        gTemporaryLive = 0;
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
            ::sigaction(kEndingSignals[i], &gPrevious[i], nullptr);
        ::pthread_sigmask(SIG_SETMASK, &blocked_, nullptr);
    }
    TemporaryGuard(const TemporaryGuard&) = delete;
    TemporaryGuard& operator=(const TemporaryGuard&) = delete;

    // Makes the temporary file from `pattern` (ending in XXXXXX) with the
    // ending signals held back, so none can come between making and noting it.
    int make(std::string& pattern) {
        const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd >= 0 && pattern.size() < sizeof gTemporary) {
            std::memcpy(gTemporary, pattern.c_str(), pattern.size() + 1);
            gTemporaryLive = 1;
        }
        ::pthread_sigmask(SIG_SETMASK, &blocked_, nullptr);
        return fd;
    }

private:
    sigset_t blocked_;
};

// The temporary file's name in the target's folder: ".NAME.XXXXXX", NAME cut
// short (at a character boundary) when the whole would not fit in the folder.
std::string TemporaryPattern(const std::string& folder, const std::string& base) {
    long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    if (longest <= 0) longest = NAME_MAX;
    constexpr std::size_t kAdded = 8;  // "." and ".XXXXXX"
    std::string name = base;
    if (name.size() + kAdded > static_cast<std::size_t>(longest)) {
        std::size_t keep =
            longest > static_cast<long>(kAdded) ? static_cast<std::size_t>(longest) - kAdded : 0;
        while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
        name.resize(keep);
    }
    return folder + (folder.back() == '/' ? "" : "/") + "." + name + ".XXXXXX";
}

// Writes a character device or FIFO in place: such a target is a stream
// (/dev/null, /dev/stdout, a pipe), not a file to replace.
// A FIFO nobody reads is refused (ENXIO) rather than waited for.
std::string WriteInPlace(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return Reason(errno);
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    int error = 0;
    const bool written = WriteAll(fd, bytes, error);
    if (::close(fd) != 0 && written) return Reason(errno);
    return written ? std::string() : Reason(error);
}

}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

FileReadResult ReadFileContents(const std::string& path, std::size_t largest) {
    FileReadResult result;
    const auto fail = [&](FileReadResult::Status status, int error) {
        result.status = status;
        result.error = error ? Reason(error) : std::string();
        result.bytes.clear();
        return result;
    };
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fail(FileReadResult::Status::Failed, errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        const int error = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return fail(FileReadResult::Status::Failed, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return fail(FileReadResult::Status::NotRegular, 0);
    }
    if (static_cast<std::uintmax_t>(info.st_size) > largest) {
        ::close(fd);
        return fail(FileReadResult::Status::TooLarge, 0);
    }
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return fail(FileReadResult::Status::Failed, error);
        }
        if (n == 0) break;
        result.bytes.append(buffer, static_cast<std::size_t>(n));
        if (result.bytes.size() > largest) {  // it grew while being read
            ::close(fd);
            return fail(FileReadResult::Status::TooLarge, 0);
        }
    }
    ::close(fd);
    return result;
}

std::string ReplaceFileContents(const std::string& path, std::string_view bytes) {
    if (path.empty()) return Reason(ENOENT);
    std::string target = path;
    struct stat existing {};
    const bool exists = ::stat(path.c_str(), &existing) == 0;
    if (exists) {
        if (S_ISDIR(existing.st_mode)) return Reason(EISDIR);
        if (S_ISCHR(existing.st_mode) || S_ISFIFO(existing.st_mode)) return WriteInPlace(path, bytes);
        if (!S_ISREG(existing.st_mode)) return kNotAFile;
        // Replace what a link points at, not the link itself.
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            target = real;
            std::free(real);
        }
        // A file the user may not write stays as it is, as a plain write would.
        if (::access(target.c_str(), W_OK) != 0) return Reason(errno);
    } else if (struct stat link{}; ::lstat(path.c_str(), &link) == 0) {
        return kDanglingLink;  // renaming over it would put a file where the link was
    }

    const auto slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : target.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = TemporaryPattern(folder, base);
    TemporaryGuard guard;
    const int fd = guard.make(temporary);
    if (fd < 0) return FolderReason(folder, errno);

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
    if (int error = 0; !WriteAll(fd, bytes, error)) return fail(error);
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
