#include "text/Characters.h"

namespace twk::text {
namespace {

bool continues(char c)
{
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (const char c : text)
        if (!continues(c))
            ++count;
    return count;
}

std::string_view firstCharacters(std::string_view text, std::size_t count)
{
    std::size_t seen = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!continues(text[i])) {
            if (seen == count)
                return text.substr(0, i);
            ++seen;
        }
    }
    return text;
}

std::string asciiLower(std::string_view text)
{
    std::string result(text);
    for (char& c : result)
        c = lower(c);
    return result;
}

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

std::string_view beforeFirstNul(std::string_view text)
{
    return text.substr(0, text.find('\0'));
}

std::string withoutNuls(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    for (const char c : text)
        if (c != '\0')
            result += c;
    return result;
}

} // namespace twk::text
