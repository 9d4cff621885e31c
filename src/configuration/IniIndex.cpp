#include "configuration/IniIndex.h"

#include "configuration/IniLines.h"
#include "configuration/IniText.h"
#include "text/Characters.h"

#include <algorithm>

namespace twk::configuration {
namespace {

constexpr std::string_view kLineEnd = "\r\n";

} // namespace

IniIndex::IniIndex(std::string_view content)
{
    scan(content);
}

void IniIndex::scan(std::string_view text)
{
    ini::Lines lines(text);
    ini::Line line;
    while (lines.next(line)) {
        const auto current = lines.text(line);
        if (const auto name = ini::sectionName(current)) {
            lastSectionIsFirst_ = sections_.insert(foldedHash(*name));
            if (lastSectionIsFirst_) {
                lastSection_.assign(*name);
                lastSectionKeys_.clear();
            }
            inSection_ = true;
            lastLineBlank_ = false;
            continue;
        }
        lastLineBlank_ = ini::trimmed(current).empty();
        if (inSection_ && lastSectionIsFirst_)
            if (const auto entry = ini::keyLine(current))
                lastSectionKeys_.push_back(foldedHash(entry->key));
    }
    if (!text.empty()) {
        empty_ = false;
        endsWithBreak_ = ini::endsWithLineBreak(text);
    }
}

std::optional<std::string> IniIndex::appendedText(std::string_view section, std::string_view key,
                                                  std::string_view value) const
{
    if (!sections_.contains(foldedHash(section))) {
        // newSectionText looks only at whether the content is empty and at its last byte.
        const std::string_view end = empty_ ? "" : endsWithBreak_ ? "\n" : " ";
        return ini::newSectionText(end, section, key, value);
    }
    // A missing key goes after the last non-blank line of the first section
    // of its name: the end of the file when that section is the last one and
    // no blank lines follow it.
    if (!inSection_ || !lastSectionIsFirst_ || lastLineBlank_ || !text::equalsIgnoringAsciiCase(lastSection_, section))
        return std::nullopt;
    const auto keyHash = foldedHash(key);
    if (std::find(lastSectionKeys_.begin(), lastSectionKeys_.end(), keyHash) != lastSectionKeys_.end())
        return std::nullopt;
    std::string added;
    added.reserve(kLineEnd.size() * 2 + key.size() + 1 + value.size());
    if (!endsWithBreak_)
        added += kLineEnd;
    added.append(key);
    added += '=';
    added.append(value);
    added += kLineEnd;
    return added;
}

void IniIndex::appended(std::string_view text)
{
    // The file's unfinished last line was taken in already; the line break
    // that finishes it changes nothing of it.
    auto rest = text;
    if (!empty_ && !endsWithBreak_ && rest.starts_with(kLineEnd))
        rest.remove_prefix(kLineEnd.size());
    scan(rest);
    if (!text.empty()) {
        empty_ = false;
        endsWithBreak_ = ini::endsWithLineBreak(text);
    }
}

} // namespace twk::configuration
