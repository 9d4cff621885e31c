#include "fakes/FileAccess.h"

#include "platform/win32/OwnerOnlyAccess.h"

#include <vector>
#include <windows.h>

namespace twk::testing {

bool readableByOwnerAlone(const std::string& path)
{
    DWORD size = 0;
    ::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &size);
    std::vector<unsigned char> descriptor(size);
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    ACL* acl = nullptr;
    ACL_SIZE_INFORMATION info{};
    if (size == 0 || !::GetFileSecurityA(path.c_str(), DACL_SECURITY_INFORMATION, descriptor.data(), size, &size) ||
        !::GetSecurityDescriptorDacl(descriptor.data(), &present, &acl, &defaulted) || !present || !acl ||
        !::GetAclInformation(acl, &info, sizeof info, AclSizeInformation) || info.AceCount == 0)
        return false;
    auto user = twk::platform::win32::CurrentUserSid();
    if (user.empty())
        return false;
    const PSID self = user.data();
    for (DWORD i = 0; i < info.AceCount; ++i) {
        void* ace = nullptr;
        if (!::GetAce(acl, i, &ace))
            return false;
        const PSID who = &static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
        if (!::EqualSid(who, self) && !::IsWellKnownSid(who, WinLocalSystemSid))
            return false;
    }
    return true;
}

} // namespace twk::testing
