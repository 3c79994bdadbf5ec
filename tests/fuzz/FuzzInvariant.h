#pragma once

#include <cstdio>

// What a fuzz target asserts about a reader. A broken invariant stops the process at once, so
// libFuzzer keeps the input as a crash and a replay of it fails.
namespace FuzzInvariant {

inline void Require(bool agHolds, const char* agWhat) {
    if (!agHolds) {
        std::fprintf(stderr, "broken invariant: %s\n", agWhat);
        std::fflush(stderr);
        __builtin_trap();
    }
}

}  // namespace FuzzInvariant
