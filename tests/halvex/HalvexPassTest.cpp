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
    void SetUp() override { ASSERT_TRUE(m_machine.Redirected()); }

    // The scratch key that HKEY_LOCAL_MACHINE stands for.
    HKEY Scratch() const { return m_machine.Key(); }

    void SeedInstances(int nCount) {
        for (int i = 0; i < nCount; i++)
            SetTestValue(CreateTestKey(Scratch(), InstancePath(i)).get(), "EnhLANPwrMgmt", REG_SZ,
                         std::string("0", 2));
    }

    static std::string InstancePath(int i) {
        char szName[8];
        snprintf(szName, sizeof szName, "%04d", i);
        return kInstancePrefix + std::string(szName);
    }

    std::string ValueOf(int i) {
        char szData[16] = "sentinel";
        DWORD dwSize = sizeof szData;
        RegGetValueA(Scratch(), InstancePath(i).c_str(), "EnhLANPwrMgmt", RRF_RT_REG_SZ, NULL,
                     szData, &dwSize);
        return szData;
    }

    MachineRedirect m_machine{"HalvexPassTests"};
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
