#include "TestRegistry.h"

#include <sddl.h>

#include <gtest/gtest.h>

namespace test_support {

ScopedKey CreateTestKey(HKEY hParent, const std::string& strPath) {
    HKEY hKey = NULL;
    LONG lStatus =
        RegCreateKeyExA(hParent, strPath.c_str(), 0, NULL, 0, KEY_ALL_ACCESS, NULL, &hKey, NULL);
    EXPECT_EQ(ERROR_SUCCESS, lStatus) << strPath;
    return ScopedKey(lStatus == ERROR_SUCCESS ? hKey : NULL);
}

void SetTestValue(HKEY hKey, const char* pszName, DWORD dwType, const std::string& strBytes) {
    EXPECT_EQ(ERROR_SUCCESS, RegSetValueExA(hKey, pszName, 0, dwType,
                                            reinterpret_cast<const BYTE*>(strBytes.data()),
                                            static_cast<DWORD>(strBytes.size())))
        << (pszName != NULL ? pszName : "(default)");
}

void SetKeyDacl(HKEY hKey, const char* pszSddl) {
    PSECURITY_DESCRIPTOR pSd = NULL;
    ASSERT_TRUE(
        ConvertStringSecurityDescriptorToSecurityDescriptorA(pszSddl, SDDL_REVISION_1, &pSd, NULL));
    EXPECT_EQ(ERROR_SUCCESS, RegSetKeySecurity(hKey, DACL_SECURITY_INFORMATION, pSd));
    LocalFree(pSd);
}

MachineRedirect::MachineRedirect(const std::string& strName)
    : m_strPath("Software\\" + strName + "." + std::to_string(GetCurrentProcessId())),
      m_key(CreateTestKey(HKEY_CURRENT_USER, m_strPath)) {
    m_bRedirected = m_key && RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_key.get()) == ERROR_SUCCESS;
}

MachineRedirect::~MachineRedirect() {
    RegOverridePredefKey(HKEY_LOCAL_MACHINE, NULL);
    if (m_key)
        RegDeleteTreeA(m_key.get(), NULL);
    RegDeleteKeyA(HKEY_CURRENT_USER, m_strPath.c_str());
}

std::string SystemText(DWORD dwCode) {
    LPSTR lpszText = NULL;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_FROM_SYSTEM,
                   NULL, dwCode, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<LPSTR>(&lpszText), 0, NULL);
    std::string strText = lpszText != NULL ? lpszText : "(no text)";
    LocalFree(lpszText);
    return strText;
}

} // namespace test_support
