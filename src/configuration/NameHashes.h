#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace twk::configuration {

// A 64-bit hash of a name as the private-profile rules compare names:
// without regard to ASCII letter case.
std::uint64_t foldedHash(std::string_view name);

// A set of such hashes, flat in memory: a log of a million sections costs
// 16 MB here, not the hundreds of a set of strings.
class NameHashSet {
public:
    // False when the hash was there already.
    bool insert(std::uint64_t hash);
    bool contains(std::uint64_t hash) const;
    std::size_t size() const { return count_; }

private:
    void grow();
    std::vector<std::uint64_t> slots_; // 0 marks a free slot
    std::size_t count_ = 0;
};

} // namespace twk::configuration
