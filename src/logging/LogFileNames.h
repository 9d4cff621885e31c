#pragma once

#include "configuration/Settings.h"

#include <optional>
#include <string>

namespace twk::shell {
class Program;
}

namespace twk::logging {

// The clipboard log's file name (behind its folder) for the present stamps,
// or nothing when SaveType names no scheme.
std::optional<std::string> ClipLogName(const configuration::Settings& settings);
// The same for the link log and LinkSaveType.
std::optional<std::string> LinkLogName(const configuration::Settings& settings);
// A one-file-per-copy log's name for its entry name: the stamps "date_time",
// and a counter when a file of that name is there already.
std::string PerCopyLogName(const std::string& entryName);

// Names the current clipboard and link logs for this moment; creates nothing.
void MakeLogFileNames(shell::Program& program);

} // namespace twk::logging
