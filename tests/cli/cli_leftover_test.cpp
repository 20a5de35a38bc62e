// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli_test_support.h"

#include "../support/test_support.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tarvex::cli::test {
namespace {

using tarvex::test::TempDir;
using tarvex::test::readBytes;
using tarvex::test::writeBytes;
using tarvex::test::permissionBits;
using tarvex::test::ProcessResult;
using tarvex::test::runProcess;
using tarvex::test::runCli;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true; // the sanitizer's shadow memory does not fit an address-space limit
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

void expectOneLineError(const ProcessResult& result, const std::string& mentions) {
    EXPECT_EQ(result.exitCode, 1) << result.err;
    EXPECT_EQ(result.err.rfind("tarvex-cli: ", 0), 0u) << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    EXPECT_NE(result.err.find(mentions), std::string::npos) << result.err;
}

// tarvex-cli through the launcher that withholds O_TMPFILE or memory.
std::vector<std::string> limited(bool noTmpfile, std::size_t addressSpace, std::vector<std::string> args) {
    std::vector<std::string> all;
    if (noTmpfile) all.push_back("--no-tmpfile");
    if (addressSpace != 0) all.insert(all.end(), {"--address-space", std::to_string(addressSpace)});
    all.push_back(TARVEX_CLI_PATH);
    all.insert(all.end(), args.begin(), args.end());
    return all;
}

// A tarvex-cli reading standard input from a pipe that the test keeps open, so
// it waits, deterministically, in the middle of its work.
class BlockedChild {
public:
    explicit BlockedChild(const std::vector<std::string>& args) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[0], STDIN_FILENO);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        std::vector<char*> argv;
        std::string program = TARVEX_LIMITED_RUN_PATH;
        argv.push_back(program.data());
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        int spawned = posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ);
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[0]);
        input_ = fds[1];
        if (spawned != 0) throw std::runtime_error("spawn");
    }
    ~BlockedChild() {
        closeInput();
        if (pid_ > 0) wait();
    }

    void feed(const std::string& bytes) {
        for (std::size_t done = 0; done < bytes.size();) {
            ssize_t n = ::write(input_, bytes.data() + done, bytes.size() - done);
            if (n <= 0) throw std::runtime_error("write to the child");
            done += static_cast<std::size_t>(n);
        }
    }
    void closeInput() {
        if (input_ >= 0) ::close(std::exchange(input_, -1));
    }
    // The file under `folder` that the child has open for writing, once it
    // holds something; waits until then.
    std::string openOutputIn(const std::string& folder) {
        for (;;) {
            const std::string fds = "/proc/" + std::to_string(pid_) + "/fd";
            if (DIR* dir = ::opendir(fds.c_str())) {
                while (dirent* entry = ::readdir(dir)) {
                    std::string fd = fds + "/" + entry->d_name;
                    char target[4096];
                    ssize_t n = ::readlink(fd.c_str(), target, sizeof target - 1);
                    struct stat info {};
                    if (n <= 0 || ::stat(fd.c_str(), &info) != 0) continue;
                    std::string name(target, static_cast<std::size_t>(n));
                    if (name.starts_with(folder + "/") && S_ISREG(info.st_mode) && info.st_size > 0) {
                        ::closedir(dir);
                        return name;
                    }
                }
                ::closedir(dir);
            }
            int status = 0;
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                ADD_FAILURE() << "tarvex-cli ended before writing";
                return {};
            }
            ::usleep(1000);
        }
    }
    void signal(int number) { ::kill(pid_, number); }
    int wait() {
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return status;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1;
};

class CliLeftovers : public ::testing::Test {
protected:
    TempDir dir;
    std::string key = dir.file("k.tvk");
    void SetUp() override { writeBytes(key, "01\r\n"); } // key numbers all 1
};

TEST_F(CliLeftovers, InterruptedOrFailedOutputLeavesNoFileBehind) {
    // More than one chunk, so the first is written out while the child waits for the rest.
    const std::string cipherText = "ð" + std::string((3 << 20) / 2, 'b');
    const std::string out = dir.file("out.txt");
    for (bool unnamed : {true, false}) {
        std::vector<int> signals = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};
        if (unnamed) signals.push_back(SIGKILL); // nothing can remove a named file after SIGKILL
        for (int number : signals) {
            SCOPED_TRACE(std::string(unnamed ? "unnamed" : "named") + " temporary file, signal " + std::to_string(number));
            BlockedChild child(limited(!unnamed, 0, {"decrypt", "-k", key, "-o", out}));
            child.feed(cipherText);
            std::string temp = child.openOutputIn(dir.path());
            if (!unnamed) {
                ASSERT_EQ(temp.find(" (deleted)"), std::string::npos) << temp;
                EXPECT_EQ(permissionBits(temp), 0600u) << "readable by others while it is written: " << temp;
            }
            child.signal(number);
            child.closeInput();
            int status = child.wait();
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == number) << "status " << status;
            EXPECT_EQ(dir.entries(), std::vector<std::string>{"k.tvk"});
        }

        // A full file system: the write fails, and the existing file stays as it was.
        SCOPED_TRACE(unnamed ? "full, unnamed" : "full, named");
        TempDir small;
        std::string input = dir.file("in.txt");
        writeBytes(input, cipherText);
        std::string script = "mount -t tmpfs -o size=256k tarvex " + small.path() + " || exit 77; printf keep >" +
                             small.path() + "/out.txt; \"$@\" >/dev/null 2>&1; echo $?; ls -A " + small.path() +
                             "; cat " + small.path() + "/out.txt";
        std::vector<std::string> args = {"-m", "sh", "-c", script, "sh", TARVEX_LIMITED_RUN_PATH};
        for (const std::string& arg : limited(!unnamed, 0, {"decrypt", "-k", key, "-o", small.file("out.txt"), input}))
            args.push_back(arg);
        ProcessResult full = runProcess("/usr/bin/unshare", args);
        ::unlink(input.c_str());
        if (full.exitCode == 77 || full.exitCode != 0) GTEST_SKIP() << "cannot mount a tmpfs here: " << full.err;
        EXPECT_EQ(full.out, "1\nout.txt\nkeep");
    }
}

TEST_F(CliLeftovers, MemoryStaysSmallAndRunningOutIsReported) {
    if (kSanitized) GTEST_SKIP() << "address-space limits do not work with the address sanitizer";
    // Line feeds after a cipher text are held until the input shows whether
    // more cipher text follows; 64 MiB of them must not take 64 MiB of memory.
    const std::size_t lineFeeds = std::size_t{64} << 20;
    const std::size_t limit = std::size_t{160} << 20;
    std::string input = dir.file("in.txt");
    {
        std::ofstream file(input, std::ios::binary);
        file << "ðbc";
        std::string block(1 << 20, '\n');
        for (std::size_t i = 0; i < lineFeeds / block.size(); ++i) file << block;
        file << "d\n";
    }
    std::string out = dir.file("out.txt");
    ProcessResult inside = runProcess(TARVEX_LIMITED_RUN_PATH, limited(false, limit, {"decrypt", "-k", key, "-o", out, input}));
    ASSERT_EQ(inside.exitCode, 0) << inside.err;
    struct stat info {};
    ASSERT_EQ(::stat(out.c_str(), &info), 0);
    EXPECT_EQ(static_cast<std::size_t>(info.st_size), 2 + lineFeeds + 1); // LF (10) decrypts to a tab (9)
    {
        std::ifstream file(out, std::ios::binary);
        std::string head(3, '\0');
        file.read(head.data(), 3);
        EXPECT_EQ(head, "ab\t");
        file.seekg(-2, std::ios::end);
        std::string tail(2, '\0');
        file.read(tail.data(), 2);
        EXPECT_EQ(tail, "\tc");
    }
    // At the end they are dropped.
    ASSERT_EQ(::truncate(input.c_str(), static_cast<off_t>(3 + 1 + lineFeeds)), 0);
    ProcessResult trailing = runProcess(TARVEX_LIMITED_RUN_PATH, limited(false, limit, {"decrypt", "-k", key, input}));
    EXPECT_EQ(trailing.exitCode, 0) << trailing.err;
    EXPECT_EQ(trailing.out, "ab");
    ::unlink(out.c_str());

    // Too little memory for a large UTF-8 text: the lowest limit that fails
    // below one that works fails inside tarvex-cli, with a message.
    writeBytes(input, std::string(3 << 20, 'a'));
    auto run = [&](std::size_t bytes) {
        return runProcess(TARVEX_LIMITED_RUN_PATH, limited(true, bytes, {"encrypt", "-k", key, "-o", out, input}));
    };
    std::size_t works = std::size_t{256} << 20;
    std::size_t fails = std::size_t{1} << 20;
    ASSERT_EQ(run(works).exitCode, 0);
    ::unlink(out.c_str());
    while (works - fails > (std::size_t{64} << 10)) {
        std::size_t middle = fails + (works - fails) / 2;
        ProcessResult result = run(middle);
        (result.exitCode == 0 ? works : fails) = middle;
        ::unlink(out.c_str());
    }
    ProcessResult starved = run(fails);
    expectOneLineError(starved, "out of memory");
    ::unlink(input.c_str());
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"k.tvk"}) << "a temporary file was left";
}

TEST_F(CliLeftovers, LinksPlantedInASharedStickyFolderByOthersAreNotFollowed) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to plant a link as another user";
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    std::string shared = dir.file("shared");
    ASSERT_EQ(::mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(::chmod(shared.c_str(), 01777), 0);
    std::string precious = dir.file("precious");
    writeBytes(precious, "precious");
    for (std::string name : {"k.tvk", "out.txt"}) {
        ProcessResult planted = runProcess("/usr/bin/setpriv", {"--reuid=nobody", "--regid=nogroup", "--clear-groups",
                                                                "/bin/ln", "-s", precious, shared + "/" + name});
        ASSERT_EQ(planted.exitCode, 0) << planted.err;
    }
    expectOneLineError(runCli({"create-key", "--force", shared + "/k.tvk"}), shared + "/k.tvk");
    expectOneLineError(runCli({"encrypt", "-k", key, "-o", shared + "/out.txt"}, std::string("hi")), "out.txt");
    EXPECT_EQ(readBytes(precious), "precious");

    // A link of one's own there is followed, as anywhere else.
    std::string own = shared + "/own.txt";
    ASSERT_EQ(::symlink(precious.c_str(), own.c_str()), 0);
    ProcessResult followed = runCli({"encrypt", "-k", key, "-e", "cp1252", "-o", own}, std::string("a"));
    EXPECT_EQ(followed.exitCode, 0) << followed.err;
    EXPECT_EQ(readBytes(precious), "\xF0" "b\r\n");
}

TEST_F(CliLeftovers, KeyPathsAndKeyTargetsThatAreNotRegularFilesAreRefused) {
    std::string fifo = dir.file("fifo");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    // Opening a pipe for reading would wait for a writer forever.
    expectOneLineError(runCli({"encrypt", "-k", fifo}, std::string("hi")), "'" + fifo + "': it is a pipe (FIFO), not a regular file");
    expectOneLineError(runCli({"decrypt", "-k", "/dev/null"}, std::string("ðx")), "it is a device, not a regular file");
    expectOneLineError(runCli({"create-key", "--force", "/dev/null"}), "it is a device, not a regular file");
    expectOneLineError(runCli({"create-key", "--force", fifo}), "it is a pipe (FIFO), not a regular file");
    expectOneLineError(runCli({"create-key", fifo}), "already exists");
}

TEST_F(CliLeftovers, MessagesShowControlsInNamesAndCharactersAsEscapes) {
    auto expectHarmless = [](const ProcessResult& result, const std::string& shows) {
        EXPECT_NE(result.exitCode, 0);
        EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
        for (char c : result.err.substr(0, result.err.size() - 1)) EXPECT_GE(static_cast<unsigned char>(c), 0x20) << result.err;
        EXPECT_EQ(result.err.find("\xE2\x80\xAE"), std::string::npos) << "a right-to-left override reached the terminal";
        EXPECT_NE(result.err.find(shows), std::string::npos) << result.err;
    };
    std::string odd = dir.file("new\nline\x1B[31m\xE2\x80\xAE.tvk");
    expectHarmless(runCli({"encrypt", "-k", odd}, std::string("hi")), "new\\nline\\e[31m\\u202E.tvk");
    expectHarmless(runCli({"encrypt", "-k", key}, std::string("a\xE2\x80\xAE" "b")), "U+202E at position 2");
    expectHarmless(runCli({"encrypt", "-k", key, "-e", "\x1B]0;title\x07"}), "'\\e]0;title\\x07'");
    expectHarmless(runCli({"encrypt", "-k", key, "--a\x9B"}), "'--a\\x9B'");
}

TEST_F(CliLeftovers, InputEdgesBehaveAsAUserExpects) {
    // A cut UTF-8 sequence at the end of a short input: nothing is written.
    ProcessResult cut = runCli({"encrypt", "-k", key}, std::string("hello\xC3"));
    expectOneLineError(cut, "not valid UTF-8 at byte 6");
    EXPECT_EQ(cut.out, "");
    ProcessResult cutCipher = runCli({"decrypt", "-k", key}, std::string("ðabc\xC3"));
    expectOneLineError(cutCipher, "not valid UTF-8");
    EXPECT_EQ(cutCipher.out, "");

    // A byte-order mark at the start is skipped, both ways; positions count what the user sees.
    const std::string mark = "\xEF\xBB\xBF";
    ProcessResult plain = runCli({"encrypt", "-k", key}, std::string("hi\n"));
    ProcessResult marked = runCli({"encrypt", "-k", key}, mark + "hi\n");
    ASSERT_EQ(marked.exitCode, 0) << marked.err;
    EXPECT_EQ(marked.out, plain.out);
    EXPECT_EQ(runCli({"decrypt", "-k", key}, mark + plain.out).out, "hi\n");
    expectOneLineError(runCli({"encrypt", "-k", key}, mark + "ab ā"), "'ā' (U+0101) at position 4");
    expectOneLineError(runCli({"encrypt", "-k", key}, mark + "ab\xFF"), "not valid UTF-8 at byte 6");
    // Elsewhere, or in cp1252, the same bytes are what they always were.
    expectOneLineError(runCli({"encrypt", "-k", key}, "a" + mark), "U+FEFF");
    EXPECT_NE(runCli({"encrypt", "-k", key, "-e", "cp1252"}, mark + "x").out,
              runCli({"encrypt", "-k", key, "-e", "cp1252"}, std::string("x")).out);

    expectOneLineError(runCli({"decrypt", "-k", key}, std::string("\n\r\n")),
                       "standard input holds no cipher text: it has only line breaks");
}

} // namespace
} // namespace tarvex::cli::test
