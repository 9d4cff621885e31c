#include "ShownText.h"

namespace twk::qt {
namespace {

bool continuesACharacter(char byte)
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

} // namespace

std::size_t shownFrom(const std::string& text, std::size_t limit)
{
    if (text.size() <= limit)
        return 0;
    std::size_t from = text.size() - limit;
    // A line start within the first half keeps the first shown line whole.
    const std::size_t lineEnd = text.find('\n', from);
    if (lineEnd != std::string::npos && lineEnd + 1 < text.size() && lineEnd - from < limit / 2)
        return lineEnd + 1;
    while (from < text.size() && continuesACharacter(text[from]))
        ++from;
    if (from < text.size() && text[from] == '\n' && text[from - 1] == '\r')
        ++from;
    return from;
}

QString leftOutNotice(std::size_t leftOutBytes)
{
    const double megabytes = static_cast<double>(leftOutBytes) / (1024.0 * 1024.0);
    const QString amount = megabytes >= 1 ? QStringLiteral("%1 MB").arg(megabytes, 0, 'f', 1)
                                          : QStringLiteral("%1 KB").arg((leftOutBytes + 1023) / 1024);
    return QStringLiteral("[The first %1 of this text are not shown: it is too long for this window.]").arg(amount);
}

bool convertsOnItsOwn(const std::string& whole, std::string_view added)
{
    if (added.empty() || added.size() >= whole.size())
        return true;
    const char before = whole[whole.size() - added.size() - 1];
    return !continuesACharacter(added.front()) && !(before == '\r' && added.front() == '\n');
}

} // namespace twk::qt
