#include "configuration/Placement.h"

#include "shell/Program.h"
#include "text/Numbers.h"
#include "ui/Window.h"

#include <array>

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

void PlacementRestore(shell::Program& program, ui::Window& window, const std::string& section)
{
    std::array<float, 4> values{};
    bool complete = true;
    const char* names[] = {"Left", "Top", "Width", "Height"};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const auto number = text::toNumber(program.ReadIni(section, names[i]));
        if (!number) {
            complete = false;
            break;
        }
        values[i] = static_cast<float>(*number);
    }
    if (complete)
        window.move({values[0], values[1], values[2], values[3]});

    // After the move, so a maximised window keeps the stored bounds as its
    // normal ones.
    const auto state = text::toInt16(program.ReadIni(section, "WindowState"));
    if (state && *state >= 0 && *state <= 2)
        window.setState(static_cast<ui::WindowState>(*state));
}

} // namespace twk::configuration
