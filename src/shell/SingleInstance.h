#pragma once

namespace twk::shell {

class Program;

inline constexpr const char* kUnwantedInstanceTitle = "unwanted instance";

// Looks for the copy of the program that runs already; when found, brings it
// forward, says so and ends this one. Returns whether the program ended.
bool CheckSingleInstance(Program& program);

} // namespace twk::shell
