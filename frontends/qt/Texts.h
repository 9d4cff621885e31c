#pragma once

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

namespace twk::qt {

// The core keeps texts in the system's 8-bit encoding with CR LF line breaks;
// Qt keeps them as QString with LF.
QString toQt(const std::string& text);
std::string fromQt(const QString& text);

// Line breaks as the core expects them: every lone LF becomes CR LF.
std::string withCrLf(std::string_view text);
// And back, for widgets and other programs: every CR LF becomes LF.
std::string withLf(std::string_view text);
QByteArray withLfBytes(std::string_view text);
// Whether withCrLf(original) would give `converted`, found without making it.
bool isWithCrLf(std::string_view converted, std::string_view original);

} // namespace twk::qt
