#include "wayland/WaylandClipboard.h"

#include "Texts.h"

#include <QGuiApplication>

#include <algorithm>
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
    advance();
    // Another program's content is read now, as the copy of this change; ours is none.
    copyWanted_.reset();
    if (capturing_ && !ours) {
        copyWanted_ = serial;
        copyToken_ = sequence_;
    }
    requestFetch();
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
    if (ours_ || serial_ == 0 || pending_ == serial_ || (told_ && !capturing_))
        return;
    pending_ = serial_;
    service_->fetch(serial_);
}

void WaylandClipboard::arrived(std::uint32_t serial, std::optional<FetchedContent> content)
{
    if (pending_ == serial)
        pending_.reset();
    if (serial != serial_)
        return;
    if (copyWanted_ == serial) {
        copyWanted_.reset();
        if (content) {
            platform::ClipboardCopy copy;
            copy.mark = content->mark;
            if (content->text && copy.mark == platform::ClipboardMark::none)
                copy.text = qt::withCrLf(*content->text);
            copy.token = copyToken_;
            copies_.push(std::move(copy));
        }
        // The tick may sleep again: its copy is here, or will never be.
        if (onChange)
            onChange();
        return;
    }
    fetched_ = Fetched{serial, std::move(content)};
}

void WaylandClipboard::setCapturing(bool on)
{
    const bool first = !told_;
    told_ = true;
    if (x11_)
        x11_->setCapturing(on);
    if (on == capturing_ && !first)
        return;
    capturing_ = on;
    if (!on) {
        copies_.clear();
        copyWanted_.reset();
        return;
    }
    // The text on the clipboard at start counts; one copied while capture was off does not.
    if (first)
        readPresent();
}

void WaylandClipboard::readPresent()
{
    if (!capturing_)
        return;
    if (fromX11_) {
        x11_->readPresent();
        return;
    }
    if (ours_ || serial_ == 0)
        return;
    copyWanted_ = serial_;
    copyToken_ = sequence_;
    fetched_.reset();
    pending_.reset();
    requestFetch();
}

std::vector<platform::ClipboardCopy> WaylandClipboard::takeCopies()
{
    if (!capturing_)
        return {};
    auto copies = copies_.take();
    if (!copies.empty())
        lastTaken_ = copies.back().text;
    if (x11_)
        takeX11Copies(copies);
    return copies;
}

// XWayland's copies by X11 applications. The compositor's mirror of the Wayland clipboard
// is none, and a copy it passed on to Wayland (an X11 window had the keyboard) was taken
// from there already.
void WaylandClipboard::takeX11Copies(std::vector<platform::ClipboardCopy>& copies)
{
    const auto fromWayland = copies.size();
    for (auto& copy : x11_->takeCopies()) {
        if (!x11Owner_->isApplication(static_cast<xcb_window_t>(copy.token >> 32)))
            continue;
        const auto same = [&copy](const platform::ClipboardCopy& other) { return other.text == copy.text; };
        if (copy.text == lastTaken_ || std::any_of(copies.begin(), copies.begin() + fromWayland, same))
            continue;
        copies.push_back(std::move(copy));
    }
}

bool WaylandClipboard::reading() const
{
    return capturing_ && (copyWanted_.has_value() || (x11_ && x11_->reading()));
}

// Ours count changes; a token of XWayland's (its owner in the high half) holds while no
// Wayland content came after it. Where the clipboard is set, the Wayland content is checked
// again.
bool WaylandClipboard::holds(platform::ClipboardToken token) const
{
    if (token == 0 || token == sequence_)
        return true;
    return token > 0xFFFFFFFFu && fromX11_;
}

bool WaylandClipboard::putBack(platform::ClipboardToken token, const std::string& text)
{
    if (!service_ || !holds(token))
        return false;
    const auto bytes = qt::withLfBytes(text);
    own_ = std::make_shared<const std::string>(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    ours_ = true;
    fromX11_ = false;
    // Checked again where the clipboard is set: a copy made meanwhile is not replaced.
    service_->put(own_, serial_);
    return true;
}

bool WaylandClipboard::clearIf(platform::ClipboardToken token)
{
    if (!service_ || !holds(token))
        return false;
    own_.reset();
    ours_ = true;
    fromX11_ = false;
    service_->put(nullptr, serial_);
    return true;
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
