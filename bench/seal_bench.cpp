// SPDX-License-Identifier: GPL-3.0-or-later

// The sealed format's byte passes on 8 MiB beside memcpy of the same buffer,
// on every path this processor has: base58 both ways, CRC-32, and libsodium's
// stream cipher with its authenticator.

#include "seal/base58_blocks.h"
#include "seal/crc32.h"
#include "seal/seal_paths.h"

#include <benchmark/benchmark.h>
#include <sodium.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace {

using tarvex::simd::Path;
namespace base58 = tarvex::seal::base58;

constexpr std::size_t kBytes = 8u << 20;
constexpr std::size_t kBlocks = kBytes / base58::kBlockBytes;

const std::vector<std::uint8_t>& randomBytes() {
    static const std::vector<std::uint8_t> bytes = [] {
        std::vector<std::uint8_t> made(kBytes);
        std::mt19937_64 random(58);
        for (auto& b : made) b = static_cast<std::uint8_t>(random());
        return made;
    }();
    return bytes;
}

const std::string& digits() {
    static const std::string text = [] {
        std::string made(kBlocks * base58::kBlockDigits, '\0');
        base58::encodeBlocks(randomBytes().data(), kBlocks, made.data(), Path::Portable);
        return made;
    }();
    return text;
}

Path pathOf(const benchmark::State& state) {
    return static_cast<Path>(state.range(0));
}

void setBytes(benchmark::State& state) {
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kBytes));
}

void BM_Memcpy(benchmark::State& state) {
    std::vector<std::uint8_t> out(kBytes);
    for (auto _ : state) {
        std::memcpy(out.data(), randomBytes().data(), kBytes);
        benchmark::DoNotOptimize(out.data());
    }
    setBytes(state);
}

void BM_Base58Encode(benchmark::State& state) {
    std::string out(digits().size(), '\0');
    for (auto _ : state) {
        base58::encodeBlocks(randomBytes().data(), kBlocks, out.data(), pathOf(state));
        benchmark::DoNotOptimize(out.data());
    }
    setBytes(state);
}

void BM_Base58Decode(benchmark::State& state) {
    std::vector<std::uint8_t> out(kBytes);
    for (auto _ : state) {
        if (base58::decodeBlocks(digits().data(), kBlocks, out.data(), pathOf(state)) != kBlocks)
            state.SkipWithError("the digits did not read back");
        benchmark::DoNotOptimize(out.data());
    }
    setBytes(state);
}

void BM_Crc32(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(tarvex::seal::crc32Update(0, randomBytes().data(), kBytes, pathOf(state)));
    setBytes(state);
}

// What the binary form costs: one secretstream push per 64 KiB piece.
void BM_SecretStreamPush(benchmark::State& state) {
    if (sodium_init() < 0) return state.SkipWithError("libsodium did not start");
    unsigned char key[crypto_secretstream_xchacha20poly1305_KEYBYTES] = {};
    unsigned char header[crypto_secretstream_xchacha20poly1305_HEADERBYTES];
    std::vector<std::uint8_t> chunk(65536 + crypto_secretstream_xchacha20poly1305_ABYTES);
    for (auto _ : state) {
        crypto_secretstream_xchacha20poly1305_state stream;
        crypto_secretstream_xchacha20poly1305_init_push(&stream, header, key);
        for (std::size_t at = 0; at < kBytes; at += 65536)
            crypto_secretstream_xchacha20poly1305_push(&stream, chunk.data(), nullptr, randomBytes().data() + at, 65536,
                                                       nullptr, 0, 0);
        benchmark::DoNotOptimize(chunk.data());
    }
    setBytes(state);
}

void onEveryPath(benchmark::internal::Benchmark* b) {
    for (Path path : tarvex::seal::sealPaths()) b->Arg(static_cast<int>(path));
}

} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Base58Encode)->Apply(onEveryPath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Base58Decode)->Apply(onEveryPath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Crc32)->Apply(onEveryPath)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SecretStreamPush)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
