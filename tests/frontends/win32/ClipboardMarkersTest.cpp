#include "ClipboardMarkers.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace twk::win32 {
namespace {

using platform::ClipboardMark;

// Formats by name; a value of nullopt is a format offered without readable data.
struct Offer final : OfferedFormats {
    std::map<std::string, std::optional<std::uint32_t>> formats;
    bool files = false;
    int dwordsRead = 0;

    bool has(const char* name) override { return formats.count(name) != 0; }
    std::optional<std::uint32_t> dword(const char* name) override
    {
        ++dwordsRead;
        return formats.at(name);
    }
    bool hasFileList() override { return files; }
};

ClipboardMark markWith(const char* name, std::optional<std::uint32_t> value)
{
    Offer offer;
    offer.formats[name] = value;
    return markOf(offer);
}

TEST(ClipboardMarkers, TheIgnoreFormatsKeepATextOutByBeingThere)
{
    for (const char* name : {"Clipboard Viewer Ignore", "ExcludeClipboardContentFromMonitorProcessing"}) {
        SCOPED_TRACE(name);
        Offer offer;
        offer.formats[name] = 1; // whatever the owner put in it
        EXPECT_EQ(markOf(offer), ClipboardMark::secret);
        EXPECT_EQ(offer.dwordsRead, 0);
    }
}

TEST(ClipboardMarkers, TheHistoryFormatsKeepATextOutOnlyWhenTheirValueIsZero)
{
    for (const char* name : {"CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(markWith(name, 0), ClipboardMark::secret);
        EXPECT_EQ(markWith(name, 1), ClipboardMark::none);
        EXPECT_EQ(markWith(name, 0x100), ClipboardMark::none) << "any byte of the DWORD counts";
        // An owner that names the format but gives no readable DWORD is taken at its word.
        EXPECT_EQ(markWith(name, std::nullopt), ClipboardMark::secret);
    }
}

TEST(ClipboardMarkers, OneDenyingFormatIsEnoughWhateverTheOthersAllow)
{
    Offer offer;
    offer.formats["CanIncludeInClipboardHistory"] = 1;
    offer.formats["CanUploadToCloudClipboard"] = 0;
    EXPECT_EQ(markOf(offer), ClipboardMark::secret);
}

TEST(ClipboardMarkers, ASecretWinsOverAFileListAndPlainContentHasNoMark)
{
    Offer files;
    files.files = true;
    EXPECT_EQ(markOf(files), ClipboardMark::fileList);
    files.formats["Clipboard Viewer Ignore"] = std::nullopt;
    EXPECT_EQ(markOf(files), ClipboardMark::secret);
    Offer plain;
    plain.formats["Rich Text Format"] = 0;
    EXPECT_EQ(markOf(plain), ClipboardMark::none);
}

} // namespace
} // namespace twk::win32
