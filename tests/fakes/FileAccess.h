#pragma once

#include <string>

namespace twk::testing {

// Whether a file's permissions let in nobody but the user the tests run as
// (and, on Windows, the system itself).
bool readableByOwnerAlone(const std::string& path);

} // namespace twk::testing
