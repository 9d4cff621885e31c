#pragma once

#include "ui/Geometry.h"

#include <string>

namespace twk::shell {
class Program;
}
namespace twk::ui {
class Window;
}

namespace twk::configuration {

// Writes the window's place, size and state into its own INI section.
void PlacementSave(shell::Program& program, const ui::Window& window, const std::string& section);

// Applies a stored placement; what is missing, no number or absurd is left
// as it is, and a window placed beyond the screen is brought within reach.
void PlacementRestore(shell::Program& program, ui::Window& window, const std::string& section);

// The bounds, no larger than the screen, moved just enough that the title
// bar and a useful part of the window are on it.
ui::Bounds KeptWithinReach(ui::Bounds bounds, float screenWidth, float screenHeight);

} // namespace twk::configuration
