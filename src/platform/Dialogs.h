#pragma once

#include <string>

namespace twk::platform {

enum class MessageIcon { None, Information, Exclamation, Critical };

// The open-file dialog as the program sets it up each time it shows one.
struct OpenFileRequest {
    std::string title;
    std::string fileName; // the name the dialog opens with
    std::string filter;   // "Description|pattern|Description|pattern"
    int filterIndex = 1;
    bool fileMustExist = false;
    bool pathMustExist = false;
    bool promptToCreate = false;
};

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // A modal message box with an OK button; returns when the user closed it.
    virtual void message(const std::string& text, MessageIcon icon, const std::string& title) = 0;
    // Returns the name the dialog holds when it closes: the chosen file, or,
    // when cancelled, the name it was opened with.
    virtual std::string openFile(const OpenFileRequest& request) = 0;
};

} // namespace twk::platform
