#include "ini/PrefixSections.h"

#include "text/Characters.h"

#include <algorithm>
#include <utility>

namespace twk::ini {
namespace {

// Growth is followed from the last line feed; a last line longer than this
// is not read again, and the names then do not follow the file.
constexpr std::size_t kLongestTail = 64 << 10;
// Read again before the tail, to see that the lines before it are still the ones read.
constexpr std::size_t kBeforeTailKept = 4 << 10;

bool hasAsciiLetter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
}

} // namespace

std::optional<PrefixSections> PrefixSections::of(platform::FileSystem& files, const std::string& path,
                                                 std::string prefix, std::size_t heldLine)
{
    if (prefix.empty() || hasAsciiLetter(prefix) || prefix.size() > kLongestName)
        return std::nullopt;
    const auto stamp = files.stamp(path);
    if (!stamp)
        return std::nullopt;
    PrefixSections sections(std::move(prefix));
    if (!sections.collect(files, path, 0, *stamp, heldLine))
        return std::nullopt;
    return sections;
}

bool PrefixSections::catchUp(platform::FileSystem& files, const std::string& path, const platform::FileStamp& now,
                             std::size_t heldLine)
{
    if (now == stamp_)
        return true;
    if (!growable_ || now.inode != stamp_.inode || now.device != stamp_.device || now.size <= stamp_.size)
        return false;
    const auto before = files.readRange(path, tailStart_ - beforeTail_.size(), beforeTail_.size());
    if (!before || *before != beforeTail_)
        return false;
    tailNames_.clear();
    return collect(files, path, tailStart_, now, heldLine);
}

std::optional<bool> PrefixSections::holds(std::string_view name) const
{
    if (name.size() < prefix_.size() || name.size() > kLongestName || name.substr(0, prefix_.size()) != prefix_)
        return std::nullopt;
    const auto lower = text::asciiLower(name);
    return names_.contains(lower) || std::find(tailNames_.begin(), tailNames_.end(), lower) != tailNames_.end();
}

bool PrefixSections::collect(platform::FileSystem& files, const std::string& path, std::uint64_t from,
                             const platform::FileStamp& expected, std::size_t heldLine)
{
    IniScan scan(files, path, from, heldLine);
    std::vector<std::pair<std::uint64_t, std::string>> found; // line start, name
    bool namesRead = true;
    bool bounded = true;
    const bool read = scan.sectionsHolding(prefix_, [&](const ScannedLine& line) {
        const auto size = line.nameEnd - line.nameBegin;
        if (size < prefix_.size() || size > kLongestName)
            return true;
        const auto name = scan.bytes(line.nameBegin, line.nameEnd);
        namesRead = name.has_value();
        if (namesRead && name->starts_with(prefix_)) {
            found.emplace_back(line.begin, text::asciiLower(*name));
            bounded = count() + found.size() <= kMostNames;
        }
        return namesRead && bounded;
    });
    if (!read || !namesRead || !bounded)
        return false;

    // Lines before the last line feed are finished: what is added later can
    // change only the lines after it.
    const std::uint64_t end = expected.size;
    const auto lastBytes = static_cast<std::size_t>(std::min<std::uint64_t>(end - std::min(end, from), kLongestTail));
    const auto last = files.readRange(path, end - lastBytes, lastBytes);
    if (!last || last->size() != lastBytes)
        return false;
    const auto feed = last->rfind('\n');
    const std::uint64_t tailStart = feed != std::string::npos ? end - lastBytes + feed + 1 : from;
    const auto kept = static_cast<std::size_t>(std::min<std::uint64_t>(tailStart, kBeforeTailKept));
    auto beforeTail = files.readRange(path, tailStart - kept, kept);
    if (!beforeTail || beforeTail->size() != kept || files.stamp(path) != expected)
        return false;

    for (auto& [lineStart, name] : found) {
        if (lineStart < tailStart)
            names_.insert(std::move(name));
        else
            tailNames_.push_back(std::move(name));
    }
    growable_ = feed != std::string::npos || end - from <= kLongestTail;
    tailStart_ = tailStart;
    beforeTail_ = std::move(*beforeTail);
    stamp_ = expected;
    return true;
}

} // namespace twk::ini
