// What the processor offers the pixel kernels, asked once per process.
#pragma once

// Marks a plain pixel loop that g++ should also build for AVX2 on x86-64, picking
// the copy for the processor when the program starts. The loops stay portable C++;
// other compilers and the sanitizer builds get the single default copy (a clone's
// resolver runs before a sanitizer's runtime has started).
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && \
    !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
#define DF_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
// Long rows of 16- and 32-bit integer work (the noise lattice) gain from 512-bit
// vectors where the processor has them; they get an AVX-512 copy as well. Float
// work and short rows do not gain (or lose), so they keep the two copies above.
#define DF_WIDE_VECTOR_CLONES __attribute__((target_clones("arch=x86-64-v4", "avx2", "default")))
#else
#define DF_VECTOR_CLONES
#define DF_WIDE_VECTOR_CLONES
#endif

// Forced inline so that pixel code is compiled for the processor of the vector
// clone that calls it, not once for the plain x86-64 baseline.
#define DF_INLINE inline __attribute__((always_inline))

// True when the processor runs AVX2 instructions (always false off x86-64).
bool HasAvx2();
// True when the processor runs AVX-512 Foundation instructions and the system keeps
// their registers (always false off x86-64).
bool HasAvx512();
