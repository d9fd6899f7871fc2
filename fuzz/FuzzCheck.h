#pragma once
// A property that must hold for every input; a failure is a finding, with its reason.

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition, what)                                                      \
    do {                                                                                 \
        if (!(condition)) {                                                              \
            std::fprintf(stderr, "property broken at %s:%d: %s\n", __FILE__, __LINE__, what); \
            std::abort();                                                                \
        }                                                                                \
    } while (0)
