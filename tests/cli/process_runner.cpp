// SPDX-License-Identifier: GPL-3.0-or-later

#include "process_runner.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace tarvex::test {
namespace {

std::string tempFile(const std::string& content) {
    char name[] = "/tmp/tarvex-proc-XXXXXX";
    int fd = ::mkstemp(name);
    if (fd < 0) throw std::runtime_error("mkstemp failed");
    std::size_t done = 0;
    while (done < content.size()) {
        ssize_t n = ::write(fd, content.data() + done, content.size() - done);
        if (n <= 0) throw std::runtime_error("write failed");
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return name;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const ProcessOptions& options) {
    // Files, not pipes, carry the streams, so no size of input or output can deadlock.
    std::string inPath = tempFile(options.input);
    std::string outPath = options.stdoutPath.empty() ? tempFile("") : options.stdoutPath;
    std::string errPath = tempFile("");

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, inPath.c_str(), O_RDONLY, 0);
    int brokenPipe[2] = {-1, -1};
    if (options.closeStdout) {
        if (::pipe(brokenPipe) != 0) throw std::runtime_error("pipe failed");
        ::close(brokenPipe[0]);
        posix_spawn_file_actions_adddup2(&actions, brokenPipe[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_TRUNC, 0);
    }
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_TRUNC, 0);
    if (!options.workingDirectory.empty()) {
        posix_spawn_file_actions_addchdir_np(&actions, options.workingDirectory.c_str());
    }

    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    pid_t pid = 0;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (brokenPipe[1] >= 0) ::close(brokenPipe[1]);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);

    int status = 0;
    ::waitpid(pid, &status, 0);
    ProcessResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (options.stdoutPath.empty()) {
        result.out = slurp(outPath);
        ::unlink(outPath.c_str());
    }
    result.err = slurp(errPath);
    ::unlink(inPath.c_str());
    ::unlink(errPath.c_str());
    return result;
}

} // namespace tarvex::test
