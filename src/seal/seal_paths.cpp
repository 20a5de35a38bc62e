// SPDX-License-Identifier: GPL-3.0-or-later
#include "seal_paths.h"

namespace tarvex::seal {

std::vector<simd::Path> sealPaths() {
    std::vector<simd::Path> paths = {simd::Path::Portable};
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (simd::fastestPath() >= simd::Path::Avx2 && __builtin_cpu_supports("pclmul")) paths.push_back(simd::Path::Avx2);
#endif
    return paths;
}

simd::Path fastestSealPath() {
    static const simd::Path fastest = sealPaths().back();
    return fastest;
}

} // namespace tarvex::seal
