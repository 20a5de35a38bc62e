// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

namespace tarvex::blocks {

// How a pass over text runs: 16 bytes at a time on any processor, 32 with
// AVX2, 64 with AVX-512 and its byte compress and expand (x86-64 only). Every
// path gives the same result; the fastest this processor has is used unless
// one is named.
enum class Path { Bytes16, Avx2, Avx512 };

inline std::vector<Path> availablePaths() {
    std::vector<Path> paths = {Path::Bytes16};
#if defined(__x86_64__)
    __builtin_cpu_init(); // in case this runs before the constructors that would do it
    if (__builtin_cpu_supports("avx2")) paths.push_back(Path::Avx2);
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
        __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt")) {
        paths.push_back(Path::Avx512);
    }
#endif
    return paths;
}

inline Path fastestPath() {
    static const Path fastest = availablePaths().back();
    return fastest;
}

} // namespace tarvex::blocks
