#pragma once

#include "platform/Dialogs.h"

#include <QString>

#include <functional>

namespace twk::qt {

class QtDialogs final : public platform::Dialogs {
public:
    // needsToolkit makes the toolkit when a box is the first thing shown (the welcome).
    explicit QtDialogs(std::function<void()> needsToolkit = {}) : needsToolkit_(std::move(needsToolkit)) {}
    void message(const std::string& text, platform::MessageIcon icon, const std::string& title) override;
    std::string openFile(const platform::OpenFileRequest& request) override;

private:
    void makeToolkit() const
    {
        if (needsToolkit_)
            needsToolkit_();
    }

    std::function<void()> needsToolkit_;
};

// "Text Files (*.TXT)|*.TXT|All Files (*.*)|*.*" in Qt's form, one filter per
// description. Programs here carry no ".EXE": a filter for them becomes one
// that shows every file, and openFile lists only the executable ones under it.
QStringList qtFilters(const std::string& filter);
bool isProgramFilter(const QString& qtFilter);

// Why a name chosen in an open-file dialog cannot be taken, or empty when it can:
// a file that must exist and does not, or a folder that must exist and does not.
QString refusal(const platform::OpenFileRequest& request, const QString& chosen);

} // namespace twk::qt
