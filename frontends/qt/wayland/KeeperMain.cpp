// twk3-keeper-wayland: keeps the program's last clipboard text available after the
// program has ended, as a Wayland compositor drops a content with its source. Reads
// the text (UTF-8) from its standard input, makes it the clipboard's content through
// data-control, says "ready" on its standard output, and serves it until another
// content takes its place.

#include "wayland/DataControl.h"
#include "wayland/Transfers.h"

#include <unistd.h>

#include <string>

using namespace twk::wayland;

namespace {

constexpr std::chrono::milliseconds kReaderPatience{3000};

std::string readAll(int fd)
{
    std::string all;
    char buffer[65536];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;)
        all.append(buffer, static_cast<std::size_t>(got));
    return all;
}

class Keeper final : public DataControl::Listener {
public:
    explicit Keeper(std::string text) : text_(std::move(text)) {}
    bool replaced() const { return replaced_; }

    void selection(std::shared_ptr<Offer>) override {}
    void send(wl_proxy*, const char*, int fd) override { SendNow(fd, text_, kReaderPatience); }
    void cancelled(wl_proxy*) override { replaced_ = true; }

private:
    std::string text_;
    bool replaced_ = false;
};

} // namespace

int main()
{
    const std::string text = readAll(STDIN_FILENO);
    if (text.empty())
        return 0;
    auto control = DataControl::connect();
    if (!control)
        return 1;
    Keeper keeper(text);
    control->listen(keeper);
    auto* source = control->makeSource(TextTypes());
    control->setSelection(source);
    if (!control->roundTrip())
        return 1;
    [[maybe_unused]] const auto said = write(STDOUT_FILENO, "ready\n", 6);
    close(STDOUT_FILENO);
    while (!keeper.replaced() && control->wait({}, -1)) {
    }
    control->destroySource(source);
    return 0;
}
