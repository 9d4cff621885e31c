#pragma once

#include <optional>
#include <string>
#include <string_view>

// How a private-profile file was saved, as the system's calls tell it: a
// UTF-8 byte-order mark, or a UTF-16 one (little- or big-endian), or none, in
// which case the file is in the program's 8-bit encoding. The text of the
// other forms is decoded for reading and editing and encoded back on write,
// so that a file keeps its mark, its encoding and its kind of line break.
namespace twk::ini {

enum class Encoding { EightBit, Utf8, Utf16LittleEndian, Utf16BigEndian };

struct FileForm {
    Encoding encoding = Encoding::EightBit;
    // What ends the lines a write adds: CR alone in a file whose lines end so.
    std::string_view lineBreak = "\r\n";
    // A UTF-16 file of an odd length keeps its last byte, which holds no character.
    std::optional<char> strayByte;
};

// True when the bytes are the text as it stands and new lines end in CR LF:
// no byte-order mark, and lines that end in LF or CR LF. Looks no further
// than the first line feed, so it costs little on a long log.
bool isPlainText(std::string_view bytes);

struct DecodedFile {
    FileForm form;
    // The text without its mark, in the program's 8-bit encoding. UTF-16 code
    // units that pair with none are kept, so that encoding the text again
    // gives back the same bytes.
    std::string text;
};

DecodedFile decoded(std::string_view bytes);

std::string encoded(std::string_view text, const FileForm& form);

// The value of a key, and the file after a write, whatever form the file was
// saved in; a plain file is read and changed as it stands.
std::optional<std::string> valueInFile(std::string_view bytes, std::string_view section, std::string_view key);
std::string fileWithValue(std::string_view bytes, std::string_view section, std::string_view key,
                          std::string_view value);

} // namespace twk::ini
