// SPDX-License-Identifier: GPL-3.0-or-later

#include "files/atomic_file_writer.h"
#include "cipher/key_file_writer.h"
#include "messages/messages.h"

#include "../support/test_support.h"
#include "../support/unnamed_files_refused.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace tarvex::files::test {
namespace {

using Options = AtomicFileWriter::Options;
using Replace = AtomicFileWriter::Replace;

// Sets the umask for one test and puts the old one back.
class UmaskScope {
public:
    explicit UmaskScope(mode_t mask) : old_(::umask(mask)) {}
    ~UmaskScope() { ::umask(old_); }
    UmaskScope(const UmaskScope&) = delete;
    UmaskScope& operator=(const UmaskScope&) = delete;

private:
    mode_t old_;
};

class AtomicFileWriterTest : public ::testing::Test {
protected:
    tarvex::test::TempDir dir;
    UmaskScope mask{022};
};

TEST_F(AtomicFileWriterTest, WritesANewFileAndLeavesNothingElse) {
    const std::string path = dir.file("out.txt");
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, Options{});
    ASSERT_TRUE(writer.ok()) << messages::describe(writer.error());
    EXPECT_EQ(writer->path(), path);
    ASSERT_TRUE(writer->write("first ").ok());
    ASSERT_TRUE(writer->write(std::string("\0second\r\n", 9)).ok());
    ASSERT_TRUE(writer->commit().ok());
    EXPECT_EQ(tarvex::test::readBytes(path), std::string("first \0second\r\n", 15));
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.txt"}));
    EXPECT_EQ(tarvex::test::permissionBits(path), 0644u);
}

TEST_F(AtomicFileWriterTest, TargetDoesNotExistBeforeCommit) {
    const std::string path = dir.file("out.txt");
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, Options{});
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer->write("content").ok());
    EXPECT_FALSE(std::filesystem::exists(path));
    ASSERT_TRUE(writer->commit().ok());
    EXPECT_EQ(tarvex::test::readBytes(path), "content");
}

TEST_F(AtomicFileWriterTest, ReplacesAnExistingFileAndKeepsItsPermissions) {
    const std::string path = dir.file("out.txt");
    tarvex::test::writeBytes(path, "old content that is longer");
    ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
    ASSERT_TRUE(writeFileAtomically(path, "new", Options{}).ok());
    EXPECT_EQ(tarvex::test::readBytes(path), "new");
    EXPECT_EQ(tarvex::test::permissionBits(path), 0640u);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.txt"}));
}

TEST_F(AtomicFileWriterTest, DiscardKeepsTheExistingFile) {
    const std::string path = dir.file("out.txt");
    tarvex::test::writeBytes(path, "old");
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, Options{});
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer->write("new content").ok());
    writer->discard();
    EXPECT_EQ(tarvex::test::readBytes(path), "old");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.txt"}));
}

TEST_F(AtomicFileWriterTest, WriterDroppedWithoutCommitLeavesNoTrace) {
    const std::string path = dir.file("out.txt");
    {
        Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, Options{});
        ASSERT_TRUE(writer.ok());
        ASSERT_TRUE(writer->write("never seen").ok());
        AtomicFileWriter moved = std::move(*writer);
        ASSERT_TRUE(moved.write(" either").ok());
    }
    EXPECT_TRUE(dir.entries().empty());
}

TEST_F(AtomicFileWriterTest, MovedWriterCommitsWhatWasWritten) {
    const std::string path = dir.file("out.txt");
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, Options{});
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer->write("one ").ok());
    AtomicFileWriter moved = std::move(*writer);
    ASSERT_TRUE(moved.write("two").ok());
    ASSERT_TRUE(moved.commit().ok());
    EXPECT_EQ(tarvex::test::readBytes(path), "one two");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.txt"}));
}

TEST_F(AtomicFileWriterTest, FailedWriteKeepsTheExistingFile) {
    const std::string path = dir.file("out.txt");
    tarvex::test::writeBytes(path, "old");
    // A file size limit makes the write fail with EFBIG instead of a signal.
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit oldLimit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    rlimit small = oldLimit;
    small.rlim_cur = 1000;

    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, Options{});
    ASSERT_TRUE(writer.ok());
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    Status written = writer->write(std::string(5000, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);

    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().kind, Error::Kind::FileWriteFailed);
    EXPECT_EQ(written.error().path, path);
    EXPECT_EQ(written.error().osError, EFBIG);
    writer->discard();
    EXPECT_EQ(tarvex::test::readBytes(path), "old");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.txt"}));
}

TEST_F(AtomicFileWriterTest, FailedCommitLeavesNoTemporaryFile) {
    // A folder takes the target's name after the writer opened: the rename cannot replace it.
    const std::string path = dir.file("out.txt");
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, Options{});
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer->write("content").ok());
    ASSERT_EQ(::mkdir(path.c_str(), 0700), 0);
    Status committed = writer->commit();
    ASSERT_FALSE(committed.ok());
    EXPECT_EQ(committed.error().kind, Error::Kind::FileWriteFailed);
    EXPECT_EQ(committed.error().path, path);
    EXPECT_NE(committed.error().osError, 0);
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.txt"}));
    EXPECT_TRUE(std::filesystem::is_directory(path));
}

TEST_F(AtomicFileWriterTest, RefusedReplaceRefusesAnExistingFile) {
    const std::string path = dir.file("out.txt");
    tarvex::test::writeBytes(path, "old");
    Options options;
    options.replace = Replace::Refused;
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, options);
    ASSERT_FALSE(writer.ok());
    EXPECT_EQ(writer.error().kind, Error::Kind::FileExists);
    EXPECT_EQ(writer.error().path, path);
    EXPECT_EQ(tarvex::test::readBytes(path), "old");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.txt"}));
}

TEST_F(AtomicFileWriterTest, RefusedReplaceRefusesAFileThatAppearedBeforeCommit) {
    const std::string path = dir.file("out.txt");
    Options options;
    options.replace = Replace::Refused;
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, options);
    ASSERT_TRUE(writer.ok());
    ASSERT_TRUE(writer->write("new").ok());
    tarvex::test::writeBytes(path, "someone else's");
    Status committed = writer->commit();
    ASSERT_FALSE(committed.ok());
    EXPECT_EQ(committed.error().kind, Error::Kind::FileExists);
    EXPECT_EQ(tarvex::test::readBytes(path), "someone else's");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"out.txt"}));
}

TEST_F(AtomicFileWriterTest, RefusedReplaceWritesANewFile) {
    const std::string path = dir.file("out.txt");
    Options options;
    options.replace = Replace::Refused;
    ASSERT_TRUE(writeFileAtomically(path, "fresh", options).ok());
    EXPECT_EQ(tarvex::test::readBytes(path), "fresh");
}

TEST_F(AtomicFileWriterTest, MissingFolderFailsWithThePath) {
    const std::string path = dir.file("no-such-folder/out.txt");
    Result<AtomicFileWriter> writer = AtomicFileWriter::open(path, Options{});
    ASSERT_FALSE(writer.ok());
    EXPECT_EQ(writer.error().kind, Error::Kind::FileWriteFailed);
    EXPECT_EQ(writer.error().path, path);
    EXPECT_EQ(writer.error().osError, ENOENT);
    std::string message = messages::describe(writer.error());
    EXPECT_NE(message.find(path), std::string::npos) << message;
    EXPECT_TRUE(dir.entries().empty());
}

TEST_F(AtomicFileWriterTest, FolderAsTargetFails) {
    Status written = writeFileAtomically(dir.path(), "x", Options{});
    ASSERT_FALSE(written.ok());
    EXPECT_EQ(written.error().kind, Error::Kind::FileWriteFailed);
    EXPECT_EQ(written.error().path, dir.path());
}

TEST_F(AtomicFileWriterTest, KeyFileIsReadableByItsOwnerOnly) {
    UmaskScope permissive{0};
    const std::vector<std::uint8_t> key = {0x00, 0x0A, 0xFF};
    const std::string path = dir.file("key.tvk");
    ASSERT_TRUE(cipher::saveKeyFile(path, key, Replace::Refused).ok());
    EXPECT_EQ(tarvex::test::permissionBits(path), 0600u);
    EXPECT_EQ(tarvex::test::readBytes(path), "000AFF\r\n");
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{"key.tvk"}));
}

TEST_F(AtomicFileWriterTest, ReplacedKeyFileBecomesOwnerOnly) {
    const std::string path = dir.file("key.tvk");
    tarvex::test::writeBytes(path, "old key");
    ASSERT_EQ(::chmod(path.c_str(), 0644), 0);
    const std::vector<std::uint8_t> key = {0x12};
    ASSERT_TRUE(cipher::saveKeyFile(path, key, Replace::Allowed).ok());
    EXPECT_EQ(tarvex::test::permissionBits(path), 0600u);
    EXPECT_EQ(tarvex::test::readBytes(path), "12\r\n");
}

TEST_F(AtomicFileWriterTest, KeyFileRefusesToReplaceWhenAskedTo) {
    const std::string path = dir.file("key.tvk");
    tarvex::test::writeBytes(path, "old key");
    const std::vector<std::uint8_t> key = {0x12};
    Status saved = cipher::saveKeyFile(path, key, Replace::Refused);
    ASSERT_FALSE(saved.ok());
    EXPECT_EQ(saved.error().kind, Error::Kind::FileExists);
    EXPECT_EQ(tarvex::test::readBytes(path), "old key");
}

} // namespace
} // namespace tarvex::files::test

namespace tarvex::files::test {
namespace {

// In a child, since a program's choice of handlers lasts for its life: first
// as the window writes (no choice made), then as tarvex-cli does.
TEST(AtomicFileWriterSignals, OnlyTheCliGetsHandlersAndOnlyWhileANamedTemporaryFileExists) {
    tarvex::test::TempDir dir;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (!tarvex::test::refuseUnnamedFiles()) ::_exit(10);
        ::signal(SIGHUP, SIG_IGN); // as under nohup: stays ignored
        auto untouched = [](int signal) {
            struct sigaction now {};
            ::sigaction(signal, nullptr, &now);
            return (now.sa_flags & SA_SIGINFO) == 0 && now.sa_handler == (signal == SIGHUP ? SIG_IGN : SIG_DFL);
        };
        auto write = [&](bool asCli) {
            const std::size_t before = dir.entries().size();
            Result<AtomicFileWriter> writer = AtomicFileWriter::open(dir.file("out.txt"), Options{});
            if (!writer || dir.entries().size() != before + 1) return 11; // a named temporary file, and nothing else
            for (int signal : {SIGINT, SIGTERM, SIGPIPE}) {
                if (untouched(signal) == asCli) return 12;
            }
            if (!untouched(SIGHUP)) return 13;
            if (!writer->commit()) return 14;
            for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) {
                if (!untouched(signal)) return 15;
            }
            return 0;
        };
        if (int failed = write(false); failed != 0) ::_exit(failed);
        removeTemporaryFilesOnSignals();
        const int failed = write(true);
        ::_exit(failed == 0 ? 0 : 20 + failed);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    // 10: no seccomp; 11: no named file; 12: handlers wrong while it exists;
    // 13: an ignored signal taken over; 14: commit failed; 15: not restored; 2x: as tarvex-cli.
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

} // namespace
} // namespace tarvex::files::test
