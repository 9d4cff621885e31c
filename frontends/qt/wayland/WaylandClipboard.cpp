#include "wayland/WaylandClipboard.h"

#include "Texts.h"

#include <QGuiApplication>

#include <utility>

namespace twk::wayland {

std::unique_ptr<WaylandClipboard> WaylandClipboard::connect()
{
    auto control = DataControl::connect();
    if (!control)
        return nullptr;
    return std::unique_ptr<WaylandClipboard>(new WaylandClipboard(std::move(control)));
}

WaylandClipboard::WaylandClipboard(std::unique_ptr<DataControl> control)
    : control_(std::move(control)), protocolName_(control_->protocolName())
{
}

void WaylandClipboard::attach()
{
    if (!control_)
        return;
    service_ = SelectionService::start(
        std::move(control_),
        [this](std::uint32_t serial, bool ours) {
            QMetaObject::invokeMethod(
                this, [this, serial, ours] { changed(serial, ours); }, Qt::QueuedConnection);
        },
        [this](std::uint32_t serial, std::optional<FetchedContent> content) {
            QMetaObject::invokeMethod(
                this, [this, serial, content = std::move(content)] { arrived(serial, content); }, Qt::QueuedConnection);
        });
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        x11Owner_ = std::make_unique<XWaylandOwner>();
        x11_ = std::make_unique<qt::QtClipboard>();
        x11_->onChange = [this] { x11Changed(); };
    }
}

// The service's thread ends first: nothing it posts reaches a clipboard gone.
WaylandClipboard::~WaylandClipboard()
{
    service_.reset();
}

void WaylandClipboard::advance()
{
    // 0 means "not known" to the core.
    if (++sequence_ == 0)
        sequence_ = 1;
    if (onChange)
        onChange();
}

void WaylandClipboard::changed(std::uint32_t serial, bool ours)
{
    serial_ = serial;
    ours_ = ours;
    fromX11_ = false;
    fetched_.reset();
    requestFetch();
    advance();
}

void WaylandClipboard::x11Changed()
{
    // The compositor's mirror of the Wayland clipboard is no news.
    if (!x11Owner_->isApplication())
        return;
    fromX11_ = true;
    ours_ = false;
    advance();
}

void WaylandClipboard::requestFetch()
{
    if (ours_ || serial_ == 0 || pending_ == serial_)
        return;
    pending_ = serial_;
    service_->fetch(serial_);
}

void WaylandClipboard::arrived(std::uint32_t serial, std::optional<FetchedContent> content)
{
    if (pending_ == serial)
        pending_.reset();
    if (serial == serial_)
        fetched_ = Fetched{serial, std::move(content)};
}

std::optional<platform::ClipboardMark> WaylandClipboard::mark()
{
    if (fromX11_)
        return x11_->mark();
    if (ours_)
        return platform::ClipboardMark::none;
    if (fetched_ && fetched_->content)
        return fetched_->content->mark;
    fetched_.reset(); // failed or not here yet: ask the owner (again)
    requestFetch();
    return std::nullopt;
}

std::optional<std::string> WaylandClipboard::text()
{
    if (fromX11_)
        return x11_->text();
    if (ours_)
        return own_ ? qt::withCrLf(*own_) : std::string();
    if (!fetched_ || !fetched_->content || !fetched_->content->text) {
        fetched_.reset(); // failed, not here yet or handed over already: ask the owner (again)
        requestFetch();
        return std::nullopt;
    }
    auto text = std::exchange(fetched_->content->text, nullptr);
    return qt::withCrLf(*text);
}

bool WaylandClipboard::hasText()
{
    if (fromX11_)
        return x11_->hasText();
    if (!ours_ && fetched_ && fetched_->content && fetched_->content->text)
        return !fetched_->content->text->empty();
    const auto read = text();
    return read && !read->empty();
}

bool WaylandClipboard::setText(const std::string& text)
{
    if (!service_)
        return false;
    const auto bytes = qt::withLfBytes(text);
    own_ = std::make_shared<const std::string>(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    // Ours from now on, as far as the core can tell: the compositor confirms it shortly.
    ours_ = true;
    fromX11_ = false;
    service_->put(own_);
    return true;
}

bool WaylandClipboard::clear()
{
    if (!service_)
        return false;
    own_.reset();
    ours_ = true;
    fromX11_ = false;
    service_->put(nullptr);
    return true;
}

std::optional<std::string> WaylandClipboard::ownText() const
{
    if (!ours_ || !own_)
        return std::nullopt;
    return *own_;
}

} // namespace twk::wayland
