// Holds IsLink to its rules on arbitrary captured text and settings.
#include "FuzzCheck.h"
#include "SwappedCase.h"
#include "capture/LinkRules.h"
#include "text/Characters.h"
#include "text/Numbers.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

using namespace twk::capture;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const auto strictUrls = input.ConsumeRandomLengthString(8);
    const auto more = input.ConsumeRandomLengthString(64);
    const auto text = input.ConsumeRemainingBytesAsString();

    const bool strict = IsLink(text, "1");
    const bool loose = IsLink(text, "0");
    TWK_FUZZ_CHECK(!strict || loose);
    TWK_FUZZ_CHECK(!loose || twk::text::characterCount(text) <= kLongestLinkText);

    // Any other setting is one of the two: strict only when it reads as 1.
    TWK_FUZZ_CHECK(IsLink(text, strictUrls) == (twk::text::numberEquals(strictUrls, 1) ? strict : loose));

    const auto swapped = twk::fuzz::swappedCase(text);
    TWK_FUZZ_CHECK(IsLink(swapped, "1") == strict);
    TWK_FUZZ_CHECK(IsLink(swapped, "0") == loose);

    // Text after a link keeps it one while the whole stays within the limit.
    const auto longer = text + more;
    if (twk::text::characterCount(longer) <= kLongestLinkText) {
        TWK_FUZZ_CHECK(!strict || IsLink(longer, "1"));
        TWK_FUZZ_CHECK(!loose || IsLink(longer, "0"));
    }
    return 0;
}
