#include "ini/IniText.h"

#include "ini/IniLines.h"
#include "text/Characters.h"

namespace twk::ini {
namespace {

bool sameName(std::string_view a, std::string_view b)
{
    return text::equalsIgnoringAsciiCase(a, b);
}

std::string_view unquoted(std::string_view value)
{
    const bool quote = !value.empty() && (value.front() == '"' || value.front() == '\'');
    if (quote && value.size() >= 2 && value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

// Where the first section of a name stands: the line after its header, and
// the end of its last non-blank line (including its line break).
struct SectionSpan {
    std::size_t bodyBegin = 0;
    std::size_t lastLineNext = 0;
    bool lastLineHasBreak = true;
};

} // namespace

std::optional<std::string> findValue(std::string_view content, std::string_view section, std::string_view key)
{
    Lines lines(content);
    Line line;
    bool inside = false;
    while (lines.next(line)) {
        const auto text = lines.text(line);
        if (const auto name = sectionName(text)) {
            if (inside)
                return std::nullopt; // only the first section of the name counts
            inside = sameName(*name, section);
            continue;
        }
        if (!inside)
            continue;
        if (const auto entry = keyLine(text); entry && sameName(entry->key, key)) {
            if (!entry->value)
                return std::nullopt; // a key without a value reads as none
            return std::string(unquoted(*entry->value));
        }
    }
    return std::nullopt;
}

bool hasSection(std::string_view content, std::string_view section)
{
    Lines lines(content);
    Line line;
    while (lines.next(line))
        if (const auto name = sectionName(lines.text(line)); name && sameName(*name, section))
            return true;
    return false;
}

AroundValue newSectionAround(std::string_view contentEnd, std::string_view section, std::string_view key,
                             std::string_view lineBreak)
{
    AroundValue around;
    if (!contentEnd.empty() && !endsWithLineBreak(contentEnd))
        around.before += lineBreak;
    around.before += '[';
    around.before += section;
    around.before += ']';
    around.before += lineBreak;
    around.before += key;
    around.before += '=';
    around.after = lineBreak;
    return around;
}

std::string newSectionText(std::string_view contentEnd, std::string_view section, std::string_view key,
                           std::string_view value, std::string_view lineBreak)
{
    const auto around = newSectionAround(contentEnd, section, key, lineBreak);
    std::string added;
    added.reserve(around.before.size() + value.size() + around.after.size());
    added += around.before;
    added += value;
    added += around.after;
    return added;
}

std::string withValue(std::string_view content, std::string_view section, std::string_view key, std::string_view value,
                      std::string_view lineBreak)
{
    Lines lines(content);
    Line line;
    std::optional<SectionSpan> span;
    while (lines.next(line)) {
        const auto text = lines.text(line);
        if (const auto name = sectionName(text)) {
            if (span)
                break;
            if (sameName(*name, section))
                span = SectionSpan{line.next, line.next, line.end != line.next};
            continue;
        }
        if (!span)
            continue;
        if (const auto entry = keyLine(text); entry && sameName(entry->key, key)) {
            std::string result;
            result.reserve(content.size() + value.size());
            result.append(content.substr(0, line.begin));
            result.append(entry->key);
            result += '=';
            result.append(value);
            result.append(content.substr(line.end));
            return result;
        }
        if (!trimmed(text).empty()) {
            span->lastLineNext = line.next;
            span->lastLineHasBreak = line.end != line.next;
        }
    }

    if (!span) {
        std::string result(content);
        result += newSectionText(content, section, key, value, lineBreak);
        return result;
    }

    std::string inserted;
    if (!span->lastLineHasBreak)
        inserted += lineBreak;
    inserted.append(key);
    inserted += '=';
    inserted.append(value);
    inserted += lineBreak;

    std::string result;
    result.reserve(content.size() + inserted.size());
    result.append(content.substr(0, span->lastLineNext));
    result += inserted;
    result.append(content.substr(span->lastLineNext));
    return result;
}

} // namespace twk::ini
