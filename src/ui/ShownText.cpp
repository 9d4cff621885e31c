#include "ui/ShownText.h"

#include <cstdio>

namespace twk::ui {
namespace {

bool continuesACharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::size_t shownFrom(std::string_view text, std::size_t limit)
{
    if (text.size() <= limit)
        return 0;
    std::size_t from = text.size() - limit;
    // A line start within the first half keeps the first shown line whole.
    const std::size_t lineEnd = text.find('\n', from);
    if (lineEnd != std::string_view::npos && lineEnd + 1 < text.size() && lineEnd - from < limit / 2)
        return lineEnd + 1;
    while (from < text.size() && continuesACharacter(text[from]))
        ++from;
    if (from < text.size() && text[from] == '\n' && text[from - 1] == '\r')
        ++from;
    return from;
}

std::string leftOutNotice(std::size_t leftOutBytes)
{
    char amount[32];
    const double megabytes = static_cast<double>(leftOutBytes) / (1024.0 * 1024.0);
    if (megabytes >= 1)
        std::snprintf(amount, sizeof amount, "%.1f MB", megabytes);
    else
        std::snprintf(amount, sizeof amount, "%zu KB", (leftOutBytes + 1023) / 1024);
    return std::string("[The first ") + amount + " of this text are not shown: it is too long for this window.]";
}

bool convertsOnItsOwn(std::string_view whole, std::string_view added)
{
    if (added.empty() || added.size() >= whole.size())
        return true;
    const char before = whole[whole.size() - added.size() - 1];
    return !continuesACharacter(added.front()) && !(before == '\r' && added.front() == '\n');
}

} // namespace twk::ui
