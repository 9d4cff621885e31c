#pragma once

#include "platform/Environment.h"

#include <QString>
#include <QStringList>

#include <functional>

class QScreen;

namespace twk::qt {

class QtEnvironment final : public platform::Environment {
public:
    // The screen is asked of the toolkit, made by needsToolkit when it is not yet;
    // the rest is known without it.
    QtEnvironment(QStringList arguments, QString programFolder, std::function<void()> needsToolkit)
        : arguments_(std::move(arguments)), programFolder_(std::move(programFolder)),
          needsToolkit_(std::move(needsToolkit))
    {
    }

    std::string programFolder() override;
    bool canWriteIn(const std::string& folder) override;
    std::optional<std::string> perUserFolder() override;
    std::string argumentString() override;
    std::optional<std::string> variable(const std::string& name) override;
    std::optional<std::string> defaultOpener() override;
    std::optional<std::string> logBrowser() override;
    platform::LocalDateTime now() override;
    double screenWidthTwips() override;
    double screenHeightTwips() override;
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;

private:
    QScreen* screen();

    QStringList arguments_;
    QString programFolder_;
    std::function<void()> needsToolkit_;
};

// Twips per pixel at a given number of dots per inch (15 at 96).
double twipsPerPixel(double dotsPerInch);

} // namespace twk::qt
