#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace twk::logbrowser {

// The logs the program writes, by the name it gives them in a log folder.
enum class LogKind {
    ClipContinuous, // twk.txt: a section per copy, named by its time
    ClipPerCopy,    // 20261205_140307.txt: one "LogEntry" section
    ClipPerDay,     // 20261205.txt: a section per copy, named by its time
    LinkContinuous, // twkurl.txt: a section per day, a key per link named by its time
    LinkPerDay,     // u20261205.txt: a section per hour, a key per link named by minute and second
};

// A time as the logs name it, YYYYMMDDHHMMSS as one number; 0 when unknown.
using LogTime = std::int64_t;

struct LogFile {
    std::string path;
    std::string name;
    LogKind kind = LogKind::ClipContinuous;
    // The time the name gives: its day at midnight for a file per day, its
    // second for a file per copy; 0 for a continuous log.
    LogTime named = 0;
    // A file per copy saved in a second that already had one is "_2", "_3", ...
    int repeat = 0;
};

bool isLinkLog(LogKind kind);

// The log a file name names, if any (names compared without regard to case,
// as a log folder copied from Windows may hold "TWK.TXT").
std::optional<LogFile> logFileNamed(std::string_view name);

// Every log in a folder, newest first by the time its name gives (the
// continuous logs, which name none, last); an unreadable or missing folder
// has none.
std::vector<LogFile> logsInFolder(const std::string& folder);

// "2026-12-05 14:03:07", or as much of it as the time holds.
std::string shownTime(LogTime time);

// A date as "2026-12-05", "20261205", optionally with a time ("14:03",
// "14:03:07"), as a LogTime; nullopt for anything else.
std::optional<LogTime> parsedTime(std::string_view text);

} // namespace twk::logbrowser
