#pragma once

#include <cstdio>
#include <string>

namespace twk::testing {

struct LogWriterEntry {
    std::string section;
    std::string key;
    std::string value;
    std::string firstLine; // what reading the value gives
};

// Entry n of the crash-safety log: mostly a new section each (appended),
// every 16th a new key in the first section (the whole file rewritten), and
// some values over two lines.
inline LogWriterEntry logWriterEntry(long n)
{
    char section[32];
    std::snprintf(section, sizeof section, "E%08ld", n);
    LogWriterEntry entry;
    entry.firstLine = "entry " + std::to_string(n);
    entry.value = n % 5 == 0 ? entry.firstLine + "\r\nsecond line of it" : entry.firstLine;
    if (n > 0 && n % 16 == 0) {
        entry.section = "E00000000";
        entry.key = "K" + std::to_string(n);
    } else {
        entry.section = section;
        entry.key = "TEXT";
    }
    return entry;
}

// The viewer's text after entry n, as the append file mirrors it: each
// entry adds a line, and every 16th starts the text afresh (a cleared
// viewer), so that the file is appended to and rewritten in turn.
inline std::string appendFileText(long n)
{
    std::string text = "cleared at " + std::to_string(n - n % 16);
    for (long i = n - n % 16; i <= n; ++i)
        text += "\r\nentry " + std::to_string(i);
    return text;
}

} // namespace twk::testing
