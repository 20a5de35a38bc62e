// SPDX-License-Identifier: GPL-3.0-or-later

#include "cipher/transform_kernels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <functional>
#include <random>
#include <vector>

namespace tarvex::cipher::test {
namespace {

// The per-character rules taken literally: one step at a time, the ring's seam
// crossed only where a step lands on 123 (upwards) or 31 (downwards).
int stepUp(int c, int k) {
    if (c == 9) return 255;
    if (c == 10) return 254;
    if (c == 13) return 253;
    for (int i = 0; i < k; ++i) {
        ++c;
        if (c == 123) c = 32;
    }
    return c;
}

int stepDown(int c, int k) {
    if (c == 255) return 9;
    if (c == 254) return 10;
    if (c == 253) return 13;
    for (int i = 0; i < k; ++i) {
        --c;
        if (c == 31) c = 122;
    }
    return c;
}

// What a receiver needs of encryption: the cipher code decrypts back to the very
// code, and no control other than tab and the line breaks is sent.
int stepUpFaithfully(int c, int k) {
    if (c == 9 || c == 10 || c == 13) return stepUp(c, k);
    if (c < 32) return -1;
    const int code = stepUp(c, k);
    return code <= 255 && stepDown(code, k) == c ? code : -1;
}

TEST(CodeRules, HandWorkedEncryptions) {
    EXPECT_EQ(encryptCode('A', 5), 'F');
    EXPECT_EQ(encryptCode('A', 0), 'A');
    EXPECT_EQ(encryptCode(122, 1), 32);
    EXPECT_EQ(encryptCode(122, 7), 38);    // 31 + k
    EXPECT_EQ(encryptCode(122, 30), 61);
    EXPECT_EQ(encryptCode(100, 22), 122);
    EXPECT_EQ(encryptCode(100, 23), 32);
    EXPECT_EQ(encryptCode(123, 5), 128);   // never wrapped from 123 up
    EXPECT_EQ(encryptCode(240, 15), 255);
    EXPECT_EQ(encryptCode(240, 16), 256);  // no character
    EXPECT_EQ(encryptCode(20, 15), 35);    // below the ring: plain addition
    EXPECT_EQ(encryptCode(1, 30), 31);
    EXPECT_EQ(encryptCode(9, 30), 255);
    EXPECT_EQ(encryptCode(10, 0), 254);
    EXPECT_EQ(encryptCode(13, 17), 253);
}

TEST(CodeRules, HandWorkedDecryptions) {
    EXPECT_EQ(decryptCode('F', 5), 'A');
    EXPECT_EQ(decryptCode(32, 1), 122);
    EXPECT_EQ(decryptCode(32, 3), 120);    // 123 - k
    EXPECT_EQ(decryptCode(38, 7), 122);
    EXPECT_EQ(decryptCode(128, 5), 123);
    EXPECT_EQ(decryptCode(200, 30), 170);
    EXPECT_EQ(decryptCode(13, 2), 11);     // below the ring: plain subtraction
    EXPECT_EQ(decryptCode(5, 5), 0);
    EXPECT_EQ(decryptCode(5, 6), -1);      // no character
    EXPECT_EQ(decryptCode(255, 30), 9);
    EXPECT_EQ(decryptCode(254, 0), 10);
    EXPECT_EQ(decryptCode(253, 11), 13);
}

TEST(CodeRules, EveryCodeAndKeyNumberFollowTheStepRules) {
    for (int c = 0; c < 256; ++c) {
        for (int k = 0; k <= 30; ++k) {
            const auto code = static_cast<std::uint8_t>(c);
            const auto key = static_cast<std::uint8_t>(k);
            ASSERT_EQ(encryptCode(code, key), stepUp(c, k)) << "encrypt " << c << " with " << k;
            ASSERT_EQ(decryptCode(code, key), stepDown(c, k)) << "decrypt " << c << " with " << k;
        }
    }
}

using Run = std::function<std::size_t(const std::uint8_t*, const std::uint8_t*, std::uint8_t*, std::size_t)>;
using Rule = int (*)(int, int);

struct Kernel {
    std::string name;
    Run run;
    Rule rule;
    bool encrypts;
};

const char* pathName(simd::Path path) {
    switch (path) {
    case simd::Path::Portable: return "portable";
    case simd::Path::Vector16: return "16 lanes";
    case simd::Path::Avx2: return "AVX2";
    case simd::Path::Avx512: return "AVX-512";
    }
    return "?";
}

// The chosen path, and every path this processor can run, each way, storing
// through the cache and around it.
std::vector<Kernel> allKernels() {
    std::vector<Kernel> kernels = {
        {"encryptRun", [](const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                          std::size_t n) { return encryptRun(in, keys, out, n); },
         stepUpFaithfully, true},
        {"decryptRun", [](const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                          std::size_t n) { return decryptRun(in, keys, out, n); },
         stepDown, false}};
    for (simd::Path path : availableKernelPaths()) {
        for (Stores stores : {Stores::Cached, Stores::Streaming}) {
            const std::string how = std::string(pathName(path)) + (stores == Stores::Streaming ? ", streaming" : "");
            kernels.push_back({"encrypt, " + how,
                               [path, stores](const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                                              std::size_t n) { return encryptRunWith(path, in, keys, out, n, stores); },
                               stepUpFaithfully, true});
            kernels.push_back({"decrypt, " + how,
                               [path, stores](const std::uint8_t* in, const std::uint8_t* keys, std::uint8_t* out,
                                              std::size_t n) { return decryptRunWith(path, in, keys, out, n, stores); },
                               stepDown, false});
        }
    }
    return kernels;
}

const std::vector<Kernel> kKernels = allKernels();

// Index of the first code without a result under the rule, or n.
std::size_t firstFailure(const Kernel& kernel, const std::vector<std::uint8_t>& in, const std::vector<std::uint8_t>& keys) {
    for (std::size_t i = 0; i < in.size(); ++i) {
        int r = kernel.rule(in[i], keys[i]);
        if (r < 0 || r > 255) return i;
    }
    return in.size();
}

void expectAgreesWithRule(const Kernel& kernel, const std::vector<std::uint8_t>& in, const std::vector<std::uint8_t>& keys,
                          const std::string& what) {
    const std::size_t n = in.size();
    const std::size_t failure = firstFailure(kernel, in, keys);
    std::vector<std::uint8_t> out(n, 0xEE);
    ASSERT_EQ(kernel.run(in.data(), keys.data(), out.data(), n), failure) << kernel.name << ", " << what;
    for (std::size_t i = 0; i < failure; ++i) {
        ASSERT_EQ(out[i], kernel.rule(in[i], keys[i])) << kernel.name << ", " << what << ", index " << i;
    }
    // The same in place.
    std::vector<std::uint8_t> inPlace = in;
    ASSERT_EQ(kernel.run(inPlace.data(), keys.data(), inPlace.data(), n), failure) << kernel.name << " in place, " << what;
    for (std::size_t i = 0; i < failure; ++i) {
        ASSERT_EQ(inPlace[i], out[i]) << kernel.name << " in place, " << what << ", index " << i;
    }
}

TEST(TransformKernels, EveryCodeAndKeyPairAgreesWithTheRules) {
    // All 256 x 31 pairs in one buffer, cut so every failing pair is met on its own.
    for (const Kernel& kernel : kKernels) {
        std::vector<std::uint8_t> in;
        std::vector<std::uint8_t> keys;
        for (int c = 0; c < 256; ++c) {
            for (int k = 0; k <= 30; ++k) {
                int r = kernel.rule(c, k);
                if (r < 0 || r > 255) continue;
                in.push_back(static_cast<std::uint8_t>(c));
                keys.push_back(static_cast<std::uint8_t>(k));
            }
        }
        expectAgreesWithRule(kernel, in, keys, "all good pairs");
        // Each pair alone, and among good pairs at a place that moves through
        // whole blocks, single vectors and the tail of every path.
        const std::vector<std::uint8_t> goodIn(in.begin(), in.begin() + 160);
        const std::vector<std::uint8_t> goodKeys(keys.begin(), keys.begin() + 160);
        for (int c = 0; c < 256; ++c) {
            for (int k = 0; k <= 30; ++k) {
                const std::string what = "code " + std::to_string(c) + " key " + std::to_string(k);
                std::vector<std::uint8_t> one = {static_cast<std::uint8_t>(c)};
                std::vector<std::uint8_t> key = {static_cast<std::uint8_t>(k)};
                expectAgreesWithRule(kernel, one, key, what);
                const std::size_t at = static_cast<std::size_t>(c * 31 + k) % goodIn.size();
                std::vector<std::uint8_t> among = goodIn;
                std::vector<std::uint8_t> amongKeys = goodKeys;
                among[at] = one[0];
                amongKeys[at] = key[0];
                expectAgreesWithRule(kernel, among, amongKeys, what + " at " + std::to_string(at));
            }
        }
    }
}

// Codes that have a result under the rule with the given key number.
std::vector<std::uint8_t> goodCodes(const Kernel& kernel, int k) {
    std::vector<std::uint8_t> good;
    for (int c = 0; c < 256; ++c) {
        int r = kernel.rule(c, k);
        if (r >= 0 && r <= 255) good.push_back(static_cast<std::uint8_t>(c));
    }
    return good;
}

void randomBuffers(const Kernel& kernel, std::size_t n, std::mt19937& random, std::vector<std::uint8_t>& in,
                   std::vector<std::uint8_t>& keys) {
    in.resize(n);
    keys.resize(n);
    std::uniform_int_distribution<int> keyNumber(0, 30);
    for (std::size_t i = 0; i < n; ++i) {
        keys[i] = static_cast<std::uint8_t>(keyNumber(random));
        std::vector<std::uint8_t> good = goodCodes(kernel, keys[i]);
        in[i] = good[std::uniform_int_distribution<std::size_t>(0, good.size() - 1)(random)];
    }
}

TEST(TransformKernels, LongRandomBuffersAgreeWithTheRules) {
    std::mt19937 random(20240601);
    for (const Kernel& kernel : kKernels) {
        for (std::size_t n : std::initializer_list<std::size_t>{0, 1, 31, 32, 33, 127, 128, 129, 255, 256, 1000, 4099, 65536 + 77}) {
            std::vector<std::uint8_t> in;
            std::vector<std::uint8_t> keys;
            randomBuffers(kernel, n, random, in, keys);
            expectAgreesWithRule(kernel, in, keys, "n " + std::to_string(n));
        }
    }
}

TEST(TransformKernels, FirstFailureAnywhereInABlockIsFound) {
    std::mt19937 random(77);
    for (const Kernel& kernel : kKernels) {
        for (std::size_t n : std::initializer_list<std::size_t>{1, 32, 100, 128, 129, 300, 1024}) {
            for (std::size_t at : std::initializer_list<std::size_t>{0, 1, 31, 32, 33, 63, 64, 95, 96, 127, 128, 129, 200, 299, 1000, 1023}) {
                if (at >= n) continue;
                // Codes without a result: past 255 (250 + 6), onto a line break
                // (233 + 21), a control (1); below 0 (5 - 6).
                const std::uint8_t badCode = kernel.encrypts ? std::array<std::uint8_t, 3>{250, 233, 1}[at % 3] : 5;
                const std::uint8_t badKey = kernel.encrypts ? std::array<std::uint8_t, 3>{6, 21, 0}[at % 3] : 6;
                std::vector<std::uint8_t> in;
                std::vector<std::uint8_t> keys;
                randomBuffers(kernel, n, random, in, keys);
                in[at] = badCode;
                keys[at] = badKey;
                expectAgreesWithRule(kernel, in, keys, "n " + std::to_string(n) + " failing at " + std::to_string(at));
                if (at + 3 < n) {
                    // A second failure later in the same block does not hide the first.
                    in[at + 3] = badCode;
                    keys[at + 3] = 30;
                    expectAgreesWithRule(kernel, in, keys, "two failures from " + std::to_string(at));
                }
            }
        }
    }
}

TEST(TransformKernels, OutputAtEveryAlignmentIsWrittenExactlyInPlace) {
    // Streaming stores start on a vector boundary: the codes before it, and a
    // failure among them, must come out the same as anywhere else.
    std::mt19937 random(9);
    for (const Kernel& kernel : kKernels) {
        std::vector<std::uint8_t> in;
        std::vector<std::uint8_t> keys;
        randomBuffers(kernel, 300, random, in, keys);
        for (std::size_t offset = 0; offset <= 33; ++offset) {
            for (std::size_t badAt : {in.size(), std::size_t{3}}) {
                std::vector<std::uint8_t> text = in;
                std::vector<std::uint8_t> key = keys;
                if (badAt < text.size()) {
                    text[badAt] = kernel.encrypts ? 250 : 5;
                    key[badAt] = 6;
                }
                std::vector<std::uint8_t> out(offset + text.size() + 64, 0xEE);
                const std::string what = kernel.name + ", offset " + std::to_string(offset);
                ASSERT_EQ(kernel.run(text.data(), key.data(), out.data() + offset, text.size()), badAt) << what;
                for (std::size_t i = 0; i < badAt; ++i) {
                    ASSERT_EQ(out[offset + i], kernel.rule(text[i], key[i])) << what << ", index " << i;
                }
                for (std::size_t i = 0; i < offset; ++i) ASSERT_EQ(out[i], 0xEE) << what << ", before the output";
                for (std::size_t i = offset + text.size(); i < out.size(); ++i) {
                    ASSERT_EQ(out[i], 0xEE) << what << ", after the output";
                }
            }
        }
    }
}

TEST(TransformKernels, EveryPathGivesTheSameBytesAndStopsAtTheSameIndex) {
    const std::vector<simd::Path> paths = availableKernelPaths();
    ASSERT_GE(paths.size(), 2u) << "the portable path and a vector path";
    std::mt19937 random(4242);
    std::uniform_int_distribution<int> byte(0, 255);
    std::uniform_int_distribution<int> keyNumber(0, 30);
    for (bool encrypts : {true, false}) {
        for (std::size_t n : std::initializer_list<std::size_t>{5, 64, 1000, 70000}) {
            // Any bytes at all, so most long buffers fail somewhere: the stop must agree too.
            std::vector<std::uint8_t> in(n);
            std::vector<std::uint8_t> keys(n);
            for (std::size_t i = 0; i < n; ++i) {
                in[i] = static_cast<std::uint8_t>(byte(random));
                keys[i] = static_cast<std::uint8_t>(keyNumber(random));
            }
            std::vector<std::uint8_t> first;
            std::size_t firstStop = 0;
            bool haveFirst = false;
            for (simd::Path path : paths) {
                for (Stores stores : {Stores::Cached, Stores::Streaming}) {
                    std::vector<std::uint8_t> out(n, 0);
                    std::size_t stop = encrypts ? encryptRunWith(path, in.data(), keys.data(), out.data(), n, stores)
                                                : decryptRunWith(path, in.data(), keys.data(), out.data(), n, stores);
                    out.resize(stop);
                    if (!haveFirst) {
                        first = out;
                        firstStop = stop;
                        haveFirst = true;
                        continue;
                    }
                    EXPECT_EQ(stop, firstStop) << pathName(path) << " n " << n;
                    EXPECT_TRUE(out == first) << pathName(path) << " n " << n;
                }
            }
        }
    }
}

TEST(TransformKernels, ChosenPathIsOneThisProcessorHas) {
    const std::vector<simd::Path> paths = availableKernelPaths();
    EXPECT_NE(std::find(paths.begin(), paths.end(), chosenKernelPath()), paths.end());
    EXPECT_NE(chosenKernelPath(), simd::Path::Portable) << "a vector path exists everywhere";
}

} // namespace
} // namespace tarvex::cipher::test
