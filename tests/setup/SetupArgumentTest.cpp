#include "SetupRun.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace setup_test;

// These run with WINEDLLOVERRIDES=newdev=n (see CMakeLists.txt), so that Wine searches for a
// native newdev.dll as Windows does: the recording one in the system folder, never the planted one
// beside Setup.exe, whose lines would begin with "planted ".
namespace {
const std::string kHardwareId = "PCI\\VEN_10B7&DEV_9200&SUBSYS_7D2A1B6E";
const char kCallLog[] = "C:\\newdev-calls.log";
// A 32-bit program's view of it is the 32-bit system folder.
const char kSystemFolder[] = "C:\\windows\\system32";

// A folder below C:\ whose path has |nLength| characters.
std::string LongDirectory(size_t nLength) {
    std::string strDirectory = "C:\\Long";
    while (strDirectory.size() < nLength)
        strDirectory +=
            "\\" + std::string(std::min<size_t>(60, nLength - strDirectory.size() - 1), 'x');
    return strDirectory;
}
} // namespace

struct Placement {
    const char* pszName;
    std::string strDirectory;
    std::string strInfPath;    // what the installation call must receive; "" for no call
    bool bByShortName = false; // started by its folder's short form, which the call must receive
};

class SetupArguments : public testing::TestWithParam<Placement> {};

TEST_P(SetupArguments, AsksOnceForInfBesideItWithForceFlag) {
    const Placement& placement = GetParam();
    MakeDirectory(placement.strDirectory);
    CopyInto(ProgramPath("SETUP_EXE", SETUP_EXE), placement.strDirectory, "Setup.exe");
    CopyInto(NEWDEV_PLANTED, placement.strDirectory, "newdev.dll");
    CopyInto(NEWDEV_RECORDER, kSystemFolder, "newdev.dll");
    std::string strStartFrom = placement.strDirectory, strInfPath = placement.strInfPath;
    if (placement.bByShortName) {
        strStartFrom = ShortPath(placement.strDirectory);
        strInfPath = strStartFrom + "\\W9X90XBC.INF";
    }
    ASSERT_FALSE(HasFatalFailure());
    ExpectQuietEnd(RunSetup(strStartFrom + "\\Setup.exe", {{"NEWDEV_CALL_LOG", kCallLog}},
                            placement.bByShortName));
    EXPECT_EQ(strInfPath.empty() ? "" : "NULL|" + kHardwareId + "|" + strInfPath + "|1|NULL\n",
              ReadText(kCallLog));
}

// A path of 260 characters or more fills the 260-character buffer and was cut; an INF path of 260
// or more would not fit the setup API's driver path. A user reaches such a folder by its short
// name.
INSTANTIATE_TEST_SUITE_P(
    Placements, SetupArguments,
    testing::Values(
        Placement{"DriverFolder", "C:\\Drivers\\Net", "C:\\Drivers\\Net\\W9X90XBC.INF"},
        Placement{"DriveRoot", "D:", "D:\\W9X90XBC.INF"},
        Placement{"DeepFolderWithSpaces", "C:\\Program Files\\Net Card\\Disk 1\\Win 98\\Drivers",
                  "C:\\Program Files\\Net Card\\Disk 1\\Win 98\\Drivers\\W9X90XBC.INF"},
        Placement{"PathOf256", LongDirectory(246), LongDirectory(246) + "\\W9X90XBC.INF"},
        Placement{"PathOf257", LongDirectory(247), ""},
        Placement{"PathOf259", LongDirectory(249), ""},
        Placement{"PathOf260", LongDirectory(250), ""},
        Placement{"PathOf300", LongDirectory(290), ""},
        Placement{"ShortNameOfPathOf300", LongDirectory(290), "", true}),
    [](const testing::TestParamInfo<Placement>& info) { return info.param.pszName; });

// A system newdev.dll that cannot be had (NULL: none) ends the run as a failed call does, and the
// copy planted in a folder that every user may write stays unused even then.
class SetupWithoutNewdev : public testing::TestWithParam<const char*> {};

TEST_P(SetupWithoutNewdev, EndsQuietlyWithoutCall) {
    const std::string strDirectory = "C:\\users\\Public\\Documents";
    CopyInto(ProgramPath("SETUP_EXE", SETUP_EXE), strDirectory, "Setup.exe");
    CopyInto(NEWDEV_PLANTED, strDirectory, "newdev.dll");
    ASSERT_TRUE(DeleteFileA((std::string(kSystemFolder) + "\\newdev.dll").c_str()));
    if (GetParam() != NULL)
        CopyInto(GetParam(), kSystemFolder, "newdev.dll");
    ASSERT_FALSE(HasFatalFailure());
    ExpectQuietEnd(RunSetup(strDirectory + "\\Setup.exe", {{"NEWDEV_CALL_LOG", kCallLog}}));
    EXPECT_EQ("", ReadText(kCallLog));
}

INSTANTIATE_TEST_SUITE_P(NoneOrWithoutFunction, SetupWithoutNewdev,
                         testing::Values(nullptr, NEWDEV_WITHOUT_FUNCTION));
