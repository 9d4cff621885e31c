#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace twk::text {

// Settings are stored as text and compared as numbers: blanks around the
// digits and leading zeros do not matter, and anything that is not a decimal
// number (an empty value, letters, the NUL text of an absent key) is no number.
std::optional<double> toNumber(std::string_view text);

// True only when the text is a number equal to value.
bool numberEquals(std::string_view text, double value);

// A byte setting: the number rounded half to even, if it lies in 0 to 255.
std::optional<std::uint8_t> toByte(std::string_view text);

// A 16-bit setting such as a window state, rounded the same way.
std::optional<std::int16_t> toInt16(std::string_view text);

// A number as the ordinary number-to-text conversion gives it: no leading
// blank, up to seven significant digits, a decimal point only for a fraction.
std::string singleToText(float value);

} // namespace twk::text
