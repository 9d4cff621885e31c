#pragma once

#include <cstdint>
#include <string_view>

namespace twk::ini {

// A 64-bit hash of a name as the private-profile rules compare names:
// without regard to ASCII letter case.
std::uint64_t foldedHash(std::string_view name);

} // namespace twk::ini
