#include "logbrowser/Sections.h"

#include "ini/IniLines.h"
#include "logbrowser/LineBreaks.h"

#include <cstdint>
#include <cstring>

namespace twk::logbrowser {
namespace {

bool isBreak(char c)
{
    return c == '\r' || c == '\n';
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

// The section line whose "[" is at bracket, if that line is one. A line
// break's last byte always starts a line (a CR followed by more CRs and a LF
// is one break whose last byte is the LF).
std::optional<SectionLine> sectionLineAt(std::string_view bytes, std::size_t lineStart, std::size_t bracket)
{
    std::size_t begin = bracket;
    while (begin > lineStart && ini::isBlank(bytes[begin - 1]))
        --begin;
    if (begin != lineStart && !isBreak(bytes[begin - 1]))
        return std::nullopt;
    const auto end = findBreak(bytes, bracket);
    const auto name = ini::sectionName(bytes.substr(begin, end - begin));
    if (!name)
        return std::nullopt;
    return SectionLine{begin, lineAfter(bytes, end), *name};
}

constexpr std::size_t kLanes = 16;
using Lanes = std::uint8_t __attribute__((vector_size(kLanes)));

// The last "[" before end; npos when none. Sixteen bytes at a time: a hit is
// usually a few dozen bytes past its section line.
std::size_t lastBracket(const char* data, std::size_t end)
{
    Lanes brackets;
    std::memset(&brackets, '[', kLanes);
    for (; end >= kLanes; end -= kLanes) {
        Lanes block;
        std::memcpy(&block, data + end - kLanes, kLanes);
        const auto found = block == brackets;
        std::uint64_t halves[2];
        std::memcpy(halves, &found, kLanes);
        if ((halves[0] | halves[1]) != 0)
            break;
    }
    while (end-- > 0)
        if (data[end] == '[')
            return end;
    return std::string_view::npos;
}

} // namespace

std::optional<SectionLine> nextSectionLine(std::string_view bytes, std::size_t from)
{
    for (auto bracket = bytes.find('[', from); bracket != std::string_view::npos;
         bracket = bytes.find('[', bracket + 1))
        if (auto line = sectionLineAt(bytes, from, bracket))
            return line;
    return std::nullopt;
}

std::optional<SectionLine> sectionLineBefore(std::string_view bytes, std::size_t at)
{
    for (auto bracket = lastBracket(bytes.data(), std::min(at + 1, bytes.size())); bracket != std::string_view::npos;
         bracket = lastBracket(bytes.data(), bracket))
        if (auto line = sectionLineAt(bytes, 0, bracket))
            return line;
    return std::nullopt;
}

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

std::optional<Entry> sectionEntry(std::string_view bytes, std::uint64_t offset, const SectionLine& section,
                                  std::size_t regionEnd)
{
    // Blank lines and keys without a value are passed over, so the text
    // starts after the region's first "=", whatever line holds it.
    const auto region = bytes.substr(0, regionEnd);
    const auto equals = region.find('=', section.next);
    if (equals == std::string_view::npos)
        return std::nullopt;
    std::size_t line = equals;
    while (line > section.next && !isBreak(bytes[line - 1]))
        --line;
    return Entry{section.name, ini::nameIn(bytes.substr(line, equals - line)),
                 bytes.substr(equals + 1, regionEnd - equals - 1), offset + section.begin};
}

} // namespace twk::logbrowser
