#pragma once

#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding: print what was expected and stop, so that
// libFuzzer saves the input that led to it.
#define FUZZ_CHECK(condition)                                                                      \
    do {                                                                                           \
        if (!(condition)) {                                                                        \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (false)
