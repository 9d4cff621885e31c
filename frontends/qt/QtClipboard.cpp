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

const QMimeData* qtData()
{
    return QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
}

} // namespace

namespace twk::qt {

QtClipboard::QtClipboard()
{
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            changed();
    });
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        fetcher_ = ClipboardFetcher::start([this](std::uint32_t sequence, std::optional<FetchedClipboard> content) {
            QMetaObject::invokeMethod(
                this, [this, sequence, content] { arrived(sequence, content); }, Qt::QueuedConnection);
        });
    }
    requestFetch();
}

QtClipboard::~QtClipboard() = default;

bool QtClipboard::servedByQt() const
{
    return !fetcher_ || QGuiApplication::clipboard()->ownsClipboard();
}

void QtClipboard::changed()
{
    // 0 means "not known" to the core.
    if (++sequence_ == 0)
        sequence_ = 1;
    fetched_.reset();
    requestFetch();
}

void QtClipboard::requestFetch()
{
    if (servedByQt() || pending_ == sequence_)
        return;
    pending_ = sequence_;
    fetcher_->request(sequence_);
}

void QtClipboard::arrived(std::uint32_t sequence, std::optional<FetchedClipboard> content)
{
    if (pending_ == sequence)
        pending_.reset();
    if (sequence == sequence_)
        fetched_ = Fetched{sequence, std::move(content)};
}

std::optional<platform::ClipboardMark> QtClipboard::mark()
{
    if (servedByQt()) {
        const auto* data = qtData();
        if (!data)
            return platform::ClipboardMark::none;
        return markOf(formatsOf(*data), [data](const std::string& format) -> std::optional<std::string> {
            return data->data(QString::fromStdString(format)).toStdString();
        });
    }
    if (fetched_ && fetched_->content)
        return fetched_->content->mark;
    fetched_.reset(); // failed or not here yet: ask the owner (again)
    requestFetch();
    return std::nullopt;
}

std::optional<std::string> QtClipboard::text()
{
    if (servedByQt())
        return qtText();
    if (!fetched_ || !fetched_->content) {
        requestFetch();
        return std::nullopt;
    }
    const auto& content = *fetched_->content;
    lastConverted_ = content.text;
    lastRaw_ = content.raw;
    return *content.text;
}

std::optional<std::string> QtClipboard::qtText()
{
    const auto* data = qtData();
    if (!data || !data->hasText())
        return std::string();
    auto raw = std::make_shared<const std::string>(qt::fromQt(data->text()));
    if (!lastConverted_ || !lastRaw_ || *raw != *lastRaw_) {
        lastConverted_ = std::make_shared<const std::string>(withCrLf(*raw));
        lastRaw_ = std::move(raw);
    }
    return *lastConverted_;
}

bool QtClipboard::hasText()
{
    const auto read = text();
    return read && !read->empty();
}

bool QtClipboard::setText(const std::string& text)
{
    const bool unchanged = lastConverted_ && text == *lastConverted_;
    const std::string raw = unchanged && lastRaw_ ? *lastRaw_ : withLf(text);
    QGuiApplication::clipboard()->setText(toQt(raw), QClipboard::Clipboard);
    return true;
}

bool QtClipboard::clear()
{
    QGuiApplication::clipboard()->clear(QClipboard::Clipboard);
    return true;
}

std::optional<std::string> QtClipboard::ownText() const
{
    auto* clipboard = QGuiApplication::clipboard();
    if (!clipboard->ownsClipboard())
        return std::nullopt;
    const auto* data = qtData();
    if (!data || !data->hasText())
        return std::nullopt;
    return data->text().toStdString();
}

} // namespace twk::qt
