#include "configuration/IniScan.h"

#include "configuration/IniLines.h"
#include "text/Characters.h"

#include <algorithm>
#include <cstring>

namespace twk::configuration {
namespace {

bool hasAsciiLetter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

constexpr std::uint64_t kNone = ~std::uint64_t{0};

// Where a line that is too long to hold has its parts, gathered byte by byte
// by the same rules that IniLines.h applies to a held line.
class LongLine {
public:
    explicit LongLine(std::uint64_t begin) : begin_(begin) {}

    // Bytes of the line (no line feed among them) that start at file offset at.
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
        lastNonBlank_ = lastBefore(bytes.size());
    }

    void finish(std::uint64_t end, std::uint64_t next, ScannedLine& line) const
    {
        line = ScannedLine{};
        line.begin = begin_;
        line.end = end;
        line.next = next;
        line.blank = firstNonBlank_ == kNone;
        if (opensSection_ && close_ != kNone) {
            line.section = true;
            // The name runs from the first non-blank after "[" to the last
            // non-blank before the last "]"; an empty name has neither.
            line.nameBegin = nameBegin_ < close_ ? nameBegin_ : close_;
            line.nameEnd = std::max(line.nameBegin, lastNonBlankBeforeClose_ + 1);
            return;
        }
        if (equals_ == kNone)
            return;
        line.key = true;
        line.keyBegin = firstNonBlank_;
        line.keyEnd = firstNonBlank_ < equals_ ? lastNonBlankBeforeEquals_ + 1 : firstNonBlank_;
        line.valueBegin = valueBegin_ != kNone ? valueBegin_ : equals_ + 1;
        line.valueEnd = valueBegin_ != kNone ? lastNonBlank_ + 1 : line.valueBegin;
    }

private:
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
};

} // namespace

IniScan::IniScan(platform::FileSystem& files, std::string path, std::uint64_t from, std::size_t heldLine)
    : files_(files), path_(std::move(path)), heldLine_(std::max<std::size_t>(heldLine, 1)),
      piece_(std::clamp<std::size_t>(heldLine, 16, platform::FileSystem::kPiece)), bufferOffset_(from)
{
}

bool IniScan::fill()
{
    for (;;) {
        const auto view = held();
        if (view.find('\n') != std::string_view::npos)
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
    }
}

bool IniScan::next(ScannedLine& line)
{
    if (!fill())
        return false;
    const auto view = held();
    const auto feed = view.find('\n');
    if (feed != std::string_view::npos && feed <= heldLine_)
        return takeHeldLine(feed, line);
    if (feed == std::string_view::npos && atEnd_ && view.size() <= heldLine_)
        return takeHeldLine(view.size(), line);
    return takeLongLine(line);
}

bool IniScan::takeHeldLine(std::size_t feed, ScannedLine& line)
{
    const auto view = held();
    const bool broken = feed < view.size();
    const std::size_t end = broken && feed > 0 && view[feed - 1] == '\r' ? feed - 1 : feed;
    const auto text = view.substr(0, end);
    const std::uint64_t base = bufferOffset_ + position_;
    const auto at = [&](std::string_view part) { return base + static_cast<std::uint64_t>(part.data() - view.data()); };

    line = ScannedLine{};
    line.begin = base;
    line.end = base + end;
    line.next = base + (broken ? feed + 1 : feed);
    line.blank = ini::trimmed(text).empty();
    if (const auto name = ini::sectionName(text)) {
        line.section = true;
        line.nameBegin = at(*name);
        line.nameEnd = line.nameBegin + name->size();
    } else if (const auto entry = ini::keyLine(text)) {
        line.key = true;
        line.keyBegin = at(entry->key);
        line.keyEnd = line.keyBegin + entry->key.size();
        line.valueBegin = at(entry->value);
        line.valueEnd = line.valueBegin + entry->value.size();
    }
    position_ += broken ? feed + 1 : feed;
    return true;
}

bool IniScan::takeLongLine(ScannedLine& line)
{
    const std::uint64_t begin = bufferOffset_ + position_;
    LongLine parts(begin);
    std::uint64_t at = begin;
    bool pendingReturn = false; // a CR ending a piece belongs to the line unless a LF follows
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
        const auto feed = rest.find('\n');
        const bool ends = feed != std::string_view::npos;
        auto bytes = rest.substr(0, ends ? feed : rest.size());
        const bool carriedReturn = pendingReturn;
        if (carriedReturn && !(ends && feed == 0))
            parts.take("\r", at - 1);
        pendingReturn = !bytes.empty() && bytes.back() == '\r';
        if (pendingReturn)
            bytes.remove_suffix(1);
        parts.take(bytes, at);
        at += bytes.size() + (pendingReturn ? 1 : 0);
        if (ends) {
            position_ += feed + 1;
            const bool returnBreaks = pendingReturn || (carriedReturn && feed == 0);
            parts.finish(returnBreaks ? at - 1 : at, at + 1, line);
            return true;
        }
        position_ = buffer_.size();
    }
    if (pendingReturn)
        parts.take("\r", at - 1);
    parts.finish(at, at, line);
    return true;
}

bool IniScan::nextSection(ScannedLine& line)
{
    while (fill()) {
        const auto view = held();
        const auto open = view.find('[');
        const auto lastFeed = view.rfind('\n', open == std::string_view::npos ? view.npos : open);
        const std::size_t lineStart = lastFeed == std::string_view::npos ? 0 : lastFeed + 1;
        if (open == std::string_view::npos && lastFeed != std::string_view::npos) {
            position_ += lineStart; // none of these whole lines opens a section
            continue;
        }
        if (open != std::string_view::npos && !ini::trimmed(view.substr(lineStart, open - lineStart)).empty()) {
            const auto feed = view.find('\n', open);
            if (feed != std::string_view::npos) {
                position_ += feed + 1;
                continue;
            }
        }
        position_ += lineStart;
        if (!next(line))
            return false;
        if (line.section)
            return true;
    }
    return false;
}

bool IniScan::nextSectionNamed(std::string_view name, ScannedLine& line)
{
    if (name.empty() || hasAsciiLetter(name) || name.find_first_of(" \t\r\n") != std::string_view::npos) {
        while (nextSection(line))
            if (nameIs(line, name))
                return true;
        return false;
    }
    // Names without letters are found as plain bytes, far faster than lines are read.
    while (fill()) {
        const auto view = held();
        const auto hit = view.find(name);
        const auto lastFeed = view.rfind('\n', hit);
        if (hit == std::string_view::npos && lastFeed != std::string_view::npos) {
            position_ += lastFeed + 1;
            continue;
        }
        position_ += lastFeed == std::string_view::npos ? 0 : lastFeed + 1;
        if (!next(line))
            return false;
        if (line.section && nameIs(line, name))
            return true;
    }
    return false;
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

} // namespace twk::configuration
