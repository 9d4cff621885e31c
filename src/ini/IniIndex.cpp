#include "ini/IniIndex.h"

#include "ini/IniLines.h"
#include "ini/IniScan.h"
#include "ini/IniText.h"
#include "ini/NameHashes.h"
#include "text/Characters.h"

#include <algorithm>

namespace twk::ini {
namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kMostKeys = 1 << 16;
constexpr std::size_t kLongestKeyHashed = 4096;

} // namespace

std::optional<IniIndex> IniIndex::of(platform::FileSystem& files, const std::string& path, std::size_t heldLine)
{
    IniIndex index;
    IniScan scan(files, path, 0, heldLine);
    ScannedLine line;
    std::optional<ScannedLine> last;
    while (scan.nextSection(line)) {
        if (line.nameEnd - line.nameBegin <= SectionNameBounds::kLongestName) {
            const auto name = scan.bytes(line.nameBegin, line.nameEnd);
            if (!name)
                return std::nullopt;
            index.names_.add(*name);
        }
        last = line;
    }
    const auto stamp = files.stamp(path);
    if (scan.failed() || !stamp)
        return std::nullopt;
    index.empty_ = stamp->size == 0;
    if (!index.empty_) {
        const auto end = files.readRange(path, stamp->size - 1, 1);
        if (!end || end->size() != 1)
            return std::nullopt;
        index.endsWithBreak_ = ini::endsWithLineBreak(*end);
    }
    if (!last)
        return index;

    index.hasLastSection_ = true;
    if (last->nameEnd - last->nameBegin <= SectionNameBounds::kLongestName) {
        index.lastSection_ = scan.bytes(last->nameBegin, last->nameEnd);
        IniScan earlier(files, path, 0, heldLine);
        ScannedLine first;
        if (index.lastSection_ && earlier.nextSectionNamed(*index.lastSection_, first))
            index.lastSectionIsFirst_ = first.begin == last->begin;
    }
    IniScan body(files, path, last->next, heldLine);
    std::uint64_t lastLineNext = last->next;
    while (body.next(line)) {
        if (line.key) {
            const auto key = line.keyEnd - line.keyBegin <= kLongestKeyHashed ? body.bytes(line.keyBegin, line.keyEnd)
                                                                              : std::nullopt;
            if (key && index.lastSectionKeys_.size() < kMostKeys)
                index.lastSectionKeys_.push_back(foldedHash(*key));
            else
                index.keysComplete_ = false;
        }
        if (!line.blank)
            lastLineNext = line.next;
    }
    if (body.failed())
        return std::nullopt;
    index.lastSectionEndsFile_ = lastLineNext == stamp->size;
    return index;
}

IniIndex::IniIndex(std::string_view content)
{
    scanAppended(content);
}

IniIndex::Answer IniIndex::answer(std::string_view section, std::string_view key, std::string_view value) const
{
    if (names_.surelyAbsent(section)) {
        // newSectionText looks only at whether the content is empty and at its last byte.
        const std::string_view end = empty_ ? "" : endsWithBreak_ ? "\n" : " ";
        return {Verdict::Append, ini::newSectionText(end, section, key, value)};
    }
    if (!hasLastSection_ || !lastSection_ || !text::equalsIgnoringAsciiCase(*lastSection_, section))
        return {Verdict::Unsure, {}};
    // A missing key goes after the last non-blank line of the first section
    // of its name: the end of the file when that section is the last one and
    // no blank lines follow it.
    if (lastSectionIsFirst_ != true || !keysComplete_)
        return {Verdict::Unsure, {}};
    const auto keyHash = foldedHash(key);
    if (!lastSectionEndsFile_ ||
        std::find(lastSectionKeys_.begin(), lastSectionKeys_.end(), keyHash) != lastSectionKeys_.end())
        return {Verdict::Rewrite, {}};
    std::string added;
    added.reserve(kLineEnd.size() * 2 + key.size() + 1 + value.size());
    if (!endsWithBreak_)
        added += kLineEnd;
    added.append(key);
    added += '=';
    added.append(value);
    added += kLineEnd;
    return {Verdict::Append, std::move(added)};
}

void IniIndex::appended(std::string_view text)
{
    // The file's unfinished last line was taken in already; the line break
    // that finishes it changes nothing of it.
    auto rest = text;
    if (!empty_ && !endsWithBreak_ && rest.starts_with(kLineEnd))
        rest.remove_prefix(kLineEnd.size());
    scanAppended(rest);
}

void IniIndex::newLastSection(std::string_view name, bool first)
{
    hasLastSection_ = true;
    if (name.size() <= SectionNameBounds::kLongestName)
        lastSection_ = std::string(name);
    else
        lastSection_.reset();
    lastSectionIsFirst_ = first ? std::optional<bool>(true) : std::nullopt;
    lastSectionKeys_.clear();
    keysComplete_ = true;
    lastSectionEndsFile_ = true;
}

void IniIndex::scanAppended(std::string_view text)
{
    ini::Lines lines(text);
    ini::Line line;
    while (lines.next(line)) {
        const auto current = lines.text(line);
        if (const auto name = ini::sectionName(current)) {
            const bool first = names_.surelyAbsent(*name);
            names_.add(*name);
            newLastSection(*name, first);
            continue;
        }
        const bool blank = ini::trimmed(current).empty();
        if (hasLastSection_) {
            if (const auto entry = ini::keyLine(current)) {
                if (lastSectionKeys_.size() < kMostKeys)
                    lastSectionKeys_.push_back(foldedHash(entry->key));
                else
                    keysComplete_ = false;
            }
            lastSectionEndsFile_ = !blank;
        }
    }
    if (!text.empty()) {
        empty_ = false;
        endsWithBreak_ = ini::endsWithLineBreak(text);
    }
}

} // namespace twk::ini
