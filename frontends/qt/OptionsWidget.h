#pragma once

#include "WindowWidget.h"

namespace twk::configuration {
class FrmOptions;
}

namespace twk::qt {

// "TWK Options": the page list, the three pages and the buttons along the bottom.
class OptionsWidget final : public WindowWidget {
    Q_OBJECT
public:
    OptionsWidget(configuration::FrmOptions& options, double twipsPerPixel, std::function<void()> onHelp);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    configuration::FrmOptions& options_;
    QWidget* mainFolderButton_ = nullptr;
    QWidget* linkFolderButton_ = nullptr;
};

} // namespace twk::qt
