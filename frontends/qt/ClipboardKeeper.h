#pragma once

#include <QString>

#include <string>

namespace twk::qt {

// X11 drops a selection when its owner ends. Hands our text on the clipboard (UTF-8,
// as other programs get it) to the keeper program `keeper`, which serves it (or gives it
// to a clipboard manager) until another program takes the clipboard. Waits at most
// kKeeperPatience for the keeper to hold it; false when it could not.
bool KeepClipboardText(const std::string& utf8, const QString& keeper);

} // namespace twk::qt
