#include "ClipboardMarks.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace twk::qt {
namespace {

constexpr std::string_view kPasswordHint = "x-kde-passwordManagerHint";
constexpr std::string_view kUriList = "text/uri-list";
// Offered only by file managers, for copied or cut files.
constexpr std::array<std::string_view, 3> kFileFormats{
    "x-special/gnome-copied-files",   // GNOME, Xfce, LXDE, Cinnamon
    "x-special/mate-copied-files",    // MATE
    "application/x-kde-cutselection", // KDE, for cut files
};

bool offers(const std::vector<std::string>& formats, std::string_view format)
{
    return std::find(formats.begin(), formats.end(), format) != formats.end();
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\0'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool startsWithFileScheme(std::string_view line)
{
    constexpr std::string_view scheme = "file:";
    return line.size() >= scheme.size() && std::equal(scheme.begin(), scheme.end(), line.begin(), [](char a, char b) {
               return a == (b >= 'A' && b <= 'Z' ? static_cast<char>(b - 'A' + 'a') : b);
           });
}

// A URI list holds copied files when every entry is a local file; a browser may offer
// a copied web link as a URI list too.
bool listsOnlyFiles(std::string_view list)
{
    bool any = false;
    while (!list.empty()) {
        const auto end = list.find('\n');
        const auto line = trimmed(list.substr(0, end));
        list = end == std::string_view::npos ? std::string_view() : list.substr(end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (!startsWithFileScheme(line))
            return false;
        any = true;
    }
    return any;
}

} // namespace

platform::ClipboardMark markOf(const std::vector<std::string>& formats, const FormatReader& read)
{
    if (offers(formats, kPasswordHint)) {
        const auto hint = read(std::string(kPasswordHint));
        if (hint && trimmed(*hint) == "secret")
            return platform::ClipboardMark::secret;
    }
    for (const auto format : kFileFormats)
        if (offers(formats, format))
            return platform::ClipboardMark::fileList;
    if (offers(formats, kUriList)) {
        const auto list = read(std::string(kUriList));
        if (list && listsOnlyFiles(*list))
            return platform::ClipboardMark::fileList;
    }
    return platform::ClipboardMark::none;
}

} // namespace twk::qt
