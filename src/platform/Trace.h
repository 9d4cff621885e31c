#pragma once

#include <functional>
#include <string>

namespace twk::platform {

// Failures that the program's rules pass over in silence (an INI write, a
// clipboard owner given up on, an append file, the keeper) are told here, one
// line each with its cause. With TWK_DEBUG=1 in the environment the lines go
// to stderr; otherwise nowhere.
void trace(const std::string& line);

// Where traced lines go from now on; an empty sink restores the rule above.
// For tests, which collect the lines.
using TraceSink = std::function<void(const std::string& line)>;
void setTraceSink(TraceSink sink);

// The system's reason for the last failed call on this thread ("No space left
// on device"), for a traced line; empty when it gives none.
std::string lastSystemError();

} // namespace twk::platform
