#include "ini/IniEncoding.h"

#include "ini/IniText.h"
#include "text/Utf8.h"

#include <cstdint>

namespace twk::ini {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
constexpr char32_t kReplacementCharacter = 0xFFFD;

Encoding encodingOf(std::string_view bytes)
{
    // The UTF-8 mark is looked for first, as the system does.
    if (bytes.starts_with(kUtf8Mark))
        return Encoding::Utf8;
    if (bytes.starts_with(kUtf16LittleEndianMark))
        return Encoding::Utf16LittleEndian;
    if (bytes.starts_with(kUtf16BigEndianMark))
        return Encoding::Utf16BigEndian;
    return Encoding::EightBit;
}

std::string_view markOf(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return kUtf8Mark;
    case Encoding::Utf16LittleEndian:
        return kUtf16LittleEndianMark;
    case Encoding::Utf16BigEndian:
        return kUtf16BigEndianMark;
    case Encoding::EightBit:
    case Encoding::CodePage:
        break;
    }
    return {};
}

bool isUtf16(Encoding encoding)
{
    return encoding == Encoding::Utf16LittleEndian || encoding == Encoding::Utf16BigEndian;
}

bool endsLinesInCrAlone(std::string_view text)
{
    return text.find('\n') == std::string_view::npos && text.find('\r') != std::string_view::npos;
}

bool isHighSurrogate(char32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(char32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-8, except that a lone surrogate is written like any other code point
// of three bytes: that keeps it through a decode and an encode.
void appendUtf8(std::string& text, char32_t point)
{
    char bytes[4];
    text.append(bytes, text::writeUtf8(bytes, point));
}

// The next code point of the text and its length in bytes; a byte that
// starts no well-formed sequence stands for the replacement character.
std::pair<char32_t, std::size_t> nextPoint(std::string_view text, std::size_t at)
{
    auto byteAt = [&](std::size_t i) -> char32_t { return i < text.size() ? static_cast<unsigned char>(text[i]) : 0; };
    auto continues = [&](std::size_t i) { return (byteAt(i) & 0xC0) == 0x80; };
    const char32_t lead = byteAt(at);
    if (lead < 0x80)
        return {lead, 1};
    if (lead >= 0xC2 && lead <= 0xDF && continues(at + 1))
        return {((lead & 0x1F) << 6) | (byteAt(at + 1) & 0x3F), 2};
    if (lead >= 0xE0 && lead <= 0xEF && continues(at + 1) && continues(at + 2)) {
        const char32_t point = ((lead & 0x0F) << 12) | ((byteAt(at + 1) & 0x3F) << 6) | (byteAt(at + 2) & 0x3F);
        if (point >= 0x800)
            return {point, 3};
    }
    if (lead >= 0xF0 && lead <= 0xF4 && continues(at + 1) && continues(at + 2) && continues(at + 3)) {
        const char32_t point = ((lead & 0x07) << 18) | ((byteAt(at + 1) & 0x3F) << 12) |
                               ((byteAt(at + 2) & 0x3F) << 6) | (byteAt(at + 3) & 0x3F);
        if (point >= 0x10000 && point <= 0x10FFFF)
            return {point, 4};
    }
    return {kReplacementCharacter, 1};
}

std::string decodedUtf16(std::string_view bytes, bool bigEndian)
{
    const auto unitAt = [&](std::size_t i) -> char32_t {
        const char32_t first = static_cast<unsigned char>(bytes[2 * i]);
        const char32_t second = static_cast<unsigned char>(bytes[2 * i + 1]);
        return bigEndian ? (first << 8) | second : (second << 8) | first;
    };
    const std::size_t units = bytes.size() / 2;
    std::string text;
    text.reserve(units);
    for (std::size_t i = 0; i < units; ++i) {
        const auto unit = unitAt(i);
        if (isHighSurrogate(unit) && i + 1 < units && isLowSurrogate(unitAt(i + 1))) {
            appendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (unitAt(i + 1) - 0xDC00));
            ++i;
        } else {
            appendUtf8(text, unit);
        }
    }
    return text;
}

std::string encodedUtf16(std::string_view text, bool bigEndian)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    const auto unit = [&](char32_t value) {
        const auto high = static_cast<char>(value >> 8);
        const auto low = static_cast<char>(value & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    };
    for (std::size_t at = 0; at < text.size();) {
        const auto [point, length] = nextPoint(text, at);
        at += length;
        if (point >= 0x10000) {
            unit(0xD800 + ((point - 0x10000) >> 10));
            unit(0xDC00 + ((point - 0x10000) & 0x3FF));
        } else {
            unit(point);
        }
    }
    return bytes;
}

} // namespace

bool isPlainText(std::string_view bytes)
{
    return encodingOf(bytes) == Encoding::EightBit && !endsLinesInCrAlone(bytes);
}

bool isInCodePage(std::string_view bytes, const platform::CodePage* legacy)
{
    return legacy && encodingOf(bytes) == Encoding::EightBit && !text::isUtf8(bytes);
}

DecodedFile decoded(std::string_view bytes, const platform::CodePage* legacy)
{
    DecodedFile file;
    file.form.encoding = encodingOf(bytes);
    auto body = bytes.substr(markOf(file.form.encoding).size());
    if (isUtf16(file.form.encoding)) {
        if (body.size() % 2 != 0) {
            file.form.strayByte = body.back();
            body.remove_suffix(1);
        }
        file.text = decodedUtf16(body, file.form.encoding == Encoding::Utf16BigEndian);
    } else if (isInCodePage(bytes, legacy)) {
        file.form.encoding = Encoding::CodePage;
        file.text = legacy->toUtf8(body);
    } else {
        file.text.assign(body);
    }
    if (endsLinesInCrAlone(file.text))
        file.form.lineBreak = "\r";
    return file;
}

std::string encoded(std::string_view text, const FileForm& form, const platform::CodePage* legacy)
{
    if (form.encoding == Encoding::CodePage) {
        if (auto bytes = legacy ? legacy->fromUtf8(text) : std::nullopt)
            return *bytes;
        return std::string(kUtf8Mark) + std::string(text);
    }
    std::string bytes(markOf(form.encoding));
    if (isUtf16(form.encoding))
        bytes += encodedUtf16(text, form.encoding == Encoding::Utf16BigEndian);
    else
        bytes += text;
    if (form.strayByte)
        bytes += *form.strayByte;
    return bytes;
}

std::optional<std::string> valueInFile(std::string_view bytes, std::string_view section, std::string_view key,
                                       const platform::CodePage* legacy)
{
    if (isPlainText(bytes) && !isInCodePage(bytes, legacy))
        return findValue(bytes, section, key);
    return findValue(decoded(bytes, legacy).text, section, key);
}

std::string fileWithValue(std::string_view bytes, std::string_view section, std::string_view key,
                          std::string_view value, const platform::CodePage* legacy)
{
    if (isPlainText(bytes) && !isInCodePage(bytes, legacy))
        return withValue(bytes, section, key, value);
    const auto file = decoded(bytes, legacy);
    return encoded(withValue(file.text, section, key, value, file.form.lineBreak), file.form, legacy);
}

} // namespace twk::ini
