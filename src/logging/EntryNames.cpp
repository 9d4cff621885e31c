#include "logging/EntryNames.h"

namespace twk::logging {

std::string FreeEntryName(const std::string& stamped, const std::function<bool(const std::string&)>& taken)
{
    if (!taken(stamped))
        return stamped;
    // Ends: a file holds only so many names.
    for (unsigned long long counter = 2;; ++counter) {
        auto candidate = stamped + "_" + std::to_string(counter);
        if (!taken(candidate))
            return candidate;
    }
}

} // namespace twk::logging
