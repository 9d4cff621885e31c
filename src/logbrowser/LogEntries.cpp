#include "logbrowser/LogEntries.h"

#include "ini/IniLines.h"
#include "logbrowser/LineBreaks.h"
#include "logbrowser/MarkedLogs.h"
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

// A line break's first byte ends a line unless it is a CR that more CRs and a
// LF follow: those are one break, as the line rules read them.
bool isBreak(char c)
{
    return c == '\r' || c == '\n';
}

// The bytes without the line break the writer put after a value: LF, CR LF
// or CR. More CRs before it belong to the text (a text that ended in CR),
// as the engine's reader of entries gives them back.
std::size_t beforeBreak(std::string_view bytes, std::size_t end)
{
    if (end > 0 && bytes[end - 1] == '\n') {
        --end;
        if (end > 0 && bytes[end - 1] == '\r')
            --end;
    } else if (end > 0 && bytes[end - 1] == '\r') {
        --end;
    }
    return end;
}

std::size_t lineEnd(std::string_view bytes, std::size_t from)
{
    return findBreak(bytes, from);
}

// Where the line after the one that ends at `end` starts.
std::size_t lineAfter(std::string_view bytes, std::size_t end)
{
    if (end >= bytes.size())
        return bytes.size();
    if (bytes[end] == '\n')
        return end + 1;
    const auto notCr = bytes.find_first_not_of('\r', end);
    if (notCr != std::string_view::npos && bytes[notCr] == '\n')
        return notCr + 1;
    return end + 1;
}

struct SectionLine {
    std::size_t begin;
    std::size_t next; // where the line after it starts
    std::string_view name;
};

// The next section line at or after from (a line start): only lines whose
// first byte other than a blank is "[" are read, so the text between section
// lines is passed over at the speed of a byte search.
std::optional<SectionLine> nextSectionLine(std::string_view bytes, std::size_t from)
{
    std::size_t at = from;
    while (true) {
        const auto bracket = bytes.find('[', at);
        if (bracket == std::string_view::npos)
            return std::nullopt;
        std::size_t begin = bracket;
        while (begin > from && ini::isBlank(bytes[begin - 1]))
            --begin;
        if (begin == from || isBreak(bytes[begin - 1])) {
            const auto end = lineEnd(bytes, bracket);
            if (const auto name = ini::sectionName(bytes.substr(begin, end - begin)))
                return SectionLine{begin, lineAfter(bytes, end), *name};
        }
        at = bracket + 1;
    }
}

// A clipboard log's entries: each section's text runs from its first key
// line's value to the line before the next section line.
void readTexts(std::string_view bytes, std::uint64_t offset, PieceEntries& into)
{
    auto section = nextSectionLine(bytes, 0);
    into.leading = bytes.substr(0, beforeBreak(bytes, section ? section->begin : bytes.size()));
    while (section) {
        auto following = nextSectionLine(bytes, section->next);
        const std::size_t regionEnd = beforeBreak(bytes, following ? following->begin : bytes.size());
        std::size_t line = section->next;
        while (line < regionEnd) {
            const auto end = lineEnd(bytes.substr(0, regionEnd), line);
            const auto key = ini::keyLine(bytes.substr(line, end - line));
            if (key && key->value) {
                // The text as the writer wrote it: every byte after the "=", blanks included.
                const auto textBegin = line + bytes.substr(line, end - line).find('=') + 1;
                const auto text = bytes.substr(textBegin, regionEnd - textBegin);
                into.entries.push_back(Entry{section->name, key->key, text, offset + section->begin});
                break;
            }
            line = lineAfter(bytes, end);
        }
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
