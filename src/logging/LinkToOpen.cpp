#include "logging/LinkToOpen.h"

#include "text/Characters.h"

#include <algorithm>
#include <cctype>

namespace twk::logging {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string_view withoutSurroundings(std::string_view text)
{
    constexpr std::string_view opening = " \t\r\n<([{\"'";
    constexpr std::string_view closing = " \t\r\n>)]}\"',.;:!?";
    while (!text.empty() && opening.find(text.front()) != std::string_view::npos)
        text.remove_prefix(1);
    while (!text.empty() && closing.find(text.back()) != std::string_view::npos)
        text.remove_suffix(1);
    return text;
}

// "scheme://..." with a scheme of letters, digits, "+", "-" and ".", or one of
// the schemes that need no slashes.
bool hasScheme(std::string_view text)
{
    const auto lower = text::asciiLower(text.substr(0, 16));
    if (lower.starts_with("mailto:") || lower.starts_with("news:"))
        return text.size() > lower.find(':') + 1;
    const auto colon = text.find("://");
    if (colon == std::string_view::npos || colon == 0 || text.size() == colon + 3)
        return false;
    if (!std::isalpha(static_cast<unsigned char>(text[0])))
        return false;
    return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
    });
}

bool isMailAddress(std::string_view text)
{
    const auto at = text.find('@');
    if (at == 0 || at == std::string_view::npos || text.find('@', at + 1) != std::string_view::npos)
        return false;
    const auto domain = text.substr(at + 1);
    const auto dot = domain.find('.');
    return dot != std::string_view::npos && dot > 0 && dot + 1 < domain.size();
}

} // namespace

std::optional<std::string> LinkToOpen(std::string_view selected)
{
    const auto text = withoutSurroundings(selected);
    if (text.empty() || std::any_of(text.begin(), text.end(), isBlank))
        return std::nullopt;
    if (hasScheme(text))
        return std::string(text);
    const auto lower = text::asciiLower(text.substr(0, 4));
    if (lower == "www." && text.size() > 4)
        return "http://" + std::string(text);
    if (isMailAddress(text))
        return "mailto:" + std::string(text);
    return std::nullopt;
}

} // namespace twk::logging
