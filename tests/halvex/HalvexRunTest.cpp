#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace test_support;

TEST(HalvexRun, RewritesDwordZeroAsStringOne) {
    const char* pszKey =
        "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0000";
    HKEY hKey = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_LOCAL_MACHINE, pszKey, 0, NULL, 0,
                                             KEY_ALL_ACCESS, NULL, &hKey, NULL));
    DWORD dwZero = 0;
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExA(hKey, "EnhLANPwrMgmt", 0, REG_DWORD,
                                            reinterpret_cast<const BYTE*>(&dwZero), 4));
    ChildProcess halvex(WindowsPath(HALVEX_EXE));
    ASSERT_TRUE(halvex.Started());
    DWORD dwExit = 0xdeadbeef;
    ASSERT_TRUE(halvex.Wait(20000, &dwExit));
    EXPECT_EQ(0u, dwExit);
    char szData[16] = "sentinel";
    DWORD dwType = 0xdeadbeef, dwSize = sizeof szData;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExA(hKey, "EnhLANPwrMgmt", NULL, &dwType,
                                              reinterpret_cast<BYTE*>(szData), &dwSize));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), dwType);
    EXPECT_EQ(2u, dwSize);
    EXPECT_STREQ("1", szData);
    RegCloseKey(hKey);
}
