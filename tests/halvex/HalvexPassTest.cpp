// The patch pass inside the test process, below a scratch key that HKEY_LOCAL_MACHINE is
// redirected to, with the registry handles that the pass opens and closes counted.
#include "Halvex.h"
#include "KeyLedger.h"
#include "TestRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {
const char kInstancePrefix[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";

class HalvexPass : public ::testing::Test {
protected:
    void SetUp() override {
        m_strScratch = "Software\\HalvexPassTests." + std::to_string(GetCurrentProcessId());
        m_scratch = CreateTestKey(HKEY_CURRENT_USER, m_strScratch);
        ASSERT_NE(nullptr, m_scratch);
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_scratch.get()));
    }
    void TearDown() override {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, NULL);
        RegDeleteTreeA(m_scratch.get(), NULL);
        RegDeleteKeyA(HKEY_CURRENT_USER, m_strScratch.c_str());
    }

    void SeedInstances(int nCount) {
        for (int i = 0; i < nCount; i++)
            SetTestValue(CreateTestKey(m_scratch.get(), InstancePath(i)).get(), "EnhLANPwrMgmt",
                         REG_SZ, std::string("0", 2));
    }

    static std::string InstancePath(int i) {
        char szName[8];
        snprintf(szName, sizeof szName, "%04d", i);
        return kInstancePrefix + std::string(szName);
    }

    std::string ValueOf(int i) {
        char szData[16] = "sentinel";
        DWORD dwSize = sizeof szData;
        RegGetValueA(m_scratch.get(), InstancePath(i).c_str(), "EnhLANPwrMgmt", RRF_RT_REG_SZ, NULL,
                     szData, &dwSize);
        return szData;
    }

    std::string m_strScratch;
    ScopedKey m_scratch;
};
} // namespace

TEST_F(HalvexPass, HoldsNoKeyOpenAfterwardsHoweverManyInstances) {
    const int nInstances = 50;
    SeedInstances(nInstances);
    {
        KeyLedger ledger;
        ASSERT_TRUE(ledger.Patched());
        theApp.PatchAdapters();
        EXPECT_EQ(0, ledger.OpenKeys());
        // The class key check and the listing's own key, at most: not one per instance.
        EXPECT_LE(ledger.PeakKeys(), 2);
        EXPECT_EQ(2 + 1 + nInstances, ledger.OpenedKeys());
    }
    for (int i = 0; i < nInstances; i++)
        EXPECT_EQ("1", ValueOf(i)) << InstancePath(i);
    EXPECT_STREQ(InstancePath(nInstances - 1).c_str(), theApp.m_strKeyPath);
}

TEST_F(HalvexPass, InitInstanceRunsThePassAndLeavesNoMainWindowBehind) {
    SeedInstances(1);
    theApp.m_pMainWnd = NULL;
    EXPECT_FALSE(theApp.InitInstance());
    EXPECT_EQ(nullptr, theApp.m_pMainWnd);
    EXPECT_EQ("1", ValueOf(0));
}
