#include "Texts.h"

#include <cstring>

namespace twk::qt {
namespace {

// The conversions walk the text from one line break to the next and copy the
// bytes between in one go: a text of many megabytes takes a few passes of
// memory, not one call per byte.
std::size_t loneLineFeeds(std::string_view text)
{
    std::size_t count = 0;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1))
        if (at == 0 || text[at - 1] != '\r')
            ++count;
    return count;
}

template <typename Bytes> void appendWithLf(std::string_view text, Bytes& out)
{
    std::size_t from = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string_view::npos; at = text.find("\r\n", at + 2)) {
        out.append(text.data() + from, at - from);
        from = at + 1; // the LF stays, the CR goes
    }
    out.append(text.data() + from, text.size() - from);
}

} // namespace

QString toQt(const std::string& text)
{
    return QString::fromLocal8Bit(QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

std::string fromQt(const QString& text)
{
    const QByteArray bytes = text.toLocal8Bit();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

std::string withCrLf(std::string_view text)
{
    std::string result;
    result.reserve(text.size() + loneLineFeeds(text));
    std::size_t from = 0;
    for (std::size_t at = text.find('\n'); at != std::string_view::npos; at = text.find('\n', at + 1)) {
        if (at > 0 && text[at - 1] == '\r')
            continue;
        result.append(text.data() + from, at - from);
        result += '\r';
        from = at; // the LF itself starts the next piece
    }
    result.append(text.data() + from, text.size() - from);
    return result;
}

std::string withLf(std::string_view text)
{
    std::string result;
    result.reserve(text.size());
    appendWithLf(text, result);
    return result;
}

QByteArray withLfBytes(std::string_view text)
{
    QByteArray result;
    result.reserve(static_cast<qsizetype>(text.size()));
    appendWithLf(text, result);
    return result;
}

bool isWithCrLf(std::string_view converted, std::string_view original)
{
    std::size_t from = 0;
    std::size_t matched = 0; // how much of `converted` the original's pieces so far account for
    const auto same = [&](std::size_t length) {
        if (converted.size() - matched < length ||
            std::memcmp(converted.data() + matched, original.data() + from, length) != 0)
            return false;
        matched += length;
        return true;
    };
    for (std::size_t at = original.find('\n'); at != std::string_view::npos; at = original.find('\n', at + 1)) {
        if (at > 0 && original[at - 1] == '\r')
            continue;
        if (!same(at - from) || converted.size() - matched < 2 || converted[matched] != '\r')
            return false;
        ++matched;
        from = at;
    }
    return same(original.size() - from) && matched == converted.size();
}

} // namespace twk::qt
