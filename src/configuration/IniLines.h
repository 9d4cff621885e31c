#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// How the private-profile format splits a file into lines, section lines and
// key lines. The reader, the writer and the write index all see a file
// through these rules, so they can never disagree about it.
namespace twk::configuration::ini {

inline bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

inline std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// One line of the file: [begin, end) without its line break, next is where the
// following line starts.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
};

// Lines end at a line feed; a carriage return just before it belongs to the
// break. A last line without a break is a line all the same.
class Lines {
public:
    explicit Lines(std::string_view content) : content_(content) {}

    bool next(Line& line)
    {
        if (position_ >= content_.size())
            return false;
        line.begin = position_;
        const auto feed = content_.find('\n', position_);
        if (feed == std::string_view::npos) {
            line.end = content_.size();
            line.next = content_.size();
        } else {
            line.end = (feed > position_ && content_[feed - 1] == '\r') ? feed - 1 : feed;
            line.next = feed + 1;
        }
        position_ = line.next;
        return true;
    }

    std::string_view text(const Line& line) const { return content_.substr(line.begin, line.end - line.begin); }

private:
    std::string_view content_;
    std::size_t position_ = 0;
};

// The section a line opens, if it is a section line.
inline std::optional<std::string_view> sectionName(std::string_view line)
{
    const auto text = trimmed(line);
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const auto close = text.rfind(']');
    if (close == std::string_view::npos || close == 0)
        return std::nullopt;
    return trimmed(text.substr(1, close - 1));
}

struct KeyLine {
    std::string_view key;
    std::string_view value;
};

// A key line, if the line is one; section lines are tested first.
inline std::optional<KeyLine> keyLine(std::string_view line)
{
    const auto equals = line.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return KeyLine{trimmed(line.substr(0, equals)), trimmed(line.substr(equals + 1))};
}

} // namespace twk::configuration::ini
