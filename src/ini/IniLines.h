#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// How the private-profile format splits a file into lines, section lines and
// key lines. The reader, the writer and the write index all see a file
// through these rules, so they can never disagree about it.
namespace twk::ini {

// Blanks as the system counts them: space, tab, vertical tab, form feed, and
// the old end-of-file mark ^Z some editors leave behind.
inline bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1A';
}

// Names and values end at a NUL, as the strings of the system's calls do.
inline std::string_view beforeNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

inline std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A section or key name: no blanks at either end, also where a NUL cut it short.
inline std::string_view nameIn(std::string_view text)
{
    return trimmed(beforeNul(text));
}

// One line of the file: [begin, end) without its line break, next is where the
// following line starts.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

// Lines end at a line feed, a CR LF or a CR alone: files saved with CR line
// ends, and CR LF files passed once more through a text-mode writer (CR CR
// LF), read as the system reads them. A last line without a break is a
// line all the same.
class Lines {
public:
    explicit Lines(std::string_view content) : content_(content), feed_(content.find('\n')) {}

    bool next(Line& line)
    {
        if (position_ >= content_.size())
            return false;
        // The next line feed is looked for once for all the CRs before it.
        if (feed_ != std::string_view::npos && feed_ < position_)
            feed_ = content_.find('\n', position_);
        const auto lineLimit = feed_ == std::string_view::npos ? content_.size() : feed_;
        const auto carriageReturn = content_.substr(0, lineLimit).find('\r', position_);
        line.begin = position_;
        if (carriageReturn != std::string_view::npos) {
            line.end = carriageReturn;
            const bool crsThenFeed =
                feed_ != std::string_view::npos && content_.find_first_not_of('\r', carriageReturn) == feed_;
            line.next = crsThenFeed ? feed_ + 1 : carriageReturn + 1;
        } else if (feed_ == std::string_view::npos) {
            line.end = content_.size();
            line.next = content_.size();
        } else {
            line.end = feed_;
            line.next = feed_ + 1;
        }
        position_ = line.next;
        return true;
    }

    std::string_view text(const Line& line) const { return content_.substr(line.begin, line.end - line.begin); }

private:
    std::string_view content_;
    std::size_t position_ = 0;
    std::size_t feed_;
};

inline bool endsWithLineBreak(std::string_view content)
{
    return !content.empty() && (content.back() == '\n' || content.back() == '\r');
}

// The section a line opens, if it is a section line.
inline std::optional<std::string_view> sectionName(std::string_view line)
{
    const auto text = trimmed(line);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const auto close = text.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return nameIn(text.substr(1, close - 1));
}

// A line without "=" names a key without a value: it hides a later line of
// the same key, and a write gives it a value in place.
struct KeyLine {
    std::string_view key;
    std::optional<std::string_view> value;
};

// The key line that a line is, unless it is blank; section lines are tested first.
inline std::optional<KeyLine> keyLine(std::string_view line)
{
    const auto text = trimmed(line);
    if (text.empty())
        return std::nullopt;
    const auto equals = text.find('=');
    if (equals == std::string_view::npos)
        return KeyLine{nameIn(text), std::nullopt};
    return KeyLine{nameIn(text.substr(0, equals)), beforeNul(trimmed(text.substr(equals + 1)))};
}

} // namespace twk::ini
