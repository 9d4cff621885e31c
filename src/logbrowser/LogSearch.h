#pragma once

#include "logbrowser/LogFiles.h"
#include "logbrowser/Matcher.h"
#include "platform/FileSystem.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <string_view>
#include <vector>

namespace twk::logbrowser {

struct Hit {
    std::size_t file = 0; // index into the scope's files
    std::uint64_t offset = 0;
    LogTime time = 0;
    std::string_view section;
    std::string_view key;
    std::string_view text; // valid during the call that hands it over
};

struct SearchScope {
    std::vector<LogFile> files; // as logsInFolder gives them
    // A file whose entries all come before the others' (the log the browser was opened on).
    std::optional<std::size_t> first;
    // Entries older than this are left out; 0 keeps all.
    LogTime since = 0;
    // Per file, where to start reading (a log that grew since it was last
    // read); missing or 0: from its start.
    std::vector<std::uint64_t> from;
    // Per file, where to stop reading (its size when it was last looked at,
    // so that a second look reads only what came after); missing or 0: its
    // size when it is opened.
    std::vector<std::uint64_t> to;
    // Only these files (by index); empty: every file.
    std::vector<std::size_t> only;
    // How much of a log is read at a time, and the most one entry may make it
    // (BackwardPieces).
    std::size_t piece = 1 << 20;
    std::size_t longestPiece = 16 << 20;
    // Threads that match pieces side by side (one reads them as well).
    unsigned workers = 2;
};

// Hands every entry the matcher accepts to found, newest first: the logs of
// one kind are read newest file first, each from its end back, and the kinds
// are merged by their entries' times. Reads each log as it stands, without
// changing it; memory stays at a piece per kind of log. found returns false
// to stop. Returns false when stopped (by found or the token).
bool searchLogs(platform::FileSystem& files, const SearchScope& scope, const Matcher& matcher,
                const std::function<bool(const Hit&)>& found, std::stop_token stop = {},
                std::atomic<std::uint64_t>* bytesRead = nullptr);

} // namespace twk::logbrowser
