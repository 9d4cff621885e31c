#include "logbrowser/AsciiFold.h"

#include <bit>
#include <cstdint>
#include <cstring>

namespace twk::logbrowser {
namespace {

constexpr std::size_t kLanes = 16;
static_assert(std::endian::native == std::endian::little, "lanes are read as the bytes of integers");
// Compilers turn these into vector instructions where the machine has them;
// they stay inside one function, as their calling convention varies.
using Lanes = std::uint8_t __attribute__((vector_size(kLanes)));

bool isLowerLetter(char c)
{
    return c >= 'a' && c <= 'z';
}

bool foldedEqual(const char* at, std::string_view needle)
{
    for (std::size_t i = 0; i < needle.size(); ++i)
        if (asciiFolded(at[i]) != needle[i])
            return false;
    return true;
}

} // namespace

std::size_t findAsciiFolded(std::string_view haystack, std::string_view needle, std::size_t from)
{
    if (from > haystack.size() || needle.size() > haystack.size() - from)
        return std::string_view::npos;
    if (needle.empty())
        return from;
    const char* data = haystack.data();
    const std::size_t last = needle.size() - 1;
    const std::size_t end = haystack.size() - last;
    // A letter's two cases differ only in the bit 0x20: setting it in the text
    // makes both cases the lower one, and nothing else becomes a letter.
    Lanes firstValue;
    Lanes firstMask;
    Lanes lastValue;
    Lanes lastMask;
    std::memset(&firstValue, static_cast<unsigned char>(needle.front()), kLanes);
    std::memset(&firstMask, isLowerLetter(needle.front()) ? 0x20 : 0, kLanes);
    std::memset(&lastValue, static_cast<unsigned char>(needle.back()), kLanes);
    std::memset(&lastMask, isLowerLetter(needle.back()) ? 0x20 : 0, kLanes);
    std::size_t at = from;
    for (; at + kLanes <= end; at += kLanes) {
        Lanes starts;
        Lanes ends;
        std::memcpy(&starts, data + at, kLanes);
        std::memcpy(&ends, data + at + last, kLanes);
        const auto both = ((starts | firstMask) == firstValue) & ((ends | lastMask) == lastValue);
        std::uint64_t halves[2];
        std::memcpy(halves, &both, kLanes);
        if ((halves[0] | halves[1]) == 0)
            continue;
        // Only the lanes where both bytes agree are compared, in order (lane 0
        // is the low byte of the first half).
        for (std::size_t half = 0; half < 2; ++half)
            for (auto lanes = halves[half]; lanes != 0;) {
                const auto byte = static_cast<std::size_t>(std::countr_zero(lanes)) / 8;
                if (foldedEqual(data + at + half * 8 + byte, needle))
                    return at + half * 8 + byte;
                lanes &= ~(std::uint64_t{0xFF} << (byte * 8));
            }
    }
    for (; at < end; ++at)
        if (foldedEqual(data + at, needle))
            return at;
    return std::string_view::npos;
}

} // namespace twk::logbrowser
