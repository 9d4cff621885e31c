#include "logbrowser/JsonText.h"

#include "logbrowser/Utf8.h"

namespace twk::logbrowser {

std::string jsonString(std::string_view text)
{
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    std::size_t at = 0;
    while (at < text.size()) {
        const auto byte = static_cast<unsigned char>(text[at]);
        if (byte >= 0x80) {
            const auto decoded = decodeUtf8(text, at);
            if (decoded.valid)
                out.append(text.substr(at, decoded.length));
            else
                out += "\xEF\xBF\xBD";
            at += decoded.valid ? decoded.length : 1;
            continue;
        }
        switch (byte) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (byte < 0x20) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += static_cast<char>(byte);
            }
        }
        ++at;
    }
    out += '"';
    return out;
}

} // namespace twk::logbrowser
