#include "configuration/NameHashes.h"

namespace twk::configuration {
namespace {

// The free-slot marker is never a stored hash.
std::uint64_t stored(std::uint64_t hash)
{
    return hash == 0 ? 1 : hash;
}

} // namespace

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

bool NameHashSet::insert(std::uint64_t hash)
{
    if ((count_ + 1) * 10 > slots_.size() * 7)
        grow();
    hash = stored(hash);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        if (slots_[i] == hash)
            return false;
        if (slots_[i] == 0) {
            slots_[i] = hash;
            ++count_;
            return true;
        }
    }
}

bool NameHashSet::contains(std::uint64_t hash) const
{
    if (slots_.empty())
        return false;
    hash = stored(hash);
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask; slots_[i] != 0; i = (i + 1) & mask)
        if (slots_[i] == hash)
            return true;
    return false;
}

void NameHashSet::grow()
{
    std::vector<std::uint64_t> old(slots_.empty() ? 16 : slots_.size() * 2, 0);
    old.swap(slots_);
    count_ = 0;
    for (const auto hash : old)
        if (hash != 0)
            insert(hash);
}

} // namespace twk::configuration
