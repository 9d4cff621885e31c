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
        fetcher_ = ClipboardFetcher::start([this] {
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (onChange)
                        onChange();
                },
                Qt::QueuedConnection);
        });
    }
    // What the core said before the toolkit was there, said again.
    if (!told_)
        return;
    if (fetcher_) {
        if (!firstOn_)
            fetcher_->setCapturing(false);
        fetcher_->setCapturing(capturing_);
    } else if (firstOn_ && capturing_) {
        queueFromQt();
    }
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
    // On X11 the fetcher follows the changes on its own; our own are no copies.
    if (fetcher_ || !capturing_ || QGuiApplication::clipboard()->ownsClipboard())
        return;
    queueFromQt();
    if (onChange)
        onChange();
}

void QtClipboard::setCapturing(bool on)
{
    const bool first = !told_;
    told_ = true;
    if (first)
        firstOn_ = on;
    capturing_ = on;
    if (!on)
        fromQt_.clear();
    if (!attached_)
        return;
    if (fetcher_)
        fetcher_->setCapturing(on);
    else if (first && on)
        queueFromQt();
}

void QtClipboard::queueFromQt()
{
    platform::ClipboardCopy copy;
    copy.token = fetcher_ ? fetcher_->present() : sequence_;
    const auto* data = qtData();
    if (data) {
        copy.mark = markOf(formatsOf(*data), [data](const std::string& format) -> std::optional<std::string> {
            return data->data(QString::fromStdString(format)).toStdString();
        });
    }
    if (copy.mark == platform::ClipboardMark::none)
        copy.text = qtText().value_or("");
    fromQt_.push(std::move(copy));
}

std::vector<platform::ClipboardCopy> QtClipboard::takeCopies()
{
    std::vector<platform::ClipboardCopy> copies;
    if (fetcher_) {
        QByteArray raw;
        copies = fetcher_->take(raw);
        if (!raw.isNull()) {
            lastRaw_ = std::move(raw);
            // A capture puts the text back within the tick that took it; after that tick the
            // owner's bytes are let go rather than kept beside the core's text.
            QTimer::singleShot(0, this, [this, handedOver = ++handOvers_] {
                if (handOvers_ == handedOver)
                    lastRaw_ = QByteArray();
            });
        }
    }
    for (auto& copy : fromQt_.take())
        copies.push_back(std::move(copy));
    return copies;
}

bool QtClipboard::reading() const
{
    return fetcher_ && fetcher_->reading();
}

void QtClipboard::readPresent()
{
    if (!capturing_ || !attached_)
        return;
    if (servedByQt())
        queueFromQt();
    else
        fetcher_->readPresent();
}

bool QtClipboard::holds(platform::ClipboardToken token) const
{
    return fetcher_ ? fetcher_->stillHolds(token) : token == sequence_;
}

bool QtClipboard::putBack(platform::ClipboardToken token, const std::string& text)
{
    if (!holds(token))
        return false;
    if (fetcher_)
        fetcher_->ownWriteBegins();
    const bool written = setText(text);
    if (fetcher_)
        fetcher_->ownWriteEnded();
    return written;
}

bool QtClipboard::clearIf(platform::ClipboardToken token)
{
    if (!holds(token))
        return false;
    if (fetcher_)
        fetcher_->ownWriteBegins();
    const bool cleared = clear();
    if (fetcher_)
        fetcher_->ownWriteEnded();
    return cleared;
}

std::optional<platform::ClipboardMark> QtClipboard::mark()
{
    if (!servedByQt())
        return std::nullopt; // another program's content is read as it is copied
    const auto* data = qtData();
    if (!data)
        return platform::ClipboardMark::none;
    return markOf(formatsOf(*data), [data](const std::string& format) -> std::optional<std::string> {
        return data->data(QString::fromStdString(format)).toStdString();
    });
}

std::optional<std::string> QtClipboard::text()
{
    if (!servedByQt())
        return std::nullopt;
    return qtText();
}

std::optional<std::string> QtClipboard::qtText()
{
    const auto* data = qtData();
    if (!data || !data->hasText())
        return std::string();
    const QByteArray raw = data->text().toLocal8Bit();
    const std::string_view bytes(raw.constData(), static_cast<std::size_t>(raw.size()));
    // Kept so that putting back the unchanged text hands over these very bytes (their
    // LF and CR LF as they were), as for a text fetched from another program.
    lastRaw_ = bytes.find("\r\n") != std::string_view::npos ? raw : QByteArray();
    return withCrLf(bytes);
}

bool QtClipboard::hasText()
{
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
