#include "QtClipboard.h"

#include "ClipboardMarks.h"
#include "Texts.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QTimer>

#include <utility>

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
    if (QCoreApplication::instance())
        attach();
}

void QtClipboard::attach()
{
    if (attached_)
        return;
    attached_ = true;
    connect(QGuiApplication::clipboard(), &QClipboard::changed, this, [this](QClipboard::Mode mode) {
        if (mode == QClipboard::Clipboard)
            changed();
    });
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        fetcher_ = ClipboardFetcher::start([this](std::uint32_t sequence, std::optional<FetchedClipboard> content) {
            QMetaObject::invokeMethod(
                this, [this, sequence, content = std::move(content)] { arrived(sequence, content); },
                Qt::QueuedConnection);
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
    if (onChange)
        onChange();
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
    if (!fetched_ || !fetched_->content || !fetched_->content->text) {
        fetched_.reset(); // failed, not here yet or handed over already: ask the owner (again)
        requestFetch();
        return std::nullopt;
    }
    auto& content = *fetched_->content;
    lastRaw_ = std::exchange(content.raw, QByteArray());
    std::string text = std::move(*content.text);
    content.text.reset();
    // A capture puts the text back within the tick that read it; after that tick the
    // owner's bytes are let go rather than kept beside the core's text.
    QTimer::singleShot(0, this, [this, handedOver = ++handOvers_] {
        if (handOvers_ == handedOver)
            lastRaw_ = QByteArray();
    });
    return text;
}

std::optional<std::string> QtClipboard::qtText()
{
    const auto* data = qtData();
    if (!data || !data->hasText())
        return std::string();
    const QByteArray raw = data->text().toLocal8Bit();
    const std::string_view bytes(raw.constData(), static_cast<std::size_t>(raw.size()));
    lastRaw_ = bytes.find("\r\n") != std::string_view::npos ? raw : QByteArray();
    return withCrLf(bytes);
}

bool QtClipboard::hasText()
{
    if (!servedByQt() && fetched_ && fetched_->content && fetched_->content->text)
        return !fetched_->content->text->empty();
    const auto read = text();
    return read && !read->empty();
}

bool QtClipboard::setText(const std::string& text)
{
    const bool unchanged = !lastRaw_.isNull() && isWithCrLf(text, {lastRaw_.constData(), std::size_t(lastRaw_.size())});
    const QByteArray bytes = unchanged ? lastRaw_ : withLfBytes(text);
    auto* data = new QMimeData;
    // Valid UTF-8 is what Qt would make of the text anyway: handing over the bytes spares
    // a UTF-16 copy of it. Anything else goes through QString as before, which mends it.
    if (QByteArrayView(bytes).isValidUtf8())
        data->setData(QStringLiteral("text/plain"), bytes);
    else
        data->setText(QString::fromLocal8Bit(bytes));
    QGuiApplication::clipboard()->setMimeData(data, QClipboard::Clipboard);
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
    // The bytes Qt serves for UTF8_STRING, without a detour through UTF-16.
    const QByteArray bytes = data->data(QStringLiteral("text/plain"));
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

} // namespace twk::qt
