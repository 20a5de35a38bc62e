// SPDX-License-Identifier: GPL-3.0-or-later

// tarvex-cli as a whole process on a 64 MiB file, beside cp of the same file in
// the same run, and the sealed format beside cat and age. Peak memory of each run is reported as max_rss_kib.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <random>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr std::size_t kSize = 64u << 20;

struct Files {
    std::string folder;
    std::string key;
    std::string message; // codes 32..122 with line breaks: every path succeeds
    std::string utf8;    // much the same as UTF-8, with an accented capital every 16 characters
    std::string cipher;
    std::string utf8Cipher; // `utf8` encrypted as UTF-8
    std::string sealed;     // `message` sealed
    std::string ageIdentity, ageRecipient, ageSealed; // empty without age
    std::string out;
};

// Runs a program with standard output into `out`; returns its peak memory in KiB.
long run(const std::vector<std::string>& args, const std::string& out) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) std::abort();
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    if (::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) std::abort();
    return usage.ru_maxrss;
}

const Files& files() {
    static const Files f = [] {
        Files made;
        char folder[] = "/tmp/tarvex-bench-XXXXXX";
        if (!::mkdtemp(folder)) std::abort();
        made.folder = folder;
        made.key = made.folder + "/k.tvk";
        made.message = made.folder + "/message.txt";
        made.utf8 = made.folder + "/message-utf8.txt";
        made.cipher = made.folder + "/cipher.txt";
        made.utf8Cipher = made.folder + "/cipher-utf8.txt";
        made.out = made.folder + "/out";
        run({TARVEX_CLI_PATH, "create-key", made.key}, "/dev/null");
        // Written a chunk at a time: a child's peak memory counts what its parent
        // held when it started, so the parent stays small.
        std::mt19937 random(1);
        std::uniform_int_distribution<int> code(32, 122);
        FILE* plain = std::fopen(made.message.c_str(), "wb");
        FILE* accented = std::fopen(made.utf8.c_str(), "wb");
        if (!plain || !accented) std::abort();
        std::string chunk(1u << 20, ' ');
        std::string accentedChunk;
        for (std::size_t written = 0; written < kSize; written += chunk.size()) {
            accentedChunk.clear();
            for (std::size_t i = 0; i < chunk.size(); ++i) {
                chunk[i] = (i % 73 == 72) ? '\n' : static_cast<char>(code(random));
                accentedChunk += (i % 16 == 0) ? std::string("\xC3\x84") : std::string(1, chunk[i]);
            }
            std::fwrite(chunk.data(), 1, chunk.size(), plain);
            std::fwrite(accentedChunk.data(), 1, accentedChunk.size(), accented);
        }
        if (std::fclose(plain) != 0 || std::fclose(accented) != 0) std::abort();
        run({TARVEX_CLI_PATH, "encrypt", "-k", made.key, "-e", "cp1252", made.message}, made.cipher);
        run({TARVEX_CLI_PATH, "encrypt", "-k", made.key, made.utf8}, made.utf8Cipher);
        made.sealed = made.folder + "/sealed.txt";
        run({TARVEX_CLI_PATH, "encrypt", "--sealed", "-k", made.key, made.message}, made.sealed);
        // age, the reference for a modern file encryption, where installed.
        if (std::system("command -v age >/dev/null && command -v age-keygen >/dev/null") == 0) {
            made.ageIdentity = made.folder + "/age.key";
            run({"age-keygen", "-o", made.ageIdentity}, "/dev/null");
            const std::string recipientFile = made.folder + "/age.pub";
            run({"age-keygen", "-y", made.ageIdentity}, recipientFile);
            FILE* recipient = std::fopen(recipientFile.c_str(), "r");
            char line[256] = {};
            if (!recipient || !std::fgets(line, sizeof line, recipient)) std::abort();
            std::fclose(recipient);
            made.ageRecipient = std::string(line).substr(0, std::string(line).find('\n'));
            made.ageSealed = made.folder + "/message.age";
            run({"age", "-r", made.ageRecipient, "-o", made.ageSealed, made.message}, "/dev/null");
        }
        return made;
    }();
    return f;
}

void measure(benchmark::State& state, const std::vector<std::string>& args, std::size_t bytes) {
    long peak = 0;
    for (auto _ : state) peak = run(args, files().out);
    state.counters["max_rss_kib"] = static_cast<double>(peak);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(bytes));
}

void BM_Cp(benchmark::State& state) {
    measure(state, {"cp", files().message, files().out + ".cp"}, kSize);
}

void BM_CliEncryptCp1252(benchmark::State& state) {
    measure(state, {TARVEX_CLI_PATH, "encrypt", "-k", files().key, "-e", "cp1252", files().message}, kSize);
}

void BM_CliDecryptCp1252(benchmark::State& state) {
    measure(state, {TARVEX_CLI_PATH, "decrypt", "-k", files().key, "-e", "cp1252", files().cipher}, kSize);
}

void BM_CliEncryptUtf8(benchmark::State& state) {
    measure(state, {TARVEX_CLI_PATH, "encrypt", "-k", files().key, files().utf8}, kSize);
}

void BM_CliDecryptUtf8(benchmark::State& state) {
    measure(state, {TARVEX_CLI_PATH, "decrypt", "-k", files().key, files().utf8Cipher}, kSize);
}

// With -o the result is flushed to disk before it is renamed into place.
void BM_CliEncryptCp1252ToFile(benchmark::State& state) {
    measure(state, {TARVEX_CLI_PATH, "encrypt", "-k", files().key, "-e", "cp1252", "-o", files().out + ".o", files().message},
            kSize);
}

// The sealed format: XChaCha20-Poly1305, CRC-32 and base58 in one pass.
void BM_Cat(benchmark::State& state) {
    measure(state, {"cat", files().message}, kSize);
}
// What any program that reads and writes through a buffer of its own pays,
// which cat, copying inside the kernel, does not.
void BM_DdOneMebibyteBlocks(benchmark::State& state) {
    measure(state, {"dd", "if=" + files().message, "bs=1M", "status=none"}, kSize);
}
void BM_CliSeal(benchmark::State& state) {
    measure(state, {TARVEX_CLI_PATH, "encrypt", "--sealed", "-k", files().key, files().message}, kSize);
}
void BM_CliOpen(benchmark::State& state) {
    measure(state, {TARVEX_CLI_PATH, "decrypt", "-k", files().key, files().sealed}, kSize);
}
void BM_AgeEncrypt(benchmark::State& state) {
    if (files().ageRecipient.empty()) return state.SkipWithError("age is not installed");
    measure(state, {"age", "-r", files().ageRecipient, files().message}, kSize);
}
void BM_AgeDecrypt(benchmark::State& state) {
    if (files().ageIdentity.empty()) return state.SkipWithError("age is not installed");
    measure(state, {"age", "-d", "-i", files().ageIdentity, files().ageSealed}, kSize);
}
} // namespace

BENCHMARK(BM_Cp)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliEncryptCp1252)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliDecryptCp1252)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliEncryptUtf8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliDecryptUtf8)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliEncryptCp1252ToFile)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Cat)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DdOneMebibyteBlocks)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliSeal)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CliOpen)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AgeEncrypt)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_AgeDecrypt)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::string cleanup = "rm -rf '" + files().folder + "'";
    return std::system(cleanup.c_str()) == 0 ? 0 : 1;
}
