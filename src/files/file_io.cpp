#include "files/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
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
        if (n <= 0) {
            error = n < 0 ? errno : EIO;  // a device that takes nothing would loop forever
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

// Removes the temporary file if the process is told to end while it has a
// name.
class TemporaryGuard {
public:
    TemporaryGuard() {
        holdEndingSignals();
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
            struct sigaction action {};
            action.sa_handler = RemoveTemporaryAndEnd;
            sigemptyset(&action.sa_mask);
            ::sigaction(kEndingSignals[i], &action, &gPrevious[i]);
            // An ignored signal (nohup) stays ignored.
            if (gPrevious[i].sa_handler == SIG_IGN) ::sigaction(kEndingSignals[i], &gPrevious[i], nullptr);
        }
        ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    }
    ~TemporaryGuard() {
        holdEndingSignals();
        gTemporaryLive = 0;
        for (std::size_t i = 0; i < std::size(kEndingSignals); ++i)
            ::sigaction(kEndingSignals[i], &gPrevious[i], nullptr);
        ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    }
    TemporaryGuard(const TemporaryGuard&) = delete;
    TemporaryGuard& operator=(const TemporaryGuard&) = delete;

    // Runs `create`, which makes the file `name` (and may fill in its
    // XXXXXX) and returns -1 with errno when it cannot, with the ending
    // signals held back, so none can come between making and noting it.
    template <typename Create>
    int make(std::string& name, Create create) {
        holdEndingSignals();
        const int result = create(name);
        const int error = errno;
        if (result >= 0 && name.size() < sizeof gTemporary) {
            std::memcpy(gTemporary, name.c_str(), name.size() + 1);
            gTemporaryLive = 1;
        }
        ::pthread_sigmask(SIG_SETMASK, &before_, nullptr);
        errno = error;
        return result;
    }

private:
    void holdEndingSignals() {
        sigset_t ending;
        sigemptyset(&ending);
        for (int signal : kEndingSignals) sigaddset(&ending, signal);
        ::pthread_sigmask(SIG_BLOCK, &ending, &before_);
    }

    sigset_t before_;
};

std::atomic<bool> gTryUnnamed{true};

// An unnamed file in `folder`, where the file system offers one: killed
// while writing (even by SIGKILL), the process leaves nothing behind. It
// gets a name through /proc only when complete, so /proc must be there.
int OpenUnnamed(const std::string& folder) {
    static const bool procFds = ::access("/proc/self/fd", X_OK) == 0;
    if (!gTryUnnamed || !procFds) return -1;
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
}

// Fills the trailing XXXXXX of `name` with letters and digits, as mkstemp
// does; a name already taken is simply tried again.
void FillUnique(std::string& name) {
    static constexpr std::string_view kLetters =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    std::uint64_t bits = 0;
    if (::getrandom(&bits, sizeof bits, GRND_NONBLOCK) != static_cast<ssize_t>(sizeof bits)) {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        bits = (static_cast<std::uint64_t>(now.tv_nsec) * 0x9E3779B97F4A7C15u) ^
               (static_cast<std::uint64_t>(::getpid()) << 32);
    }
    for (std::size_t i = name.size() - 6; i < name.size(); ++i) {
        name[i] = kLetters[bits % kLetters.size()];
        bits /= kLetters.size();
    }
}

// Links the complete unnamed file to a fresh name from `pattern`, which the
// rename then moves over the target (a link never replaces a file).
// Returns 0 or the reason it could not.
int NameUnnamed(TemporaryGuard& guard, int fd, std::string& pattern) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        FillUnique(pattern);
        const int linked = guard.make(pattern, [&](const std::string& name) {
            return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW);
        });
        if (linked == 0) return 0;
        if (errno != EEXIST) return errno;
    }
    return EEXIST;
}

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

void TryUnnamedTemporaryFiles(bool use) {
    gTryUnnamed = use;
}

bool WriteStandardOutput(std::string_view program, std::string_view bytes) {
    int error = 0;
    if (WriteAll(STDOUT_FILENO, bytes, error)) return true;
    std::fprintf(stderr, "%.*s: cannot write to standard output: %s\n", static_cast<int>(program.size()),
                 program.data(), Reason(error).c_str());
    return false;
}

bool SameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 &&
           first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

FileReadResult ReadFileContents(const std::string& path, std::size_t largest, bool followLink) {
    FileReadResult result;
    const auto fail = [&](FileReadResult::Status status, int error) {
        result.status = status;
        result.error = error ? Reason(error) : std::string();
        result.bytes.clear();
        return result;
    };
    // Without O_NONBLOCK, opening a FIFO waits for a writer that may never come.
    const int fd =
        ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (followLink ? 0 : O_NOFOLLOW));
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

namespace {

// Where an output goes, found and checked before anything is written.
struct OutputPlan {
    std::string error;     // why it may not be written; "" when it may
    bool inPlace = false;  // a character device or FIFO: a stream, not a file to replace
    std::string target;    // the file written: a link's target, not the link
    std::string folder;    // the target's folder, ending in '/'
    mode_t mode = 0;       // the file's mode, kept when it is replaced
};

// `own`: a file of the program's own, which a link at its name never
// redirects: the link is replaced, like any other name there.
OutputPlan PlanOutput(const std::string& path, const std::vector<std::string>& inputs, bool own = false) {
    OutputPlan plan;
    const auto refuse = [&](std::string error) {
        plan.error = std::move(error);
        return plan;
    };
    if (path.empty()) return refuse(Reason(ENOENT));
    for (const std::string& input : inputs)
        if (SameFile(path, input)) return refuse(kOutputIsInput);
    plan.target = path;
    struct stat existing {};
    bool exists = (own ? ::lstat(path.c_str(), &existing) : ::stat(path.c_str(), &existing)) == 0;
    if (own && exists && S_ISLNK(existing.st_mode)) {
        exists = false;
        existing.st_mode = 0;
    }
    if (own && exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) return refuse(kNotAFile);
    if (exists) {
        if (S_ISDIR(existing.st_mode)) return refuse(Reason(EISDIR));
        if (S_ISCHR(existing.st_mode) || S_ISFIFO(existing.st_mode)) {
            plan.inPlace = true;
            return plan;
        }
        if (!S_ISREG(existing.st_mode)) return refuse(kNotAFile);
        // Replace what a link points at, not the link itself.
        if (char* real = ::realpath(path.c_str(), nullptr)) {
            plan.target = real;
            std::free(real);
        }
        // A file the user may not write stays as it is, as a plain write would.
        if (::access(plan.target.c_str(), W_OK) != 0) return refuse(Reason(errno));
        plan.mode = existing.st_mode & 07777;
    } else if (struct stat link{}; !own && ::lstat(path.c_str(), &link) == 0) {
        return refuse(kDanglingLink);  // renaming over it would put a file where the link was
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        plan.mode = 0666 & ~mask;
    }
    const auto slash = plan.target.rfind('/');
    plan.folder = slash == std::string::npos ? "./" : plan.target.substr(0, slash + 1);
    // The temporary file is made in the folder: a folder the user cannot
    // write fails here, before any other output of the run is touched.
    if (::access(plan.folder.c_str(), W_OK | X_OK) != 0) return refuse(FolderReason(plan.folder, errno));
    return plan;
}

// A complete copy of `bytes` with `mode` in `folder`, under a temporary name
// from `pattern` (or, unnamed, only as `fd`). Returns 0 or the reason.
struct Complete {
    int error = 0;
    bool made = false;  // the error came after the file was made, not from the folder
    std::string name;   // "" when the file has no name yet (unnamed, `fd` open)
    int fd = -1;
};

Complete WriteComplete(TemporaryGuard& guard, const std::string& folder, std::string pattern,
                       std::string_view bytes, mode_t mode) {
    Complete done;
    // Where there is no unnamed file, the error of the named way is the one
    // to report.
    const int unnamedFd = OpenUnnamed(folder);
    const bool unnamed = unnamedFd >= 0;
    const int fd =
        unnamed ? unnamedFd
                : guard.make(pattern, [](std::string& name) { return ::mkostemp(name.data(), O_CLOEXEC); });
    if (fd < 0) {
        done.error = errno;
        return done;
    }
    done.made = true;
    const auto fail = [&](int error) {
        ::close(fd);
        if (!unnamed) ::unlink(pattern.c_str());
        done.error = error;
        return done;
    };
    if (::fchmod(fd, mode) != 0) return fail(errno);
    if (int error = 0; !WriteAll(fd, bytes, error)) return fail(error);
    if (::fsync(fd) != 0) return fail(errno);
    if (unnamed) {
        done.fd = fd;
        return done;
    }
    if (::close(fd) != 0) return fail(errno);
    done.name = std::move(pattern);
    return done;
}

}  // namespace

std::string CheckOutput(const std::string& path, const std::vector<std::string>& inputs, bool own) {
    return PlanOutput(path, inputs, own).error;
}

std::string ReplaceOwnFile(const std::string& path, std::string_view bytes) {
    return ReplaceFileContents(path, bytes, {}, true);
}

std::string ReplaceFileContents(const std::string& path, std::string_view bytes,
                                const std::vector<std::string>& inputs, bool own) {
    const OutputPlan plan = PlanOutput(path, inputs, own);
    if (!plan.error.empty()) return plan.error;
    if (plan.inPlace) return WriteInPlace(path, bytes);
    const std::string base = plan.target.substr(plan.folder.size());
    TemporaryGuard guard;
    Complete done = WriteComplete(guard, plan.folder, TemporaryPattern(plan.folder, base), bytes, plan.mode);
    if (done.error) return done.made ? Reason(done.error) : FolderReason(plan.folder, done.error);
    std::string temporary = TemporaryPattern(plan.folder, base);
    if (done.fd >= 0) {
        const int error = NameUnnamed(guard, done.fd, temporary);
        ::close(done.fd);
        if (error) return Reason(error);
    } else {
        temporary = done.name;
    }
    if (::rename(temporary.c_str(), plan.target.c_str()) != 0) {
        const int error = errno;
        ::unlink(temporary.c_str());
        return Reason(error);
    }
    return {};
}

BackupResult CreateBackup(const std::string& path, std::string_view bytes) {
    BackupResult result;
    const auto slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "./" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // The next number after the highest one there, as GNU tools number them.
    unsigned long next = 1;
    if (DIR* dir = ::opendir(folder.c_str())) {
        const std::string head = name + ".~";
        while (const dirent* entry = ::readdir(dir)) {
            const std::string_view entryName = entry->d_name;
            if (!entryName.starts_with(head) || !entryName.ends_with("~") ||
                entryName.size() < head.size() + 2)
                continue;
            const std::string_view digits = entryName.substr(head.size(), entryName.size() - head.size() - 1);
            if (digits.find_first_not_of("0123456789") != std::string_view::npos || digits.size() > 9)
                continue;
            next = std::max(next, std::stoul(std::string(digits)) + 1);
        }
        ::closedir(dir);
    }
    struct stat original {};
    const mode_t mode = ::stat(path.c_str(), &original) == 0 ? original.st_mode & 0777 : 0600;
    TemporaryGuard guard;
    Complete done = WriteComplete(guard, folder, TemporaryPattern(folder, name), bytes, mode);
    if (done.error) {
        result.error = done.made ? Reason(done.error) : FolderReason(folder, done.error);
        return result;
    }
    const std::string from = done.fd >= 0 ? "/proc/self/fd/" + std::to_string(done.fd) : done.name;
    // A link never replaces a name that is there (a file, a link, anything):
    // an existing backup is never overwritten and no link is followed.
    int error = EEXIST;
    for (int attempt = 0; attempt < 1000 && error == EEXIST; ++attempt, ++next) {
        result.path = path + ".~" + std::to_string(next) + "~";
        error = ::linkat(AT_FDCWD, from.c_str(), AT_FDCWD, result.path.c_str(),
                         done.fd >= 0 ? AT_SYMLINK_FOLLOW : 0) == 0
                    ? 0
                    : errno;
    }
    if (done.fd >= 0) ::close(done.fd);
    if (!done.name.empty()) ::unlink(done.name.c_str());
    if (error) {
        result.error = Reason(error);
        result.path.clear();
    }
    return result;
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
