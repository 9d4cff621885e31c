#pragma once

#include <cstdio>
#include <cstdlib>

// A property that failed is a finding: abort so that libFuzzer keeps the input,
// and say which property it was.
#define TWK_FUZZ_CHECK(condition) ((condition) ? void() : twk::fuzz::fail(#condition, __FILE__, __LINE__))

namespace twk::fuzz {

[[noreturn]] inline void fail(const char* condition, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property does not hold: %s\n", file, line, condition);
    std::abort();
}

} // namespace twk::fuzz
