#include "text/Characters.h"

#include "text/Utf8.h"

namespace twk::text {
namespace {

std::size_t lengthAt(std::string_view text, std::size_t at)
{
    return static_cast<unsigned char>(text[at]) < 0x80 ? 1 : utf8CharacterAt(text, at).length;
}

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

std::size_t characterCount(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t at = 0; at < text.size(); at += lengthAt(text, at))
        ++count;
    return count;
}

std::string_view firstCharacters(std::string_view text, std::size_t count)
{
    std::size_t at = 0;
    for (std::size_t seen = 0; seen < count && at < text.size(); ++seen)
        at += lengthAt(text, at);
    return text.substr(0, at);
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
