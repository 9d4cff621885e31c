#pragma once

namespace twk::shell {
class Program;
}

namespace twk::configuration {

// Fills the settings record from the INI file; on a first run it writes the
// defaults and welcomes the user first.
void LoadSettings(shell::Program& program);

} // namespace twk::configuration
