#include "SampleLog.h"

#include <cstdio>
#include <ctime>

namespace twk::bench {
namespace {

constexpr std::time_t kFirstCapture = 1'735'689'600; // 2025-01-01 00:00:00 UTC

std::string Stamp(long capture)
{
    const std::time_t when = kFirstCapture + capture * 7; // a capture every few seconds
    std::tm parts{};
    ::gmtime_r(&when, &parts);
    char name[32];
    std::strftime(name, sizeof name, "%Y%m%d%H%M%S", &parts);
    return name;
}

} // namespace

std::string SampleLog(long sections)
{
    std::string log;
    log.reserve(static_cast<std::size_t>(sections) * 96);
    for (long i = 0; i < sections; ++i)
        log += "[" + Stamp(i) + "]\r\nTEXT=https://example.org/articles/" + std::to_string(i) +
               "?ref=clipboard and a few words\r\n";
    return log;
}

std::string StampAfterSample(long sections, long n)
{
    return Stamp(sections + n);
}

} // namespace twk::bench
