#pragma once

#include "WindowWidget.h"

namespace twk::about {
class FrmAbout;
}

namespace twk::qt {

// The about window: icon, name, version, description, disclaimer, the web link.
class AboutWidget final : public WindowWidget {
    Q_OBJECT
public:
    AboutWidget(about::FrmAbout& about, double twipsPerPixel, std::function<void()> onHelp);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    about::FrmAbout& about_;
    QWidget* link_;
};

} // namespace twk::qt
