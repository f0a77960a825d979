// The attribute that builds a stand-in's hot row loop twice, for machines
// with AVX2 and without; the loader picks one when the program starts. What
// such a loop calls must be forced inline, so that each build gets its own
// copy. Clang (the fuzz build) builds the loop once.
#pragma once

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define PLAT_ROW_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define PLAT_ROW_CLONES
#endif
