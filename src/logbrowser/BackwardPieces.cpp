#include "logbrowser/BackwardPieces.h"

#include "ini/IniLines.h"
#include "logbrowser/LineBreaks.h"
#include "logbrowser/MarkedLogs.h"

#include <algorithm>
#include <cstring>
#include <span>

namespace twk::logbrowser {

namespace {

// The start of the line after a break at index at, or npos when the byte at
// `at` is a CR that belongs to a longer break (CR LF, CR CR LF).
std::size_t startAfterBreak(std::string_view bytes, std::size_t at)
{
    if (bytes[at] == '\n')
        return at + 1;
    if (at + 1 < bytes.size() && (bytes[at + 1] == '\r' || bytes[at + 1] == '\n'))
        return std::string_view::npos;
    return at + 1;
}

std::size_t nextBreak(std::string_view bytes, std::size_t from)
{
    const auto at = findBreak(bytes, from);
    return at == bytes.size() ? std::string_view::npos : at;
}

} // namespace

std::size_t firstLineStart(std::string_view bytes)
{
    for (std::size_t at = nextBreak(bytes, 0); at != std::string_view::npos; at = nextBreak(bytes, at + 1)) {
        const auto start = startAfterBreak(bytes, at);
        if (start != std::string_view::npos)
            return start < bytes.size() ? start : std::string_view::npos;
    }
    return std::string_view::npos;
}

std::size_t firstSectionStart(std::string_view bytes)
{
    std::size_t at = nextBreak(bytes, 0);
    while (at != std::string_view::npos) {
        const auto start = startAfterBreak(bytes, at);
        if (start == std::string_view::npos) {
            at = nextBreak(bytes, at + 1);
            continue;
        }
        if (start >= bytes.size())
            return std::string_view::npos;
        // Only a line that can open a section is read as one: its first
        // byte other than a blank is "[".
        std::size_t first = start;
        while (first < bytes.size() && ini::isBlank(bytes[first]))
            ++first;
        const auto end = nextBreak(bytes, start);
        // A line cut off by the end of the bytes is not known whole.
        if (end == std::string_view::npos)
            return std::string_view::npos;
        if (first < end && bytes[first] == '[' && ini::sectionName(bytes.substr(start, end - start)))
            return start;
        at = end;
    }
    return std::string_view::npos;
}

BackwardPieces::BackwardPieces(platform::FileSystem& files, std::string path, std::uint64_t from, std::uint64_t to,
                               std::size_t piece, std::size_t longest)
    : files_(files), path_(std::move(path)), from_(from), piece_(piece), longest_(std::max(longest, piece))
{
    if (auto text = decodedUtf16Log(files_, path_)) {
        buffer_ = std::move(*text);
        decoded_ = true;
        return;
    }
    const auto stamp = files_.stamp(path_);
    size_ = stamp ? stamp->size : 0;
    if (to != 0 && to < size_)
        size_ = to;
    end_ = size_;
    from_ = std::min(from_, size_);
}

bool BackwardPieces::next()
{
    if (decoded_) {
        const bool first = !failed_;
        failed_ = true; // one piece only
        return first && !buffer_.empty();
    }
    if (failed_ || end_ <= from_)
        return false;
    std::size_t want = piece_;
    inside_ = false;
    while (true) {
        const std::uint64_t begin = end_ - from_ > want ? end_ - want : from_;
        const auto length = static_cast<std::size_t>(end_ - begin);
        buffer_.resize(length);
        const auto got = files_.readInto(path_, begin, std::span<char>(buffer_.data(), length));
        if (!got || *got != length) {
            // Shrunk or gone: what was read before stands.
            failed_ = true;
            return false;
        }
        begin_ = begin;
        if (begin == from_) {
            skip_ = begin == 0 ? utf8MarkLength(buffer_) : 0;
            break;
        }
        // The piece starts at its first section line; the bytes before it are
        // read again with the piece before.
        const auto start = firstSectionStart(buffer_);
        if (start != std::string_view::npos) {
            skip_ = start;
            break;
        }
        if (want < longest_) {
            want = std::min(want * 2, longest_);
            continue;
        }
        // A single entry longer than the longest piece: its lines come in pieces.
        const auto lineStart = firstLineStart(buffer_);
        skip_ = lineStart == std::string_view::npos ? 0 : lineStart;
        inside_ = true;
        break;
    }
    end_ = begin_ == from_ ? from_ : begin_ + skip_;
    return true;
}

} // namespace twk::logbrowser
