// Runs the package's Startup.cmd under Wine's own cmd, from drive D: standing in for the share
// that holds the packages (this build's package only), with adapter instances seeded and the
// recording newdev.dll in the system folder: which package it picks, what it installs and
// patches, what it leaves in the local folder, and what a failure leaves.
#include "SetupRun.h"
#include "TestRegistry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

using namespace setup_test;
using namespace test_support;

namespace {
const char kInstancePath[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\0000";
const char kLocal[] = "C:\\windows\\Halvex";
const char kCallLog[] = "C:\\newdev-calls.log";
const char kOutput[] = "C:\\startup-output.txt";
const char kSystemFolder[] = "C:\\windows\\system32";
const std::string kCall =
    "NULL|PCI\\VEN_10B7&DEV_9200&SUBSYS_7D2A1B6E|C:\\windows\\Halvex\\W9X90XBC.INF|1|NULL\n";
const std::string kDoneLine = "Startup.cmd: done; the adapters' settings from before Halvex are "
                              "in C:\\windows\\Halvex\\adapters-before.reg\r\n";
// Each cmd as this test program sees it: a 32-bit program finds the 64-bit system folder as
// sysnative.
const char* const kCmd64 =
    sizeof(void*) == 8 ? "C:\\windows\\system32\\cmd.exe" : "C:\\windows\\sysnative\\cmd.exe";
const char kCmd32[] = "C:\\windows\\syswow64\\cmd.exe";

// A computer as the script sees it: the cmd that runs it, with the processor variables it shows.
struct Computer {
    const char* pszCmd;
    const char* pszSet;     // cmd's commands before the script
    const char* pszPackage; // the package folder the script must pick; NULL: none
};
const Computer kWindows64 = {kCmd64, "", "x64"};
const Computer kWindows64Cmd32 = {kCmd32, "", "x64"};
// What cmd sees on 32-bit Windows: x86, and no second name.
const Computer kWindows32 = {kCmd32, "set PROCESSOR_ARCHITEW6432=&", "x86"};
const Computer kItanium = {kCmd64, "set PROCESSOR_ARCHITECTURE=IA64&", NULL};
const Computer kArm64Cmd32 = {kCmd32, "set PROCESSOR_ARCHITEW6432=ARM64&", NULL};
const Computer kThisPackages = std::strcmp(HALVEX_ARCH, "x64") == 0 ? kWindows64 : kWindows32;

enum class Before { Nothing, NoDriverFiles, FileInTheWay, SetupStarted, RunEndedInSetup };

struct Outcome {
    DWORD dwExit;
    std::string strLine; // all the script says
    size_t nCalls;       // installation requests since the computer was seeded
    const char* pszValue;
    bool bDone; // the local folder holds the package, the markers and the settings copy
};

Outcome Installed(size_t nCalls = 1, const char* pszValue = "1") {
    return {0, kDoneLine, nCalls, pszValue, true};
}

// A failure, which changes nothing.
Outcome Failed(DWORD dwExit, const std::string& strWhat) {
    return {dwExit, "Startup.cmd: " + strWhat + "\r\n", 0, "0", false};
}

Outcome NoPackage(const std::string& strArch, const char* pszFile = "Setup.exe") {
    return Failed(2, "no package for " + strArch + " here: cannot read \"D:\\" + strArch + "\\" +
                         pszFile + "\"; nothing changed");
}

struct Case {
    const char* pszName;
    Computer computer;
    Before before;
    bool bRunsTwice; // with the adapters' values seeded anew between the runs
    Outcome expected;
};

// A computer whose package is not on the share finds no package folder.
Outcome ExpectedOf(const Case& c) {
    if (c.computer.pszPackage != NULL && std::strcmp(c.computer.pszPackage, HALVEX_ARCH) != 0)
        return NoPackage(c.computer.pszPackage);
    return c.expected;
}

std::string ValueOf(const char* pszName) {
    char szValue[64] = "";
    DWORD dwSize = sizeof szValue - 1;
    HKEY hKey = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kInstancePath, 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return "(no key)";
    LONG lStatus =
        RegQueryValueExA(hKey, pszName, NULL, NULL, reinterpret_cast<BYTE*>(szValue), &dwSize);
    RegCloseKey(hKey);
    return lStatus == ERROR_SUCCESS ? szValue : "(none)";
}

bool WriteText(const std::string& strPath, const std::string& strText) {
    std::ofstream out(strPath, std::ios::binary);
    out << strText;
    return out.good();
}

void SeedAdapter() {
    SetTestValue(CreateTestKey(HKEY_LOCAL_MACHINE, kInstancePath).get(), "EnhLANPwrMgmt", REG_SZ,
                 std::string("0", 2));
}

// The text of a .reg file, which regedit writes in UTF-16.
std::string RegFileText(const std::string& strPath) {
    std::string strBytes = ReadText(strPath);
    std::wstring strText(strBytes.size() / 2, L'\0');
    std::memcpy(&strText[0], strBytes.data(), strText.size() * 2);
    return Utf8(strText);
}

// Runs the script from the share as |computer| does; its exit code, or 0xdeadbeef if it did not
// end within a minute.
DWORD RunScript(const Computer& computer,
                const std::vector<std::pair<std::string, std::string>>& environment) {
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
    const Outcome expected = ExpectedOf(c);
    const std::string strShare = std::string("D:\\") + HALVEX_ARCH;
    MakeDirectory(strShare);
    CopyInto(SETUP_EXE, strShare, "Setup.exe");
    CopyInto(HALVEX_EXE, strShare, "Halvex.exe");
    CopyInto(STARTUP_CMD, strShare, "Startup.cmd");
    if (c.before != Before::NoDriverFiles)
        CopyInto(STARTUP_CMD, strShare, "W9X90XBC.INF"); // the recorder never reads it
    CopyInto(NEWDEV_RECORDER, kSystemFolder, "newdev.dll");
    ASSERT_FALSE(HasFatalFailure());
    SeedAdapter();
    const std::vector<std::pair<std::string, std::string>> environment = {
        {"NEWDEV_CALL_LOG", kCallLog}};
    const std::string strInTheWay = "a file where the local folder must go";
    if (c.before == Before::FileInTheWay) {
        ASSERT_TRUE(WriteText(kLocal, strInTheWay));
    }
    if (c.before == Before::SetupStarted) {
        MakeDirectory(kLocal);
        ASSERT_TRUE(WriteText(std::string(kLocal) + "\\setup-started.txt", "stopped\r\n"));
    }
    if (c.before == Before::RunEndedInSetup) {
        auto ending = environment;
        ending.push_back({"NEWDEV_END_RUN", "1"});
        EXPECT_EQ(99u, RunScript(c.computer, ending));
    }
    if (c.bRunsTwice) {
        EXPECT_EQ(0u, RunScript(c.computer, environment));
        SeedAdapter();
    }

    EXPECT_EQ(expected.dwExit, RunScript(c.computer, environment));
    EXPECT_EQ(expected.strLine, ReadText(kOutput));
    std::string strCalls;
    for (size_t n = 0; n < expected.nCalls; n++)
        strCalls += kCall;
    EXPECT_EQ(strCalls, ReadText(kCallLog));
    EXPECT_EQ(expected.pszValue, ValueOf("EnhLANPwrMgmt"));
    const std::string strLocal = std::string(kLocal) + "\\";
    if (expected.bDone) {
        for (const char* pszFile : {"Setup.exe", "Halvex.exe", "Startup.cmd", "W9X90XBC.INF",
                                    "setup-started.txt", "done.txt"})
            EXPECT_NE("", ReadText(strLocal + pszFile)) << pszFile;
        EXPECT_NE(std::string::npos,
                  RegFileText(strLocal + "adapters-before.reg").find("\"EnhLANPwrMgmt\"=\"0\""))
            << RegFileText(strLocal + "adapters-before.reg");
    } else if (c.before == Before::FileInTheWay) {
        EXPECT_EQ(strInTheWay, ReadText(kLocal));
    } else {
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(kLocal));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Computers, StartupScript,
    testing::Values(
        Case{"Windows64", kWindows64, Before::Nothing, false, Installed()},
        Case{"Windows64Cmd32", kWindows64Cmd32, Before::Nothing, false, Installed()},
        Case{"Windows32", kWindows32, Before::Nothing, false, Installed()},
        Case{"Itanium", kItanium, Before::Nothing, false,
             Failed(1, "no package for this computer's processor, \"IA64\"; nothing changed")},
        Case{"Arm64Cmd32", kArm64Cmd32, Before::Nothing, false,
             Failed(1, "no package for this computer's processor, \"ARM64\"; nothing changed")},
        Case{"SecondRunLeavesItAlone", kThisPackages, Before::Nothing, true, Installed(1, "0")},
        Case{"RunEndedInSetupNotInstalledAgain", kThisPackages, Before::RunEndedInSetup, false,
             Installed()},
        Case{"SetupStartedNotStartedAgain", kThisPackages, Before::SetupStarted, false,
             Installed(0)},
        Case{"DriverFilesMissing", kThisPackages, Before::NoDriverFiles, false,
             NoPackage(HALVEX_ARCH, "W9X90XBC.INF")},
        Case{"CopyFails", kThisPackages, Before::FileInTheWay, false,
             Failed(3, std::string("cannot copy \"D:\\") + HALVEX_ARCH +
                           "\" to \"C:\\windows\\Halvex\"; nothing run")}),
    [](const testing::TestParamInfo<Case>& info) { return info.param.pszName; });
