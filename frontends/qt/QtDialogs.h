#pragma once

#include "platform/Dialogs.h"

#include <QString>

namespace twk::qt {

class QtDialogs final : public platform::Dialogs {
public:
    void message(const std::string& text, platform::MessageIcon icon, const std::string& title) override;
    std::string openFile(const platform::OpenFileRequest& request) override;
};

// "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*" in Qt's form, one filter per
// description; the second result is the filter at the (1-based) index.
QStringList qtFilters(const std::string& filter);

} // namespace twk::qt
