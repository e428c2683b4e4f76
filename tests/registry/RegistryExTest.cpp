#include "RegistryEx.h"

#include <gtest/gtest.h>

TEST(RegistryExSmoke, OpenOfMissingPathRemembersIt) {
    CRegistryEx reg(HKEY_CURRENT_USER);
    EXPECT_FALSE(reg.Open(HKEY_CURRENT_USER, "Software\\NoSuchKeyHere"));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reg.GetLastStatus());
    EXPECT_STREQ("Software\\NoSuchKeyHere", reg.GetPath());
}
