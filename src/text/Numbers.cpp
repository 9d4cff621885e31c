#include "text/Numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace twk::text {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::optional<double> rounded(std::string_view text, double low, double high)
{
    const auto number = toNumber(text);
    if (!number)
        return std::nullopt;
    const double value = std::nearbyint(*number); // the default mode rounds half to even
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> toNumber(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (text.empty())
        return std::nullopt;

    // Only sign, digits and one decimal point: no hex, no "inf", no exponent.
    std::size_t i = 0;
    if (text[i] == '+' || text[i] == '-')
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c)))
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;

    const bool plus = text.front() == '+';
    std::string_view body = plus ? text.substr(1) : text;
    double value = 0;
    const auto result = std::from_chars(body.data(), body.data() + body.size(), value);
    if (result.ec != std::errc() || result.ptr != body.data() + body.size())
        return std::nullopt;
    return value;
}

bool numberEquals(std::string_view text, double value)
{
    const auto number = toNumber(text);
    return number && *number == value;
}

std::optional<std::uint8_t> toByte(std::string_view text)
{
    const auto value = rounded(text, 0, 255);
    if (!value)
        return std::nullopt;
    return static_cast<std::uint8_t>(*value);
}

std::optional<std::int16_t> toInt16(std::string_view text)
{
    const auto value = rounded(text, -32768, 32767);
    if (!value)
        return std::nullopt;
    return static_cast<std::int16_t>(*value);
}

std::string singleToText(float value)
{
    if (value == 0)
        return "0";
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.7G", static_cast<double>(value));
    std::string text = buffer;
    const auto exponent = text.find('E');
    std::string mantissa = text.substr(0, exponent);
    if (mantissa.find('.') != std::string::npos) {
        while (mantissa.back() == '0')
            mantissa.pop_back();
        if (mantissa.back() == '.')
            mantissa.pop_back();
    }
    if (exponent == std::string::npos)
        return mantissa;
    // Keep the exponent's sign and drop its leading zeros ("E+07" stays "E+07").
    return mantissa + text.substr(exponent);
}

} // namespace twk::text
