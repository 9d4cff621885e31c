#include "ini/BytesInFile.h"

#include "text/ByteSearch.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace twk::ini {

BytesInFile::BytesInFile(platform::FileSystem& files, std::string path, std::string needle, std::uint64_t from,
                         std::size_t block)
    : files_(files), path_(std::move(path)), needle_(std::move(needle)), size_(std::max(block, 2 * needle_.size() + 1)),
      buffer_(std::make_unique_for_overwrite<char[]>(size_)), bufferOffset_(from), lineStart_(from)
{
}

std::optional<BytesInFile::Place> BytesInFile::next()
{
    for (;;) {
        const std::string_view held(buffer_.get(), held_);
        if (const auto at = text::FindBytes(held, needle_, searchFrom_); at != std::string_view::npos) {
            passFeedsBefore(at);
            searchFrom_ = at + 1;
            return Place{bufferOffset_ + at, lineStart_};
        }
        if (!readOn())
            return std::nullopt;
    }
}

void BytesInFile::passFeedsBefore(std::size_t before)
{
    if (before <= feedsPassed_)
        return;
    const std::string_view unseen(buffer_.get() + feedsPassed_, before - feedsPassed_);
    if (const auto feed = unseen.rfind('\n'); feed != std::string_view::npos)
        lineStart_ = bufferOffset_ + feedsPassed_ + feed + 1;
    feedsPassed_ = before;
}

bool BytesInFile::readOn()
{
    if (atEnd_ || failed_)
        return false;
    // The last needle-1 bytes may begin a place that the next bytes finish.
    const std::size_t tail = std::min(held_, needle_.size() - 1);
    const std::size_t keep = std::max(searchFrom_, held_ - tail);
    passFeedsBefore(keep);
    std::memmove(buffer_.get(), buffer_.get() + keep, held_ - keep);
    held_ -= keep;
    bufferOffset_ += keep;
    searchFrom_ = 0;
    feedsPassed_ = 0;
    const auto wanted = size_ - held_;
    const auto got = files_.readInto(path_, bufferOffset_ + held_, std::span<char>(buffer_.get() + held_, wanted));
    if (!got) {
        failed_ = true;
        return false;
    }
    held_ += *got;
    atEnd_ = *got < wanted;
    return *got > 0;
}

} // namespace twk::ini
