#pragma once

#include <functional>
#include <string>

namespace twk::logging {

// A log entry is named by the moment it was taken, and two can share a moment
// (two captures in one second, a restart, the hour that repeats when daylight
// saving time ends). An entry never takes the place of one already written: a
// name that is taken gets "_" and a counter from 2 on, the first one free, so
// the date and time still read true at the front of the name.
std::string FreeEntryName(const std::string& stamped, const std::function<bool(const std::string&)>& taken);

} // namespace twk::logging
