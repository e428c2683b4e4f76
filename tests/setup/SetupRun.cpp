#include "SetupRun.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace setup_test {

namespace {
std::wstring Extended(const std::string& strPath) {
    return L"\\\\?\\" + std::wstring(strPath.begin(), strPath.end());
}
} // namespace

void MakeDirectory(const std::string& strDirectory) {
    for (size_t n = strDirectory.find('\\'); n != std::string::npos;
         n = strDirectory.find('\\', n + 1))
        CreateDirectoryW(Extended(strDirectory.substr(0, n)).c_str(), NULL);
    CreateDirectoryW(Extended(strDirectory).c_str(), NULL);
}

std::string ShortPath(const std::string& strPath) {
    wchar_t szShort[MAX_PATH] = L"";
    DWORD nLength = GetShortPathNameW(Extended(strPath).c_str(), szShort, MAX_PATH);
    return nLength > 4 && nLength < MAX_PATH ? Utf8(szShort + 4) : ""; // after the \\?\ prefix
}

void CopyInto(const std::string& strUnixFile, const std::string& strDirectory,
              const char* pszName) {
    // A sandbox's files are hard links to its template's: one is replaced, never written over.
    std::wstring strTarget = Extended(strDirectory + "\\" + pszName);
    DeleteFileW(strTarget.c_str());
    ASSERT_TRUE(CopyFileW(Extended(WindowsPath(strUnixFile)).c_str(), strTarget.c_str(), TRUE))
        << strDirectory << " " << GetLastError();
}

Run RunSetup(const std::string& strExe,
             const std::vector<std::pair<std::string, std::string>>& environment,
             bool bNativeCall) {
    ChildProcess setup(strExe, "", environment, "", bNativeCall);
    EXPECT_TRUE(setup.Started()) << strExe << " " << GetLastError();
    return WatchUntilEnd(setup, 30000);
}

void ExpectQuietEnd(const Run& run) {
    EXPECT_TRUE(run.bEnded);
    EXPECT_EQ(0u, run.dwExit);
    EXPECT_EQ(0u, run.nWindows);
}

} // namespace setup_test
