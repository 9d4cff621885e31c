#pragma once

#include "logbrowser/LogFiles.h"
#include "platform/FileSystem.h"

#include <optional>
#include <vector>

namespace twk::logbrowser {

// What became of the logs of a folder since they were last read.
struct LogChanges {
    std::vector<std::size_t> grown; // same file, longer: only the new bytes need reading
    std::vector<LogFile> added;     // new files
    bool other = false;             // shrunk, replaced, edited or gone: read everything again
    bool any() const { return other || !grown.empty() || !added.empty(); }
};

// The logs that can still grow: the continuous ones and the newest file per
// day of each kind (a file per copy is written once). A look at the logs
// stamps only these, so it costs a few calls however many logs there are.
std::vector<std::size_t> growingLogs(const std::vector<LogFile>& logs);

// Compares the stamps a search started from with the present ones (same
// order), and the present listing of the folder (nullopt when the folder was
// not listed again) with the known logs.
LogChanges logChanges(const std::vector<LogFile>& known, const std::vector<std::optional<platform::FileStamp>>& was,
                      const std::vector<std::optional<platform::FileStamp>>& now,
                      const std::optional<std::vector<LogFile>>& listed);

} // namespace twk::logbrowser
