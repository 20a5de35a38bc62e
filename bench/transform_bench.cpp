// SPDX-License-Identifier: GPL-3.0-or-later

// Throughput of the cipher transforms beside memcpy of the same buffer, so the
// figures can be read against what the memory system allows on this machine.

#include "cipher/key_file_format.h"
#include "cipher/key_file_reader.h"
#include "cipher/key_stream.h"
#include "cipher/text_transformer.h"
#include "cipher/transform_kernels.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <span>
#include <string>
#include <vector>

namespace {

constexpr std::size_t kMiB = 1024 * 1024;

// Key numbers of a full-size key file (5,969 pairs), as the reader gives them.
std::vector<std::uint8_t> realKeyNumbers() {
    std::mt19937 random(2024);
    std::uniform_int_distribution<int> byte(0, 255);
    std::vector<std::uint8_t> bytes(5969);
    for (auto& b : bytes) b = static_cast<std::uint8_t>(byte(random));
    const tarvex::secret::Bytes numbers = tarvex::cipher::keyNumbersFromText(tarvex::cipher::formatKeyFile(bytes));
    return {numbers.begin(), numbers.end()};
}

// Mostly letters and spaces, some digits and punctuation, a line break every few dozen characters.
std::string realisticText(std::size_t n) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> pick(0, 99);
    std::uniform_int_distribution<int> letter('a', 'z');
    std::uniform_int_distribution<int> anyPrintable(32, 122);
    std::string text(n, ' ');
    std::size_t sinceBreak = 0;
    for (std::size_t i = 0; i < n; ++i) {
        int p = pick(random);
        if (sinceBreak > 60 && p < 10 && i + 1 < n) {
            text[i++] = '\r';
            text[i] = '\n';
            sinceBreak = 0;
            continue;
        }
        int c = p < 15 ? ' ' : p < 85 ? letter(random) : anyPrintable(random);
        text[i] = static_cast<char>(c);
        ++sinceBreak;
    }
    return text;
}

struct Buffers {
    std::string text;
    std::string cipher; // the marker, then the encrypted text
    std::string out;    // reused output, already touched
};

const std::vector<std::uint8_t>& keyNumbers() {
    static const std::vector<std::uint8_t> keys = realKeyNumbers();
    return keys;
}

// Built once per size and kept for every benchmark of that size.
Buffers& buffersFor(std::size_t n) {
    static std::map<std::size_t, std::unique_ptr<Buffers>> cache;
    auto& slot = cache[n];
    if (!slot) {
        slot = std::make_unique<Buffers>();
        slot->text = realisticText(n);
        tarvex::Result<tarvex::secret::String> cipher = tarvex::cipher::encryptText(slot->text, keyNumbers());
        if (!cipher) std::abort();
        slot->cipher = std::string(*cipher);
        slot->out.assign(n + 1, '\0');
    }
    return *slot;
}

std::uint8_t* bytes(std::string& s) {
    return reinterpret_cast<std::uint8_t*>(s.data());
}

// Key numbers as the transformer pairs them with the text: runs of its key
// stream, a period at a time.
template <typename Kernel>
void runKernel(benchmark::State& state, Kernel kernel, const std::uint8_t* in, std::uint8_t* out, std::size_t n) {
    tarvex::cipher::KeyStream stream(keyNumbers());
    for (auto _ : state) {
        for (std::size_t at = 0; at < n;) {
            std::span<const std::uint8_t> keys = stream.take(n - at);
            if (kernel(in + at, keys.data(), out + at, keys.size()) != keys.size()) state.SkipWithError("transform failed");
            at += keys.size();
        }
        benchmark::DoNotOptimize(out);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(n));
}

void BM_Memcpy(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    Buffers& b = buffersFor(n);
    for (auto _ : state) {
        std::memcpy(b.out.data(), b.text.data(), n);
        benchmark::DoNotOptimize(b.out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(n));
}

// The chosen path, storing through the cache (range 1 = 0) or around it (1).
tarvex::cipher::Stores storesOf(const benchmark::State& state) {
    return state.range(1) != 0 ? tarvex::cipher::Stores::Streaming : tarvex::cipher::Stores::Cached;
}

void BM_EncryptRun(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    Buffers& b = buffersFor(n);
    auto kernel = [stores = storesOf(state)](const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                                             std::size_t count) { return tarvex::cipher::encryptRun(in, keys, out, count, stores); };
    runKernel(state, kernel, bytes(b.text), bytes(b.out), n);
}

void BM_DecryptRun(benchmark::State& state) {
    const auto n = static_cast<std::size_t>(state.range(0));
    Buffers& b = buffersFor(n);
    auto kernel = [stores = storesOf(state)](const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                                             std::size_t count) { return tarvex::cipher::decryptRun(in, keys, out, count, stores); };
    runKernel(state, kernel, bytes(b.cipher) + 1, bytes(b.out), n);
}

// Each build of the transform this processor can run, by name, so every path is measured.
void BM_EncryptPath(benchmark::State& state, tarvex::simd::Path path) {
    const auto n = static_cast<std::size_t>(state.range(0));
    Buffers& b = buffersFor(n);
    auto kernel = [path](const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t count) {
        return tarvex::cipher::encryptRunWith(path, in, keys, out, count);
    };
    runKernel(state, kernel, bytes(b.text), bytes(b.out), n);
}

void BM_DecryptPath(benchmark::State& state, tarvex::simd::Path path) {
    const auto n = static_cast<std::size_t>(state.range(0));
    Buffers& b = buffersFor(n);
    auto kernel = [path](const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out, std::size_t count) {
        return tarvex::cipher::decryptRunWith(path, in, keys, out, count);
    };
    runKernel(state, kernel, bytes(b.cipher) + 1, bytes(b.out), n);
}

// The whole text through the transformer's public interface, into a buffer
// that is reused, as tarvex-cli does with its chunks.
void feedWhole(benchmark::State& state, tarvex::cipher::Direction direction, const std::string& in, std::string& out) {
    out.resize(in.size() + 1);
    for (auto _ : state) {
        tarvex::cipher::TextTransformer transformer(direction, keyNumbers());
        if (!transformer.feed(in, out.data())) state.SkipWithError("transform failed");
        benchmark::DoNotOptimize(out.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(in.size()));
}

void BM_EncryptFeed(benchmark::State& state) {
    Buffers& b = buffersFor(static_cast<std::size_t>(state.range(0)));
    feedWhole(state, tarvex::cipher::Direction::Encrypt, b.text, b.out);
}

void BM_DecryptFeed(benchmark::State& state) {
    Buffers& b = buffersFor(static_cast<std::size_t>(state.range(0)));
    feedWhole(state, tarvex::cipher::Direction::Decrypt, b.cipher, b.out);
}

void sizes(benchmark::internal::Benchmark* b) {
    b->Arg(static_cast<std::int64_t>(kMiB))->Arg(static_cast<std::int64_t>(64 * kMiB))->Unit(benchmark::kMicrosecond);
}

void storedBothWays(benchmark::internal::Benchmark* b) {
    b->ArgNames({"bytes", "streaming"})->Unit(benchmark::kMicrosecond);
    for (std::int64_t n : {std::int64_t{kMiB}, std::int64_t{64 * kMiB}}) {
        b->Args({n, 0})->Args({n, 1});
    }
}

} // namespace

BENCHMARK(BM_Memcpy)->Apply(sizes);
BENCHMARK(BM_EncryptRun)->Apply(storedBothWays);
BENCHMARK(BM_DecryptRun)->Apply(storedBothWays);
BENCHMARK(BM_EncryptFeed)->Apply(sizes);
BENCHMARK(BM_DecryptFeed)->Apply(sizes);

int main(int argc, char** argv) {
    for (tarvex::simd::Path path : tarvex::cipher::availableKernelPaths()) {
        const char* name = path == tarvex::simd::Path::Portable   ? "Portable"
                           : path == tarvex::simd::Path::Vector16 ? "Vector16"
                                                                  : "Avx2";
        benchmark::RegisterBenchmark((std::string("BM_EncryptPath/") + name).c_str(), BM_EncryptPath, path)->Apply(sizes);
        benchmark::RegisterBenchmark((std::string("BM_DecryptPath/") + name).c_str(), BM_DecryptPath, path)->Apply(sizes);
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
