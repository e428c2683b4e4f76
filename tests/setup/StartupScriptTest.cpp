// Runs the package's Startup.cmd under Wine's own cmd, from drive D: standing in for the share
// that holds the packages (this build's package only), with adapter instances seeded and the
// recording newdev.dll in the system folder: which package it picks, what it installs and
// patches, what it leaves in the local folder, and what a failure leaves.
#include "SetupRun.h"
#include "TestRegistry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

using namespace setup_test;
using namespace test_support;

namespace {
const char kInstancePath[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0000";
const std::string kLocal = "C:\\windows\\Halvex";
const char kCallLog[] = "C:\\newdev-calls.log";
const char kOutput[] = "C:\\startup-output.txt";
const std::string kCall =
    "NULL|PCI\\VEN_10B7&DEV_9200&SUBSYS_7D2A1B6E|C:\\windows\\Halvex\\W9X90XBC.INF|1|NULL\n";
const char kDone[] = "done; the adapters' settings from before Halvex are in "
                     "C:\\windows\\Halvex\\adapters-before.reg";
// Each cmd as this test program sees it: a 32-bit program finds the 64-bit system folder as
// sysnative.
const char* const kCmd64 =
    sizeof(void*) == 8 ? "C:\\windows\\system32\\cmd.exe" : "C:\\windows\\sysnative\\cmd.exe";
const char kCmd32[] = "C:\\windows\\syswow64\\cmd.exe";

// A computer as the script sees it: the cmd that runs it, with the processor variables it shows,
// and the package folder the script must pick there (NULL: none).
struct Computer {
    const char* pszCmd;
    const char* pszSet;
    const char* pszPackage;
};
const Computer kWindows64 = {kCmd64, "", "x64"};
const Computer kWindows64Cmd32 = {kCmd32, "", "x64"};
// What cmd sees on 32-bit Windows: x86, and no second name.
const Computer kWindows32 = {kCmd32, "set PROCESSOR_ARCHITEW6432=&", "x86"};
const Computer kItanium = {kCmd64, "set PROCESSOR_ARCHITECTURE=IA64&", NULL};
const Computer kArm64Cmd32 = {kCmd32, "set PROCESSOR_ARCHITEW6432=ARM64&", NULL};
const Computer kThisPackages = std::strcmp(HALVEX_ARCH, "x64") == 0 ? kWindows64 : kWindows32;

enum class Before { Nothing, NoDriverFiles, FileInTheWay, RunEndedInSetup };

// What the last run leaves: its exit code and its line, the installation requests since the
// computer was seeded, the adapter's value, and whether the local folder holds the package, the
// markers and the settings copy. A failure leaves the local folder as it was.
struct Outcome {
    DWORD dwExit;
    std::string strLine;
    size_t nCalls;
    const char* pszValue;
    bool bDone;
};
Outcome Done(size_t nCalls, const char* pszValue) {
    return {0, kDone, nCalls, pszValue, true};
}
Outcome Failed(DWORD dwExit, const std::string& strLine) {
    return {dwExit, strLine, 0, "0", false};
}
Outcome NoPackage(const std::string& strArch, const char* pszFile = "Setup.exe") {
    return Failed(2, "no package for " + strArch + " here: cannot read \"D:\\" + strArch + "\\" +
                         pszFile + "\"; nothing changed");
}

struct Case {
    const char* pszName;
    Computer computer;
    Before before;
    bool bRunsTwice;  // with the adapter's value seeded anew between the runs
    Outcome expected; // where the share holds the computer's package
};

void SeedAdapter() {
    SetTestValue(CreateTestKey(HKEY_LOCAL_MACHINE, kInstancePath).get(), "EnhLANPwrMgmt", REG_SZ,
                 std::string("0", 2));
}

std::string AdapterValue() {
    char szValue[64] = "(none)";
    DWORD dwSize = sizeof szValue;
    RegGetValueA(HKEY_LOCAL_MACHINE, kInstancePath, "EnhLANPwrMgmt", RRF_RT_REG_SZ, NULL, szValue,
                 &dwSize);
    return szValue;
}

// Runs the script from the share as |computer| does; its exit code (0xdeadbeef: still running
// after a minute).
DWORD RunScript(const Computer& computer, bool bEndInSetup = false) {
    std::vector<std::pair<std::string, std::string>> environment = {{"NEWDEV_CALL_LOG", kCallLog}};
    if (bEndInSetup)
        environment.push_back({"NEWDEV_END_RUN", "1"});
    ChildProcess cmd(computer.pszCmd,
                     std::string("/c ") + computer.pszSet + "D:\\" + HALVEX_ARCH +
                         "\\Startup.cmd >" + kOutput,
                     environment, "C:\\");
    EXPECT_TRUE(cmd.Started()) << computer.pszCmd << " " << GetLastError();
    DWORD dwExit = 0xdeadbeef;
    cmd.Wait(60000, &dwExit);
    return dwExit;
}
} // namespace

class StartupScript : public testing::TestWithParam<Case> {};

TEST_P(StartupScript, PicksPackageInstallsOnceAndPatchesOrChangesNothing) {
    const Case& c = GetParam();
    // A computer whose package is not on the share finds no package folder.
    const Outcome expected =
        c.computer.pszPackage != NULL && std::strcmp(c.computer.pszPackage, HALVEX_ARCH) != 0
            ? NoPackage(c.computer.pszPackage)
            : c.expected;
    const std::string strShare = std::string("D:\\") + HALVEX_ARCH;
    MakeDirectory(strShare);
    CopyInto(SETUP_EXE, strShare, "Setup.exe");
    CopyInto(HALVEX_EXE, strShare, "Halvex.exe");
    CopyInto(STARTUP_CMD, strShare, "Startup.cmd");
    if (c.before != Before::NoDriverFiles)
        CopyInto(STARTUP_CMD, strShare, "W9X90XBC.INF"); // the recorder never reads it
    CopyInto(NEWDEV_RECORDER, "C:\\windows\\system32", "newdev.dll");
    // Any file serves as the one in the way.
    if (c.before == Before::FileInTheWay)
        CopyInto(STARTUP_CMD, "C:\\windows", "Halvex");
    ASSERT_FALSE(HasFatalFailure());
    SeedAdapter();
    const std::string strLocalBefore = ReadText(kLocal);
    const DWORD dwLocalBefore = GetFileAttributesA(kLocal.c_str());
    if (c.before == Before::RunEndedInSetup) {
        EXPECT_EQ(99u, RunScript(c.computer, true)); // the recorder's end
    }
    if (c.bRunsTwice) {
        EXPECT_EQ(0u, RunScript(c.computer));
        SeedAdapter();
    }

    EXPECT_EQ(expected.dwExit, RunScript(c.computer));
    EXPECT_EQ("Startup.cmd: " + expected.strLine + "\r\n", ReadText(kOutput));
    std::string strCalls;
    for (size_t n = 0; n < expected.nCalls; n++)
        strCalls += kCall;
    EXPECT_EQ(strCalls, ReadText(kCallLog));
    EXPECT_EQ(expected.pszValue, AdapterValue());
    if (expected.bDone) {
        for (const char* pszFile : {"\\Setup.exe", "\\Halvex.exe", "\\Startup.cmd",
                                    "\\W9X90XBC.INF", "\\setup-started.txt", "\\done.txt"})
            EXPECT_NE("", ReadText(kLocal + pszFile)) << pszFile;
        // regedit writes UTF-16: ASCII text with a zero byte after each character.
        std::string strCopy = ReadText(kLocal + "\\adapters-before.reg");
        strCopy.erase(std::remove(strCopy.begin(), strCopy.end(), '\0'), strCopy.end());
        EXPECT_NE(std::string::npos, strCopy.find("\"EnhLANPwrMgmt\"=\"0\"")) << strCopy;
    } else {
        EXPECT_EQ(dwLocalBefore, GetFileAttributesA(kLocal.c_str()));
        EXPECT_EQ(strLocalBefore, ReadText(kLocal));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Computers, StartupScript,
    testing::Values(
        Case{"Windows64", kWindows64, Before::Nothing, false, Done(1, "1")},
        Case{"Windows64Cmd32", kWindows64Cmd32, Before::Nothing, false, Done(1, "1")},
        Case{"Windows32", kWindows32, Before::Nothing, false, Done(1, "1")},
        Case{"Itanium", kItanium, Before::Nothing, false,
             Failed(1, "no package for this computer's processor, \"IA64\"; nothing changed")},
        Case{"Arm64Cmd32", kArm64Cmd32, Before::Nothing, false,
             Failed(1, "no package for this computer's processor, \"ARM64\"; nothing changed")},
        Case{"SecondRunLeavesItAlone", kThisPackages, Before::Nothing, true, Done(1, "0")},
        Case{"RunEndedInSetupNotInstalledAgain", kThisPackages, Before::RunEndedInSetup, false,
             Done(1, "1")},
        Case{"DriverFilesMissing", kThisPackages, Before::NoDriverFiles, false,
             NoPackage(HALVEX_ARCH, "W9X90XBC.INF")},
        Case{"CopyFails", kThisPackages, Before::FileInTheWay, false,
             Failed(3, std::string("cannot copy \"D:\\") + HALVEX_ARCH +
                           "\" to \"C:\\windows\\Halvex\"; nothing run")}),
    [](const testing::TestParamInfo<Case>& info) { return info.param.pszName; });
