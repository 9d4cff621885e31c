#include "ClipboardMarkers.h"

namespace twk::win32 {

platform::ClipboardMark markOf(OfferedFormats& offered)
{
    for (const char* name : {"Clipboard Viewer Ignore", "ExcludeClipboardContentFromMonitorProcessing"})
        if (offered.has(name))
            return platform::ClipboardMark::secret;
    for (const char* name : {"CanIncludeInClipboardHistory", "CanUploadToCloudClipboard"})
        if (offered.has(name) && offered.dword(name).value_or(0) == 0)
            return platform::ClipboardMark::secret;
    return offered.hasFileList() ? platform::ClipboardMark::fileList : platform::ClipboardMark::none;
}

} // namespace twk::win32
