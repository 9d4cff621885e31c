#pragma once

#include <cstdint>

namespace twk::shell {

class Program;

inline constexpr std::uint8_t kWelcomeMessage = 0;
inline constexpr std::uint8_t kLogWriteFailedMessage = 1;

// Shows one of the program's fixed messages and returns once it is closed;
// an unknown code shows nothing.
void ShowAppMessage(Program& program, std::uint8_t code);

} // namespace twk::shell
