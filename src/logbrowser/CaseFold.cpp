#include "logbrowser/CaseFold.h"

#include "logbrowser/AsciiFold.h"
#include "logbrowser/Utf8.h"

#include <algorithm>

namespace twk::logbrowser {

char32_t foldCase(char32_t c)
{
    if (c < 0x80)
        return asciiFolded(static_cast<char>(c));
    const auto* begin = detail::kCaseFolds;
    const auto* end = begin + detail::kCaseFoldCount;
    const auto* found = std::lower_bound(
        begin, end, c, [](const detail::CaseFoldPair& pair, char32_t code) { return pair.from < code; });
    return found != end && found->from == c ? found->to : c;
}

std::string folded(std::string_view utf8)
{
    std::string result;
    result.reserve(utf8.size());
    std::size_t at = 0;
    while (at < utf8.size()) {
        const auto byte = static_cast<unsigned char>(utf8[at]);
        if (byte < 0x80) {
            result += asciiFolded(utf8[at]);
            ++at;
            continue;
        }
        const auto decoded = decodeUtf8(utf8, at);
        if (!decoded.valid) {
            result += utf8[at];
            ++at;
            continue;
        }
        appendUtf8(result, foldCase(decoded.character));
        at += decoded.length;
    }
    return result;
}

bool holdsFolded(std::string_view text, std::string_view foldedNeedle)
{
    if (foldedNeedle.empty())
        return true;
    const bool ascii =
        std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii)
        return findAsciiFolded(text, foldedNeedle) != std::string_view::npos;
    return folded(text).find(foldedNeedle) != std::string::npos;
}

} // namespace twk::logbrowser
