#pragma once

#include <optional>
#include <string>
#include <string_view>

// The private-profile text format: "[section]" lines, each followed by
// "key=value" lines. Reading follows what hand-edited files get from the
// system's private-profile calls: names compared without regard to ASCII
// case, blanks around names and values ignored, a value in double or single
// quotes read without them, a line without "=" a key without a value, and
// where a section or a key stands twice, the first one wins. Writing changes
// only the line it must. How lines break is told in IniLines.h; how a file
// with a byte-order mark becomes such a text, in IniEncoding.h.
namespace twk::ini {

std::optional<std::string> findValue(std::string_view content, std::string_view section, std::string_view key);

bool hasSection(std::string_view content, std::string_view section);

// The file's content after writing key=value into section: an existing key is
// replaced in place, a missing key goes after its section's last line, and a
// missing section goes at the end of the file. The value is written as it is,
// line breaks included. The lines it adds end in lineBreak.
std::string withValue(std::string_view content, std::string_view section, std::string_view key, std::string_view value,
                      std::string_view lineBreak = "\r\n");

// What a new section adds at the end of a file whose content ends as given.
std::string newSectionText(std::string_view contentEnd, std::string_view section, std::string_view key,
                           std::string_view value, std::string_view lineBreak = "\r\n");

// The same as the text before the value and the text after it, for a value too
// large to be copied into one.
struct AroundValue {
    std::string before;
    std::string after;
};
AroundValue newSectionAround(std::string_view contentEnd, std::string_view section, std::string_view key,
                             std::string_view lineBreak = "\r\n");

} // namespace twk::ini
