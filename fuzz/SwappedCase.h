#pragma once

#include <string>
#include <string_view>

namespace twk::fuzz {

// The text with every ASCII letter in the other case: whatever is compared
// without regard to case must not see the difference.
inline std::string swappedCase(std::string_view text)
{
    std::string swapped(text);
    for (char& c : swapped) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
        else if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return swapped;
}

} // namespace twk::fuzz
