#include "ini/NameHashes.h"

namespace twk::ini {

std::uint64_t foldedHash(std::string_view name)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL; // FNV-1a
    for (const char c : name) {
        const auto folded = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        hash ^= static_cast<unsigned char>(folded);
        hash *= 0x100000001b3ULL;
    }
    // Mixed once more so that the low bits, which pick the slot, depend on
    // every character of names that differ only at the end.
    hash ^= hash >> 33;
    hash *= 0xff51afd7ed558ccdULL;
    hash ^= hash >> 33;
    return hash;
}

} // namespace twk::ini
