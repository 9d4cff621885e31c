#include "logbrowser/LogEntries.h"

#include "configuration/IniLines.h"
#include "platform/FileSystem.h"

#include <algorithm>
#include <span>

namespace twk::logbrowser {
namespace ini = configuration::ini;

namespace {

std::uint64_t indexIn(std::string_view bytes, std::string_view part)
{
    return static_cast<std::uint64_t>(part.data() - bytes.data());
}

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

void readEntries(std::string_view bytes, std::uint64_t offset, bool links, PieceEntries& into)
{
    into.entries.clear();
    into.leading = {};
    ini::Lines lines(bytes);
    ini::Line line;
    bool inSection = false;
    std::string_view section;
    // A clipboard entry being read: its text runs on to the last line before the next section.
    Entry open;
    bool hasOpen = false;
    bool hasText = false;
    std::size_t textBegin = 0;
    std::size_t lastEnd = 0;
    std::size_t leadingEnd = 0;
    bool hasLeading = false;
    const auto closeOpen = [&] {
        if (hasOpen && hasText) {
            open.text = bytes.substr(textBegin, std::max(lastEnd, textBegin) - textBegin);
            into.entries.push_back(open);
        }
        hasOpen = false;
        hasText = false;
    };
    while (lines.next(line)) {
        const auto text = lines.text(line);
        if (const auto name = ini::sectionName(text)) {
            closeOpen();
            inSection = true;
            section = *name;
            if (!links) {
                open = Entry{section, {}, {}, offset + line.begin};
                hasOpen = true;
            }
            continue;
        }
        if (!inSection) {
            leadingEnd = line.end;
            hasLeading = true;
        }
        if (links) {
            const auto key = ini::keyLine(text);
            if (key && key->value)
                into.entries.push_back(
                    Entry{inSection ? section : std::string_view{}, key->key, *key->value, offset + line.begin});
            continue;
        }
        if (!hasOpen)
            continue;
        if (!hasText) {
            const auto key = ini::keyLine(text);
            if (!key || !key->value)
                continue; // a blank or damaged line before the text
            open.key = key->key;
            textBegin = indexIn(bytes, *key->value);
            lastEnd = textBegin + key->value->size();
            hasText = true;
            continue;
        }
        lastEnd = line.end;
    }
    closeOpen();
    if (hasLeading && !links)
        into.leading = bytes.substr(0, leadingEnd);
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
