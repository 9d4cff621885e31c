#pragma once

#include <string>

namespace twk::bench {

// The path of a continuous log of the given number of sections, made once
// per run and set back to exactly that content on every call, so each
// benchmark run starts from the same file whatever earlier runs added.
std::string SampleLogFile(long sections);

} // namespace twk::bench
