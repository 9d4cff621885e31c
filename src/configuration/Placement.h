#pragma once

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

// Applies a stored placement; what is missing or no number is left as it is.
void PlacementRestore(shell::Program& program, ui::Window& window, const std::string& section);

} // namespace twk::configuration
