// Holds the "javascript:" rules to their header on arbitrary captured text.
#include "FuzzCheck.h"
#include "SwappedCase.h"
#include "capture/LinkRules.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

using namespace twk::capture;

namespace {

constexpr std::string_view kOpen = "('";
constexpr std::string_view kClose = "')";
constexpr std::size_t kMarkerLength = std::string_view("javascript:").size();

void checkMarker(std::string_view text)
{
    const bool marked = StartsWithJavascript(text);
    TWK_FUZZ_CHECK(StartsWithJavascript(twk::fuzz::swappedCase(text)) == marked);
    TWK_FUZZ_CHECK(StartsWithJavascript(text.substr(0, kMarkerLength)) == marked);
    TWK_FUZZ_CHECK(!marked || text.size() >= kMarkerLength);
    TWK_FUZZ_CHECK(StartsWithJavascript("JavaScript:" + std::string(text)));
    TWK_FUZZ_CHECK(!StartsWithJavascript(" " + std::string(text)));
}

void checkTarget(std::string_view text)
{
    std::string unblanked;
    std::copy_if(text.begin(), text.end(), std::back_inserter(unblanked), [](char c) { return c != ' '; });
    const auto target = JavascriptTarget(text);
    TWK_FUZZ_CHECK(JavascriptTarget(unblanked) == target);

    // The part ends where the first closing marker starts, and begins after
    // the first opening marker, or at the second character without one.
    const auto open = unblanked.find(kOpen);
    const auto close = unblanked.find(kClose);
    const std::size_t begin = open == std::string::npos ? 1 : open + kOpen.size();
    if (!target) {
        TWK_FUZZ_CHECK(close == std::string::npos || close < begin);
        return;
    }
    TWK_FUZZ_CHECK(target->find(' ') == std::string::npos);
    TWK_FUZZ_CHECK(target->find(kClose) == std::string::npos);
    TWK_FUZZ_CHECK(close != std::string::npos && close == begin + target->size());
    TWK_FUZZ_CHECK(unblanked.compare(begin, target->size(), *target) == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    checkMarker(text);
    checkTarget(text);
    return 0;
}
