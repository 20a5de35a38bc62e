// SPDX-License-Identifier: GPL-3.0-or-later

#include "instruction_set.h"

#include <algorithm>

namespace tarvex::simd {

std::vector<Path> availablePaths() {
    std::vector<Path> paths = {Path::Portable, Path::Vector16};
#if defined(__x86_64__)
    __builtin_cpu_init(); // in case this runs before the constructors that would do it
    if (__builtin_cpu_supports("avx2")) paths.push_back(Path::Avx2);
    // The features TARVEX_AVX512_FEATURES builds for.
    if (__builtin_cpu_supports("avx2") && __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
        __builtin_cpu_supports("avx512vbmi") && __builtin_cpu_supports("avx512vbmi2") &&
        __builtin_cpu_supports("bmi2") && __builtin_cpu_supports("popcnt")) {
        paths.push_back(Path::Avx512);
    }
#endif
    return paths;
}

Path fastestPath() {
    static const Path fastest = availablePaths().back();
    return fastest;
}

std::vector<Path> availableAmong(std::initializer_list<Path> implemented) {
    std::vector<Path> paths;
    for (Path path : availablePaths()) {
        if (std::find(implemented.begin(), implemented.end(), path) != implemented.end()) paths.push_back(path);
    }
    return paths;
}

Path fastestAmong(std::initializer_list<Path> implemented) {
    const std::vector<Path> paths = availableAmong(implemented);
    return paths.empty() ? Path::Portable : paths.back();
}

} // namespace tarvex::simd
