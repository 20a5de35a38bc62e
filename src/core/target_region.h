// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Code between TARVEX_TARGET_BEGIN(features) and TARVEX_TARGET_END is built for
// those instruction-set features, and runs only where dispatch found them. A
// region opens after every header is in, so nothing shared with the other
// paths (an inline function, a template) carries the features' instructions.

#define TARVEX_PRAGMA(text) _Pragma(#text)

#if defined(__clang__)
#define TARVEX_TARGET_BEGIN(features) \
    TARVEX_PRAGMA(clang attribute push(__attribute__((target(features))), apply_to = function))
#define TARVEX_TARGET_END TARVEX_PRAGMA(clang attribute pop)
#else
#define TARVEX_TARGET_BEGIN(features) TARVEX_PRAGMA(GCC push_options) TARVEX_PRAGMA(GCC target(features))
#define TARVEX_TARGET_END TARVEX_PRAGMA(GCC pop_options)
#endif

// What the 64-byte text paths need; simd::availablePaths() (instruction_set.cpp)
// names Avx512 only where the processor has every one of them.
#define TARVEX_AVX512_FEATURES "avx2,avx512f,avx512bw,avx512vbmi,avx512vbmi2,bmi2,popcnt"
