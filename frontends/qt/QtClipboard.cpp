#include "QtClipboard.h"

#include "Texts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace twk::qt {

std::optional<std::string> QtClipboard::text()
{
    const auto* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data || !data->hasText())
        return std::string();
    std::string raw = fromQt(data->text());
    if (raw != lastRaw_) {
        lastRaw_ = std::move(raw);
        lastConverted_ = withCrLf(lastRaw_);
    }
    return lastConverted_;
}

bool QtClipboard::hasText()
{
    const auto* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    return data && data->hasText();
}

bool QtClipboard::setText(const std::string& text)
{
    const std::string raw = text == lastConverted_ ? lastRaw_ : withLf(text);
    QGuiApplication::clipboard()->setText(toQt(raw), QClipboard::Clipboard);
    return true;
}

bool QtClipboard::clear()
{
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
    return true;
}

} // namespace twk::qt
