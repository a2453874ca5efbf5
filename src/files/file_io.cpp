#include "files/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "format/gbk.h"

namespace korvane {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

}  // namespace

FileReadResult ReadFileContents(const std::string& path, std::size_t largest) {
    FileReadResult result;
    const auto fail = [&](int error) {
        result.status = FileReadResult::Status::Failed;
        result.error = Reason(error);
        result.bytes.clear();
        return result;
    };
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return fail(errno);
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            return fail(error);
        }
        if (n == 0) break;
        result.bytes.append(buffer, static_cast<std::size_t>(n));
        if (result.bytes.size() > largest) {
            ::close(fd);
            result.status = FileReadResult::Status::TooLarge;
            result.bytes.clear();
            return result;
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
