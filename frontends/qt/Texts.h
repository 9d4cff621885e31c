#pragma once

#include <QString>
#include <string>

namespace twk::qt {

// The core keeps texts in the system's 8-bit encoding with CR LF line breaks;
// Qt keeps them as QString with LF.
QString toQt(const std::string& text);
std::string fromQt(const QString& text);

// Line breaks as the core expects them: every lone LF becomes CR LF.
std::string withCrLf(const std::string& text);
// And back, for widgets and other programs: every CR LF becomes LF.
std::string withLf(const std::string& text);

} // namespace twk::qt
