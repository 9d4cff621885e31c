#pragma once

#include "platform/Shell.h"

namespace twk::qt {

class QtShell final : public platform::Shell {
public:
    bool start(const platform::ProgramStart& start) override;
    void openWithDefaultHandler(const std::string& target) override;
    void beep() override;
};

} // namespace twk::qt
