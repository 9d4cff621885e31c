#include "logbrowser/LogEntries.h"

#include "ini/IniLines.h"
#include "logbrowser/MarkedLogs.h"
#include "logbrowser/Sections.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <span>

namespace twk::logbrowser {

namespace {

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

LogTime number(std::string_view digits)
{
    LogTime value = 0;
    for (const char c : digits)
        value = value * 10 + (c - '0');
    return value;
}

// "20261205140307" or "20261205140307_2"; 0 for another name.
LogTime sectionStamp(std::string_view name)
{
    if (name.size() < 14 || !allDigits(name.substr(0, 14)))
        return 0;
    const auto rest = name.substr(14);
    if (!rest.empty() && (rest.front() != '_' || !allDigits(rest.substr(1))))
        return 0;
    return number(name.substr(0, 14));
}

// A key named by digits, or by digits and a repeat ("140307_2").
std::string_view keyDigits(std::string_view key)
{
    return key.substr(0, key.find('_'));
}

} // namespace

namespace {

// A clipboard log's entries: each section's text runs from its first key
// line's value to the line before the next section line.
void readTexts(std::string_view bytes, std::uint64_t offset, PieceEntries& into)
{
    auto section = nextSectionLine(bytes, 0);
    into.leading = bytes.substr(0, beforeBreak(bytes, section ? section->begin : bytes.size()));
    while (section) {
        auto following = nextSectionLine(bytes, section->next);
        if (auto entry =
                sectionEntry(bytes, offset, *section, beforeBreak(bytes, following ? following->begin : bytes.size())))
            into.entries.push_back(*entry);
        section = following;
    }
}

// A link log's entries: a key line each.
void readLinks(std::string_view bytes, std::uint64_t offset, PieceEntries& into)
{
    ini::Lines lines(bytes);
    ini::Line line;
    std::string_view section;
    bool inSection = false;
    while (lines.next(line)) {
        const auto text = lines.text(line);
        if (const auto name = ini::sectionName(text)) {
            section = *name;
            inSection = true;
            continue;
        }
        const auto key = ini::keyLine(text);
        if (key && key->value)
            into.entries.push_back(Entry{inSection ? section : std::string_view{}, key->key,
                                         text.substr(text.find('=') + 1), offset + line.begin});
    }
}

} // namespace

void readEntries(std::string_view bytes, std::uint64_t offset, bool links, PieceEntries& into)
{
    into.entries.clear();
    into.leading = {};
    if (links)
        readLinks(bytes, offset, into);
    else
        readTexts(bytes, offset, into);
}

LogTime entryTime(const LogFile& file, const Entry& entry)
{
    switch (file.kind) {
    case LogKind::ClipContinuous:
    case LogKind::ClipPerDay:
        if (const auto stamp = sectionStamp(entry.section))
            return stamp;
        return file.named;
    case LogKind::ClipPerCopy:
        return file.named;
    case LogKind::LinkContinuous: {
        const auto key = keyDigits(entry.key);
        if (entry.section.size() == 8 && allDigits(entry.section) && key.size() == 6 && allDigits(key))
            return number(entry.section) * 1000000 + number(key);
        return 0;
    }
    case LogKind::LinkPerDay: {
        const auto key = keyDigits(entry.key);
        if (entry.section.size() == 2 && allDigits(entry.section) && key.size() == 4 && allDigits(key))
            return file.named + number(entry.section) * 10000 + number(key);
        return file.named;
    }
    }
    return 0;
}

} // namespace twk::logbrowser

namespace twk::logbrowser {

std::optional<EntryText> readEntryText(platform::FileSystem& files, const LogFile& file, std::uint64_t offset,
                                       std::size_t limit)
{
    const bool links = isLinkLog(file.kind);
    if (const auto text = decodedUtf16Log(files, file.path)) {
        if (offset >= text->size())
            return std::nullopt;
        PieceEntries read;
        readEntries(std::string_view(*text).substr(offset), offset, links, read);
        if (read.entries.empty() || read.entries.front().offset != offset)
            return std::nullopt;
        const auto whole = read.entries.front().text;
        return EntryText{std::string(whole.substr(0, limit)), whole.size() > limit};
    }
    std::size_t want = 64 << 10;
    std::string bytes;
    PieceEntries read;
    while (true) {
        const auto wanted = want + 1; // one byte more tells whether the file goes on
        bytes.resize(wanted);
        const auto got = files.readInto(file.path, offset, std::span<char>(bytes.data(), wanted));
        if (!got)
            return std::nullopt;
        bytes.resize(*got);
        const bool whole = *got < wanted;
        readEntries(bytes, offset, links, read);
        if (!read.entries.empty() && read.entries.front().offset != offset)
            return std::nullopt;
        if (read.entries.empty()) {
            if (whole || want >= limit)
                return std::nullopt;
            want = std::min(want * 4, limit);
            continue;
        }
        // The entry is known whole once another follows it or the file ends.
        if (whole || read.entries.size() > 1 || links)
            return EntryText{std::string(read.entries.front().text), false};
        if (want >= limit)
            return EntryText{std::string(read.entries.front().text.substr(0, limit)), true};
        want = std::min(want * 4, limit);
    }
}

} // namespace twk::logbrowser
