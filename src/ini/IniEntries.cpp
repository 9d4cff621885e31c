#include "ini/IniEntries.h"

#include "ini/IniEncoding.h"

#include <algorithm>

namespace twk::ini {
namespace {

constexpr std::size_t kLongestMark = 3;

// The decoded text of a UTF-16 file, served to IniScan as a file of its own.
class DecodedText : public platform::FileSystem {
public:
    explicit DecodedText(std::string text) : text_(std::move(text)) {}

    std::optional<std::string> readRange(const std::string&, std::uint64_t offset, std::size_t length) override
    {
        if (offset >= text_.size())
            return std::string();
        return text_.substr(static_cast<std::size_t>(offset), length);
    }
    bool replaceWith(const std::string&, platform::NewFile, const Producer&) override { return false; }
    bool append(const std::string&, std::string_view) override { return false; }
    std::optional<platform::FileStamp> stamp(const std::string&) override
    {
        platform::FileStamp stamp;
        stamp.size = text_.size();
        return stamp;
    }
    bool isRegularFile(const std::string&) override { return true; }
    bool remove(const std::string&) override { return false; }

private:
    std::string text_;
};

bool isUtf16(Encoding encoding)
{
    return encoding == Encoding::Utf16LittleEndian || encoding == Encoding::Utf16BigEndian;
}

} // namespace

IniEntries::IniEntries(platform::FileSystem& files, const std::string& path, ValueEnd valueEnd, std::size_t longest,
                       std::size_t heldLine)
    : valueEnd_(valueEnd), longest_(longest)
{
    const auto start = files.readRange(path, 0, kLongestMark);
    if (!start) {
        failed_ = true;
        return;
    }
    const auto encoding = decoded(*start).form.encoding;
    if (encoding == Encoding::Utf8) {
        scan_.emplace(files, path, kLongestMark, heldLine);
    } else if (isUtf16(encoding)) {
        const auto stamp = files.stamp(path);
        const auto bytes = stamp && stamp->size <= kLargestDecoded ? files.read(path) : std::nullopt;
        if (!bytes || bytes->size() > kLargestDecoded) {
            failed_ = true;
            return;
        }
        decoded_ = std::make_unique<DecodedText>(decoded(*bytes).text);
        scan_.emplace(*decoded_, path, 0, heldLine);
    } else {
        scan_.emplace(files, path, 0, heldLine);
    }
}

IniEntries::~IniEntries() = default;

bool IniEntries::failed() const
{
    return failed_ || (scan_ && scan_->failed());
}

bool IniEntries::nextLine(ScannedLine& line)
{
    if (pending_) {
        line = *pending_;
        pending_.reset();
        return true;
    }
    return scan_->next(line);
}

std::optional<std::string> IniEntries::held(std::uint64_t begin, std::uint64_t end, bool& cut)
{
    cut = end - begin > longest_;
    return scan_->bytes(begin, begin + std::min<std::uint64_t>(end - begin, longest_));
}

std::uint64_t IniEntries::withoutLastBreak(std::uint64_t valueBegin, std::uint64_t next)
{
    const auto tail = std::min<std::uint64_t>(next - valueBegin, 2);
    const auto last = scan_->bytes(next - tail, next);
    if (!last)
        return next;
    if (*last == "\r\n")
        return next - 2;
    if (!last->empty() && (last->back() == '\n' || last->back() == '\r'))
        return next - 1;
    return next;
}

bool IniEntries::next(IniEntry& entry)
{
    if (!scan_ || failed_)
        return false;
    const auto fail = [this] {
        failed_ = true;
        return false;
    };
    ScannedLine line;
    bool cut = false;
    while (nextLine(line)) {
        if (line.section) {
            auto name = held(line.nameBegin, line.nameEnd, cut);
            if (!name)
                return fail();
            section_ = std::move(*name);
            sectionOffset_ = line.begin;
            inSection_ = true;
            continue;
        }
        if (!inSection_ || !line.key || !line.hasValue)
            continue;

        entry = IniEntry{};
        entry.section = section_;
        entry.sectionOffset = sectionOffset_;
        entry.offset = line.begin;
        entry.valueBegin = line.equals + 1;
        entry.valueEnd = line.end;
        if (valueEnd_ == ValueEnd::NextSection) {
            auto upTo = line.next;
            ScannedLine following;
            while (nextLine(following)) {
                if (following.section) {
                    pending_ = following;
                    break;
                }
                upTo = following.next;
            }
            if (scan_->failed())
                return fail();
            entry.valueEnd = withoutLastBreak(entry.valueBegin, upTo);
        }
        auto key = held(line.keyBegin, line.keyEnd, cut);
        auto value = held(entry.valueBegin, entry.valueEnd, entry.cut);
        if (!key || !value)
            return fail(); // the file changed or went away under the reader
        entry.key = std::move(*key);
        entry.value = std::move(*value);
        return true;
    }
    failed_ = scan_->failed();
    return false;
}

} // namespace twk::ini
