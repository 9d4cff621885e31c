#pragma once

#include "platform/Folders.h"

namespace twk::platform {

class PosixFolders final : public Folders {
public:
    // mountTable names a file in the form of /proc/self/mounts.
    explicit PosixFolders(std::string mountTable = "/proc/self/mounts") : mountTable_(std::move(mountTable)) {}

    std::vector<std::string> drives() override;
    std::string driveOf(const std::string& folder) override;
    std::optional<std::vector<std::string>> subfolders(const std::string& folder) override;

private:
    std::string mountTable_;
};

} // namespace twk::platform
