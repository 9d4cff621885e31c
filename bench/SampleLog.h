#pragma once

#include <string>

namespace twk::bench {

// The section counts every log benchmark runs at: a day's captures up to a
// year of a busy user's continuous log.
inline constexpr long kSmallestLog = 1'000;
inline constexpr long kLargestLog = 1'000'000;

// A continuous clipboard log as the program writes it: one "[yyyymmddhhmmss]"
// section per capture, a line of text each, CR LF line ends.
std::string SampleLog(long sections);

// The section name of the n-th capture after the sample's last one.
std::string StampAfterSample(long sections, long n);

} // namespace twk::bench
