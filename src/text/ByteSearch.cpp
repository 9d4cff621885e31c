#include "text/ByteSearch.h"

#include <cstdint>
#include <cstring>

namespace twk::text {
namespace {

constexpr std::size_t kLanes = 16;
// Sixteen bytes compared at once: the compilers this program is built with
// turn these into vector instructions where the machine has them. Vectors
// stay inside FindBytes: passed between functions they would depend on the
// machine's calling convention.
using Lanes = std::uint8_t __attribute__((vector_size(kLanes)));

} // namespace

std::size_t FindBytes(std::string_view haystack, std::string_view needle, std::size_t from)
{
    if (from > haystack.size() || needle.size() > haystack.size() - from)
        return std::string_view::npos;
    if (needle.empty())
        return from;
    const char* data = haystack.data();
    const std::size_t last = needle.size() - 1;
    const std::size_t end = haystack.size() - last; // one past the last place the needle can start
    const auto matchesAt = [&](std::size_t at) { return std::memcmp(data + at, needle.data(), needle.size()) == 0; };
    Lanes first;
    Lanes final;
    std::memset(&first, static_cast<unsigned char>(needle.front()), kLanes);
    std::memset(&final, static_cast<unsigned char>(needle.back()), kLanes);
    std::size_t at = from;
    for (; at + kLanes <= end; at += kLanes) {
        Lanes starts;
        Lanes ends;
        std::memcpy(&starts, data + at, kLanes);
        std::memcpy(&ends, data + at + last, kLanes);
        const auto both = (starts == first) & (ends == final);
        std::uint64_t halves[2];
        std::memcpy(halves, &both, kLanes);
        if ((halves[0] | halves[1]) == 0)
            continue;
        for (std::size_t lane = 0; lane < kLanes; ++lane)
            if (both[lane] && matchesAt(at + lane))
                return at + lane;
    }
    for (; at < end; ++at)
        if (data[at] == needle.front() && matchesAt(at))
            return at;
    return std::string_view::npos;
}

} // namespace twk::text
