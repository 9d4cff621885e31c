#include "ini/IniScan.h"

#include "ini/BytesInFile.h"
#include "ini/IniLines.h"
#include "text/Characters.h"

#include <algorithm>
#include <cstring>

namespace twk::ini {
namespace {

bool isAsciiLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// The longest run of a name's bytes that case cannot change: a line whose
// section name is the name holds those bytes as they are.
std::string_view longestRunWithoutLetters(std::string_view name)
{
    std::string_view longest;
    for (auto from = name.begin(); from != name.end();) {
        const auto to = std::find_if(from, name.end(), isAsciiLetter);
        if (static_cast<std::size_t>(to - from) > longest.size())
            longest = std::string_view(from, to);
        from = to == name.end() ? to : to + 1;
    }
    return longest;
}

// Shorter runs occur too often to beat reading section lines.
constexpr std::size_t kShortestSearchedRun = 4;
// Read at a time when looking for a name's bytes: fits the processor's
// cache, where the bytes are still found when they are searched.
constexpr std::size_t kSearchBlock = 512 << 10;

constexpr std::uint64_t kNone = ~std::uint64_t{0};

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// The first CR or LF: two searches at memory speed beat one for either.
std::size_t firstLineBreak(std::string_view text)
{
    const auto feed = text.find('\n');
    const auto carriageReturn = text.substr(0, feed).find('\r');
    return carriageReturn != std::string_view::npos ? carriageReturn : feed;
}

// Where a line that is too long to hold has its parts, gathered piece by
// piece by the same rules that IniLines.h applies to a held line.
class LongLine {
public:
    explicit LongLine(std::uint64_t begin) : begin_(begin) {}

    // Bytes of the line (no line break among them) that start at file offset at.
    void take(std::string_view bytes, std::uint64_t at)
    {
        const auto firstFrom = [&](std::size_t from) {
            while (from < bytes.size() && ini::isBlank(bytes[from]))
                ++from;
            return from;
        };
        // The last non-blank before index before, here or in earlier bytes.
        const auto lastBefore = [&](std::size_t before) {
            while (before > 0 && ini::isBlank(bytes[before - 1]))
                --before;
            return before > 0 ? at + before - 1 : lastNonBlank_;
        };
        // The first NUL at or after a file offset, for names and values cut there.
        // With the last non-blank before it: a name or value cut there has no blanks at its end.
        const auto nulFrom = [&](std::uint64_t start, std::uint64_t& nul, std::uint64_t& lastBeforeNul) {
            if (start == kNone || nul != kNone)
                return;
            const auto from = start > at ? static_cast<std::size_t>(start - at) : 0;
            if (const auto found = bytes.find('\0', from); found != std::string_view::npos) {
                nul = at + found;
                lastBeforeNul = lastBefore(found);
            }
        };
        const auto first = firstFrom(0);
        if (first == bytes.size())
            return;
        std::size_t afterOpen = 0;
        if (firstNonBlank_ == kNone) {
            firstNonBlank_ = at + first;
            opensSection_ = bytes[first] == '[';
            afterOpen = first + 1;
        }
        if (opensSection_ && nameBegin_ == kNone) {
            if (const auto name = firstFrom(afterOpen); name < bytes.size())
                nameBegin_ = at + name;
        }
        if (equals_ == kNone) {
            if (const auto equals = bytes.find('='); equals != std::string_view::npos) {
                equals_ = at + equals;
                lastNonBlankBeforeEquals_ = lastBefore(equals);
            }
        }
        if (equals_ != kNone && valueBegin_ == kNone) {
            const auto from = equals_ >= at ? static_cast<std::size_t>(equals_ - at) + 1 : 0;
            if (const auto value = firstFrom(from); value < bytes.size())
                valueBegin_ = at + value;
        }
        if (const auto close = bytes.rfind(']'); close != std::string_view::npos) {
            close_ = at + close;
            lastNonBlankBeforeClose_ = lastBefore(close);
        }
        nulFrom(firstNonBlank_, nulInKey_, lastBeforeNulInKey_);
        nulFrom(nameBegin_, nulInName_, lastBeforeNulInName_);
        nulFrom(valueBegin_, nulInValue_, lastBeforeNulInValue_);
        lastNonBlank_ = lastBefore(bytes.size());
    }

    void finish(std::uint64_t end, std::uint64_t next, ScannedLine& line) const
    {
        line = ScannedLine{};
        line.begin = begin_;
        line.end = end;
        line.next = next;
        line.blank = firstNonBlank_ == kNone;
        if (line.blank)
            return;
        if (opensSection_ && close_ != kNone) {
            line.section = true;
            // The name runs from the first non-blank after "[" to the last
            // non-blank before the last "]", or to a NUL; an empty name has neither.
            line.nameBegin = nameBegin_ < close_ ? nameBegin_ : close_;
            line.nameEnd = std::min(std::max(line.nameBegin, lastNonBlankBeforeClose_ + 1),
                                    endAtNul(nulInName_, lastBeforeNulInName_, line.nameBegin));
            return;
        }
        line.key = true;
        line.keyBegin = firstNonBlank_;
        const auto keyNulEnd = endAtNul(nulInKey_, lastBeforeNulInKey_, firstNonBlank_);
        if (equals_ == kNone) { // a key without a value
            line.keyEnd = std::min(lastNonBlank_ + 1, keyNulEnd);
            return;
        }
        line.keyEnd = std::min(firstNonBlank_ < equals_ ? lastNonBlankBeforeEquals_ + 1 : firstNonBlank_, keyNulEnd);
        line.hasValue = true;
        line.equals = equals_;
        line.valueBegin = valueBegin_ != kNone ? valueBegin_ : equals_ + 1;
        line.valueEnd = valueBegin_ != kNone
                            ? std::min(lastNonBlank_ + 1, endAtNul(nulInValue_, lastBeforeNulInValue_, valueBegin_))
                            : line.valueBegin;
    }

private:
    // Where a part that a NUL cut short ends (no limit without a NUL), never before it begins.
    static std::uint64_t endAtNul(std::uint64_t nul, std::uint64_t lastBeforeNul, std::uint64_t begin)
    {
        if (nul == kNone)
            return kNone;
        return lastBeforeNul == kNone || lastBeforeNul < begin ? begin : lastBeforeNul + 1;
    }

    std::uint64_t begin_;
    std::uint64_t firstNonBlank_ = kNone;
    bool opensSection_ = false;
    std::uint64_t nameBegin_ = kNone;
    std::uint64_t close_ = kNone;
    std::uint64_t lastNonBlankBeforeClose_ = kNone;
    std::uint64_t equals_ = kNone;
    std::uint64_t lastNonBlankBeforeEquals_ = kNone;
    std::uint64_t valueBegin_ = kNone;
    std::uint64_t lastNonBlank_ = kNone;
    std::uint64_t nulInKey_ = kNone;
    std::uint64_t nulInName_ = kNone;
    std::uint64_t nulInValue_ = kNone;
    std::uint64_t lastBeforeNulInKey_ = kNone;
    std::uint64_t lastBeforeNulInName_ = kNone;
    std::uint64_t lastBeforeNulInValue_ = kNone;
};

} // namespace

IniScan::IniScan(platform::FileSystem& files, std::string path, std::uint64_t from, std::size_t heldLine)
    : files_(files), path_(std::move(path)), heldLine_(std::max<std::size_t>(heldLine, 1)),
      piece_(std::clamp<std::size_t>(heldLine, 16, platform::FileSystem::kPiece)),
      searchBlock_(std::min(piece_, kSearchBlock)), bufferOffset_(from)
{
}

std::size_t IniScan::nextLineStart(std::size_t at) const
{
    // A line feed ends a line; so does a CR alone, or a run of CRs and the
    // line feed after them, as IniLines.h reads them.
    if (buffer_[at] == '\n')
        return at + 1;
    const auto after = buffer_.find_first_not_of('\r', at);
    if (after == std::string::npos)
        return atEnd_ ? at + 1 : std::string::npos;
    return buffer_[after] == '\n' ? after + 1 : at + 1;
}

bool IniScan::fill()
{
    for (;;) {
        const auto view = held();
        if (const auto lineBreak = firstLineBreak(view); lineBreak != std::string_view::npos)
            if (nextLineStart(position_ + lineBreak) != std::string::npos)
                return true;
        if (atEnd_)
            return !view.empty();
        if (view.size() > heldLine_)
            return true;
        buffer_.erase(0, position_);
        bufferOffset_ += position_;
        position_ = 0;
        const auto piece = files_.readRange(path_, bufferOffset_ + buffer_.size(), piece_);
        if (!piece) {
            failed_ = true;
            atEnd_ = true;
            buffer_.clear();
            return false;
        }
        buffer_ += *piece;
        atEnd_ = piece->size() < piece_;
        // A UTF-8 mark is no part of the first line, as the system reads it.
        if (bufferOffset_ == 0 && position_ == 0 && buffer_.starts_with(kUtf8Mark))
            position_ = kUtf8Mark.size();
    }
}

bool IniScan::next(ScannedLine& line)
{
    if (!fill())
        return false;
    const auto view = held();
    const auto lineBreak = firstLineBreak(view);
    if (lineBreak != std::string_view::npos && lineBreak <= heldLine_) {
        const auto next = nextLineStart(position_ + lineBreak);
        if (next != std::string::npos)
            return takeHeldLine(lineBreak, next - position_, line);
    }
    if (lineBreak == std::string_view::npos && atEnd_ && view.size() <= heldLine_)
        return takeHeldLine(view.size(), view.size(), line);
    return takeLongLine(line);
}

bool IniScan::takeHeldLine(std::size_t end, std::size_t next, ScannedLine& line)
{
    const auto view = held();
    const auto text = view.substr(0, end);
    const std::uint64_t base = bufferOffset_ + position_;
    const auto at = [&](std::string_view part) { return base + static_cast<std::uint64_t>(part.data() - view.data()); };

    line = ScannedLine{};
    line.begin = base;
    line.end = base + end;
    line.next = base + next;
    line.blank = ini::trimmed(text).empty();
    if (const auto name = ini::sectionName(text)) {
        line.section = true;
        line.nameBegin = at(*name);
        line.nameEnd = line.nameBegin + name->size();
    } else if (const auto entry = ini::keyLine(text)) {
        line.key = true;
        line.keyBegin = at(entry->key);
        line.keyEnd = line.keyBegin + entry->key.size();
        if (entry->value) {
            line.hasValue = true;
            line.equals = base + text.find('=');
            line.valueBegin = at(*entry->value);
            line.valueEnd = line.valueBegin + entry->value->size();
        }
    }
    position_ += next;
    return true;
}

bool IniScan::takeLongLine(ScannedLine& line)
{
    const std::uint64_t begin = bufferOffset_ + position_;
    LongLine parts(begin);
    for (;;) {
        if (position_ >= buffer_.size()) {
            if (atEnd_)
                break;
            bufferOffset_ += buffer_.size();
            buffer_.clear();
            position_ = 0;
            auto piece = files_.readRange(path_, bufferOffset_, piece_);
            if (!piece) {
                failed_ = true;
                return false;
            }
            buffer_ = std::move(*piece);
            atEnd_ = buffer_.size() < piece_;
            continue;
        }
        const auto rest = held();
        const auto lineBreak = firstLineBreak(rest);
        parts.take(rest.substr(0, lineBreak), bufferOffset_ + position_);
        if (lineBreak == std::string_view::npos) {
            position_ = buffer_.size();
            continue;
        }
        position_ += lineBreak;
        const std::uint64_t end = bufferOffset_ + position_;
        // Where the next line starts may lie beyond the bytes held: keep from the break on.
        buffer_.erase(0, position_);
        bufferOffset_ += position_;
        position_ = 0;
        std::size_t next;
        while ((next = nextLineStart(0)) == std::string::npos) {
            const auto piece = files_.readRange(path_, bufferOffset_ + buffer_.size(), piece_);
            if (!piece) {
                failed_ = true;
                return false;
            }
            buffer_ += *piece;
            atEnd_ = piece->size() < piece_;
            if (nextLineStart(0) == std::string::npos && buffer_.size() > kHeldLine + piece_) {
                // A run of CRs of megabytes is not held: each of them ends a line of its own.
                next = 1;
                break;
            }
        }
        position_ = next;
        parts.finish(end, bufferOffset_ + next, line);
        return true;
    }
    parts.finish(bufferOffset_ + position_, bufferOffset_ + position_, line);
    return true;
}

bool IniScan::sectionUpTo(std::uint64_t offset, ScannedLine& line)
{
    while (bufferOffset_ + position_ <= offset && next(line))
        if (line.section)
            return true;
    return false;
}

bool IniScan::nextSection(ScannedLine& line)
{
    while (fill()) {
        const auto view = held();
        // A "[" that only blanks separate from a line break or from the start
        // of what is held may open a section; a line feed always ends a line,
        // so lines are taken from the last one before it.
        std::size_t open = view.find('[');
        while (open != std::string_view::npos) {
            const auto lineBreak = view.find_last_of("\r\n", open);
            const std::size_t from = lineBreak == std::string_view::npos ? 0 : lineBreak + 1;
            if (ini::trimmed(view.substr(from, open - from)).empty())
                break;
            open = view.find('[', open + 1);
        }
        const auto lastFeed = view.rfind('\n', open);
        if (open == std::string_view::npos && lastFeed != std::string_view::npos) {
            position_ += lastFeed + 1; // none of these lines opens a section
            continue;
        }
        position_ += open == std::string_view::npos || lastFeed == std::string_view::npos ? 0 : lastFeed + 1;
        const std::uint64_t upTo =
            open == std::string_view::npos
                ? bufferOffset_ + position_
                : bufferOffset_ + position_ + (open - (lastFeed == std::string_view::npos ? 0 : lastFeed + 1));
        if (sectionUpTo(upTo, line))
            return true;
        if (failed_)
            return false;
    }
    return false;
}

bool IniScan::nextSectionNamed(std::string_view name, ScannedLine& line)
{
    const auto run = longestRunWithoutLetters(name);
    if (run.size() < kShortestSearchedRun) {
        while (nextSection(line))
            if (nameIs(line, name))
                return true;
        return false;
    }
    // Only lines that hold the run can open the section.
    bool named = false;
    sectionsHolding(run, [&](const ScannedLine& section) {
        named = nameIs(section, name);
        if (named)
            line = section;
        return !named;
    });
    return named;
}

bool IniScan::sectionsHolding(std::string_view run, const std::function<bool(const ScannedLine&)>& found)
{
    BytesInFile places(files_, path_, std::string(run), bufferOffset_ + position_, searchBlock_);
    ScannedLine line;
    while (const auto place = places.next()) {
        moveTo(place->lineStart);
        while (sectionUpTo(place->at, line))
            if (!found(line))
                return true;
        if (failed_)
            return false;
    }
    failed_ = places.failed();
    buffer_.clear(); // at the end: nothing more to take
    position_ = 0;
    atEnd_ = true;
    return !failed_;
}

void IniScan::moveTo(std::uint64_t lineStart)
{
    const auto at = bufferOffset_ + position_;
    if (lineStart <= at)
        return;
    if (lineStart < bufferOffset_ + buffer_.size()) {
        position_ = static_cast<std::size_t>(lineStart - bufferOffset_);
        return;
    }
    buffer_.clear();
    bufferOffset_ = lineStart;
    position_ = 0;
    atEnd_ = false;
}

std::optional<std::string> IniScan::bytes(std::uint64_t begin, std::uint64_t end)
{
    if (begin >= bufferOffset_ && end <= bufferOffset_ + buffer_.size())
        return buffer_.substr(static_cast<std::size_t>(begin - bufferOffset_), static_cast<std::size_t>(end - begin));
    auto range = files_.readRange(path_, begin, static_cast<std::size_t>(end - begin));
    if (!range || range->size() != end - begin)
        return std::nullopt;
    return range;
}

bool IniScan::sameBytes(std::uint64_t begin, std::uint64_t end, std::string_view name)
{
    if (end - begin != name.size())
        return false;
    const auto found = bytes(begin, end);
    return found && text::equalsIgnoringAsciiCase(*found, name);
}

bool IniScan::nameIs(const ScannedLine& line, std::string_view name)
{
    return line.section && sameBytes(line.nameBegin, line.nameEnd, name);
}

bool IniScan::keyIs(const ScannedLine& line, std::string_view key)
{
    return line.key && sameBytes(line.keyBegin, line.keyEnd, key);
}

} // namespace twk::ini
