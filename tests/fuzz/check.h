// What a fuzz target insists on: a broken promise stops the run like a crash, so the fuzzer keeps the input.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace fuzz {

inline void Require(bool promise, const char* what) {
    if (promise) return;
    std::fprintf(stderr, "broken promise: %s\n", what);
    std::abort();
}

// Text meant for a terminal: printable ASCII only.
inline bool IsPrintable(std::string_view text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E) return false;
    return true;
}

} // namespace fuzz
