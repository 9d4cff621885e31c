#pragma once

#include "platform/Dialogs.h"

namespace twk::win32 {

class Win32Dialogs final : public platform::Dialogs {
public:
    void message(const std::string& text, platform::MessageIcon icon, const std::string& title) override;
    std::string openFile(const platform::OpenFileRequest& request) override;
};

// "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*" as the dialog takes it: the
// pieces end in NUL, and the list in a second NUL.
std::string fileDialogFilter(const std::string& filter);

} // namespace twk::win32
