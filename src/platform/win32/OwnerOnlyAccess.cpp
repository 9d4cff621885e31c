#include "platform/win32/OwnerOnlyAccess.h"

namespace twk::platform::win32 {
std::vector<unsigned char> CurrentUserSid()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        ::CloseHandle(token);
        return {};
    }
    ::CloseHandle(token);
    const PSID sid = reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid;
    std::vector<unsigned char> copy(::GetLengthSid(sid));
    if (!::CopySid(static_cast<DWORD>(copy.size()), copy.data(), sid))
        return {};
    return copy;
}

OwnerOnlyAccess::OwnerOnlyAccess() : user_(CurrentUserSid())
{
    if (user_.empty())
        return;
    unsigned char systemSid[SECURITY_MAX_SID_SIZE];
    DWORD systemSize = sizeof systemSid;
    if (!::CreateWellKnownSid(WinLocalSystemSid, nullptr, systemSid, &systemSize))
        return;
    const DWORD aclSize =
        sizeof(ACL) + 2 * (sizeof(ACCESS_ALLOWED_ACE) - sizeof(DWORD)) + static_cast<DWORD>(user_.size()) + systemSize;
    acl_.resize(aclSize);
    auto* acl = reinterpret_cast<ACL*>(acl_.data());
    ready_ = ::InitializeAcl(acl, aclSize, ACL_REVISION) &&
             ::AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, user_.data()) &&
             ::AddAccessAllowedAce(acl, ACL_REVISION, FILE_ALL_ACCESS, systemSid) &&
             ::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) &&
             ::SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) &&
             ::SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED);
    attributes_ = {sizeof attributes_, &descriptor_, FALSE};
}

} // namespace twk::platform::win32
