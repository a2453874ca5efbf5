#include "files/file_io.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvane {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class FileWriting : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() / ("korvane-write-" + std::to_string(::getpid()) + "-" +
                                         ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::size_t EntriesInFolder() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), {}));
    }
    fs::path folder;
};

TEST_F(FileWriting, WritesExactBytesAndReplacesAnExistingFile) {
    const auto path = folder / "project1";
    ASSERT_TRUE(WriteGbkTextFile(path, "old text that is longer\r\n").written());
    ::chmod(path.c_str(), 0640);
    const auto result = WriteGbkTextFile(path, "//定义\r\n");
    ASSERT_TRUE(result.written()) << result.error;
    EXPECT_EQ(ReadAll(path), "//\xb6\xa8\xd2\xe5\r\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(WriteGbkTextFile(path, "").written());
    EXPECT_EQ(fs::file_size(path), 0u);
    EXPECT_EQ(EntriesInFolder(), 1u) << "no temporary file left behind";
}

TEST_F(FileWriting, FailuresLeaveTheExistingFileIntact) {
    const auto existing = folder / "keep.c";
    ASSERT_TRUE(WriteGbkTextFile(existing, "keep me").written());
    struct Case {
        const char* what;
        fs::path path;
        const char* text;
        FileWriteResult::Status status;
    };
    const Case cases[] = {
        {"unencodable", existing, "😀", FileWriteResult::Status::Unencodable},
        {"missing folder", folder / "missing" / "a.c", "x", FileWriteResult::Status::Failed},
        {"folder is a file", existing / "a.c", "x", FileWriteResult::Status::Failed},
        {"target is a folder", folder, "x", FileWriteResult::Status::Failed},
        {"empty path", "", "x", FileWriteResult::Status::Failed},
    };
    for (const auto& c : cases) {
        const auto result = WriteGbkTextFile(c.path, c.text);
        EXPECT_EQ(result.status, c.status) << c.what;
        if (c.status == FileWriteResult::Status::Failed) {
            EXPECT_FALSE(result.error.empty()) << c.what;
        }
    }
    EXPECT_EQ(ReadAll(existing), "keep me");
    EXPECT_EQ(EntriesInFolder(), 1u);
}

TEST_F(FileWriting, ReadOnlyTargetsAreRefusedForOrdinaryUsers) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
    const auto readOnly = folder / "ro";
    fs::create_directories(readOnly);
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_EQ(WriteGbkTextFile(readOnly / "a.c", "x").status, FileWriteResult::Status::Failed);
    fs::permissions(readOnly, fs::perms::owner_all);
    const auto file = folder / "locked.c";
    ASSERT_TRUE(WriteGbkTextFile(file, "locked").written());
    fs::permissions(file, fs::perms::owner_read);
    EXPECT_EQ(WriteGbkTextFile(file, "x").status, FileWriteResult::Status::Failed);
    EXPECT_EQ(ReadAll(file), "locked");
}

TEST_F(FileWriting, ALinkIsFollowedNotReplaced) {
    const auto real = folder / "real.c";
    const auto link = folder / "link.c";
    ASSERT_TRUE(WriteGbkTextFile(real, "old").written());
    fs::create_symlink(real, link);
    ASSERT_TRUE(WriteGbkTextFile(link, "new").written());
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadAll(real), "new");
}

TEST_F(FileWriting, TargetsThatAreNoRegularFile) {
    const auto fifo = folder / "fifo", dangling = folder / "dangling";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(folder / "nowhere", dangling);
    struct Case {
        fs::path path;
        const char* error;  // "" when written
    } const cases[] = {
        {"/dev/null", ""},
        {"/dev/full", "No space left on device"},
        {fifo, "No such device or address"},  // nobody reads it
        {dangling, "链接指向的文件不存在"},
    };
    for (const auto& c : cases) EXPECT_EQ(ReplaceFileContents(c.path, "text"), c.error) << c.path;
    EXPECT_TRUE(fs::is_character_file("/dev/null"));
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_symlink(dangling));
    EXPECT_FALSE(fs::exists(folder / "nowhere"));
    EXPECT_EQ(EntriesInFolder(), 2u);
}

TEST_F(FileWriting, NamesAsLongAsTheFolderAllowsSave) {
    std::string chinese;
    for (int i = 0; i < 82; ++i) chinese += "中";
    for (const std::string& name : {chinese + ".c", std::string(255, 'a')}) {
        EXPECT_EQ(ReplaceFileContents(folder / name, "x"), "") << name.size();
        EXPECT_EQ(ReadAll(folder / name), "x");
    }
    EXPECT_EQ(EntriesInFolder(), 2u);
}

// A child saves under a 64-byte file-size limit; passing it fails the write
// (SIGXFSZ ignored) or raises SIGXFSZ, whose handler sends the ending signal.
int gEndingSignal = 0;
extern "C" void SendEndingSignal(int) {
    ::raise(gEndingSignal);
}

TEST_F(FileWriting, ASaveEndedPartWayLeavesNoTemporaryFile) {
    const auto target = folder / "kept.c";
    ASSERT_EQ(ReplaceFileContents(target, "old"), "");
    const int probe = ::open(folder.c_str(), O_TMPFILE | O_WRONLY, 0600);
    const bool unnamedOffered = probe >= 0;
    if (probe >= 0) ::close(probe);
    struct Case {
        int signal;  // 0: the write fails and the save returns its reason
        bool unnamed;
    } const cases[] = {
        {0, false}, {SIGTERM, false}, {SIGINT, false}, {SIGHUP, false},
        {0, true},  {SIGKILL, true},  // no handler runs: only a file without a name is gone
    };
    for (const auto& c : cases) {
        if (c.unnamed && !unnamedOffered) continue;
        const pid_t pid = ::fork();
        if (pid == 0) {
            TryUnnamedTemporaryFiles(c.unnamed);
            gEndingSignal = c.signal;
            ::signal(SIGXFSZ, c.signal ? SendEndingSignal : SIG_IGN);
            const rlimit small{64, 64};
            ::setrlimit(RLIMIT_FSIZE, &small);
            const std::string error = ReplaceFileContents(target, std::string(4096, 'x'));
            ::_exit(error == std::strerror(EFBIG) ? 0 : 1);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (c.signal) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << c.signal;
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "unnamed " << c.unnamed;
        }
        EXPECT_EQ(ReadAll(target), "old");
        EXPECT_EQ(EntriesInFolder(), 1u) << "signal " << c.signal << ", unnamed " << c.unnamed;
    }
}

}  // namespace
}  // namespace korvane
