#include "fakes/FileAccess.h"

#include <vector>
#include <windows.h>

namespace twk::testing {
namespace {

std::vector<unsigned char> currentUser()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> user(size);
    const bool known = size > 0 && ::GetTokenInformation(token, TokenUser, user.data(), size, &size);
    ::CloseHandle(token);
    return known ? user : std::vector<unsigned char>();
}

} // namespace

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
    auto user = currentUser();
    if (user.empty())
        return false;
    const PSID self = reinterpret_cast<TOKEN_USER*>(user.data())->User.Sid;
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
