#include "ui/Window.h"

#include <gtest/gtest.h>

namespace twk::ui {
namespace {

struct CountingPeer : WindowPeer {
    void windowChanged() override {}
    void bringToFront() override { ++broughtForward; }
    int broughtForward = 0;
};

// A window restored as minimised must come up minimised; only a request to
// show a window that is already open brings it forward (and out of the task bar).
TEST(WindowTest, AWindowShownMinimisedStaysMinimisedUntilShownAgain)
{
    Window window{"probe", {0, 0, 3000, 2000}};
    CountingPeer peer;
    window.attach(&peer);
    window.setState(WindowState::Minimized);
    window.show();
    EXPECT_EQ(peer.broughtForward, 0);
    window.show();
    EXPECT_EQ(peer.broughtForward, 1);

    Window normal{"normal", {0, 0, 3000, 2000}};
    normal.attach(&peer);
    normal.show();
    EXPECT_EQ(peer.broughtForward, 2) << "a window shown normally comes forward at once";
}

} // namespace
} // namespace twk::ui
