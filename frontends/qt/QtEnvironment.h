#pragma once

#include "platform/Environment.h"

#include <QStringList>

namespace twk::qt {

class QtEnvironment final : public platform::Environment {
public:
    explicit QtEnvironment(QStringList arguments) : arguments_(std::move(arguments)) {}

    std::string programFolder() override;
    std::string argumentString() override;
    std::optional<std::string> variable(const std::string& name) override;
    std::optional<std::string> defaultOpener() override;
    platform::LocalDateTime now() override;
    double screenWidthTwips() override;
    double screenHeightTwips() override;
    double twipsPerPixelX() override;
    double twipsPerPixelY() override;

private:
    QStringList arguments_;
};

// Twips per pixel at a given number of dots per inch (15 at 96).
double twipsPerPixel(double dotsPerInch);

} // namespace twk::qt
