#pragma once

#include "platform/Folders.h"

namespace twk::platform {

// The drives of a Windows machine ("C:\" and the like) and their folders.
class Win32Folders final : public Folders {
public:
    std::vector<std::string> drives() override;
    std::string driveOf(const std::string& folder) override;
    std::optional<std::vector<std::string>> subfolders(const std::string& folder) override;
};

} // namespace twk::platform
