#include "QtClipboard.h"

#include "ClipboardMarks.h"
#include "Texts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace {

std::vector<std::string> formatsOf(const QMimeData& data)
{
    std::vector<std::string> formats;
    for (const auto& format : data.formats())
        formats.push_back(format.toStdString());
    return formats;
}

} // namespace

namespace twk::qt {

QtClipboard::QtClipboard()
{
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        // 0 means "not known" to the core.
        if (mode == QClipboard::Clipboard && ++sequence_ == 0)
            sequence_ = 1;
    });
}

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

std::optional<platform::ClipboardMark> QtClipboard::mark()
{
    const auto* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    if (!data)
        return platform::ClipboardMark::none;
    return markOf(formatsOf(*data), [data](const std::string& format) -> std::optional<std::string> {
        return data->data(QString::fromStdString(format)).toStdString();
    });
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
