#pragma once

#include <QString>

#include <string>

namespace twk::qt {

// X11 drops a selection when its owner ends. Hands our text on the clipboard (UTF-8,
// as other programs get it) to the keeper program, which serves it (or gives it to a
// clipboard manager) until another program takes the clipboard.
class ClipboardKeeper {
public:
    explicit ClipboardKeeper(QString program);
    ~ClipboardKeeper();
    ClipboardKeeper(const ClipboardKeeper&) = delete;
    ClipboardKeeper& operator=(const ClipboardKeeper&) = delete;

    // Starts the keeper now, for a run that knows it ends soon: its start then overlaps
    // ours. One never given a text reads nothing and ends.
    void startEarly();
    // Waits at most kKeeperPatience for the keeper to hold the text; false when it could not.
    bool keep(const std::string& utf8);

private:
    bool start();

    QString program_;
    int socket_ = -1;
};

} // namespace twk::qt
