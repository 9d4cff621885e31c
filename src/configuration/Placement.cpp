#include "configuration/Placement.h"

#include "shell/Program.h"
#include "text/Numbers.h"
#include "ui/Window.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace twk::configuration {

void PlacementSave(shell::Program& program, const ui::Window& window, const std::string& section)
{
    const auto& b = window.bounds();
    program.WriteIni(section, "Left", text::singleToText(b.left));
    program.WriteIni(section, "Top", text::singleToText(b.top));
    program.WriteIni(section, "Width", text::singleToText(b.width));
    program.WriteIni(section, "Height", text::singleToText(b.height));
    program.WriteIni(section, "WindowState", std::to_string(static_cast<int>(window.state())));
}

namespace {

// Far beyond any screen: a value this large was not written by the program.
constexpr double kLargestPlausibleTwips = 1.0e7;
// What stays on the screen of a window placed partly off it: its title bar
// and about an inch of it, enough to take hold of it.
constexpr float kReachableTwips = 1440;

bool plausible(const std::array<double, 4>& values)
{
    for (const double value : values)
        if (!(std::abs(value) <= kLargestPlausibleTwips))
            return false;
    return values[2] > 0 && values[3] > 0;
}

float within(float value, float lowest, float highest)
{
    return std::max(lowest, std::min(value, highest));
}

} // namespace

ui::Bounds KeptWithinReach(ui::Bounds b, float screenWidth, float screenHeight)
{
    b.width = std::min(b.width, screenWidth);
    b.height = std::min(b.height, screenHeight);
    const float reachX = std::min(b.width, kReachableTwips);
    const float reachY = std::min(b.height, kReachableTwips);
    b.left = within(b.left, reachX - b.width, screenWidth - reachX);
    b.top = within(b.top, 0, screenHeight - reachY);
    return b;
}

void PlacementRestore(shell::Program& program, ui::Window& window, const std::string& section)
{
    std::array<double, 4> values{};
    bool complete = true;
    const char* names[] = {"Left", "Top", "Width", "Height"};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto number = text::toNumber(program.ReadIni(section, names[i]));
        if (!number) {
            complete = false;
            break;
        }
        values[i] = *number;
    }
    // A record from a larger or another screen comes back where it can be
    // reached; an absurd one (a hand-edited file) counts as no record.
    if (complete && plausible(values)) {
        auto& environment = program.platform.environment;
        window.move(KeptWithinReach({static_cast<float>(values[0]), static_cast<float>(values[1]),
                                     static_cast<float>(values[2]), static_cast<float>(values[3])},
                                    static_cast<float>(environment.screenWidthTwips()),
                                    static_cast<float>(environment.screenHeightTwips())));
    }

    // After the move, so a maximised window keeps the stored bounds as its
    // normal ones.
    const auto state = text::toInt16(program.ReadIni(section, "WindowState"));
    if (state && *state >= 0 && *state <= 2)
        window.setState(static_cast<ui::WindowState>(*state));
}

} // namespace twk::configuration
