#include "SetupRun.h"

#include <gtest/gtest.h>
#include <tlhelp32.h>

#include <algorithm>

using namespace test_support;

namespace setup_test {

namespace {
const char kExitFile[] = "C:\\setup-exit.txt";

std::wstring Extended(const std::string& strPath) {
    return L"\\\\?\\" + std::wstring(strPath.begin(), strPath.end());
}

// Every running process named Setup.exe.
std::vector<DWORD> SetupProcesses() {
    std::vector<DWORD> ids;
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = Process32First(hSnapshot, &entry); bMore;
         bMore = Process32Next(hSnapshot, &entry))
        if (_stricmp(entry.szExeFile, "Setup.exe") == 0)
            ids.push_back(entry.th32ProcessID);
    CloseHandle(hSnapshot);
    return ids;
}

// Wine's CreateProcess refuses program paths of MAX_PATH characters or more, which its loader
// takes: a shell starts the loader on the path and writes the exit code to a file of the prefix.
// The loader's Unix path and the DLL overrides do not reach a Unix child by themselves. No handle
// comes back, so windows are looked for on every Setup.exe.
Run RunThroughLoader(const std::string& strExe,
                     const std::vector<std::pair<std::string, std::string>>& environment) {
    Run run;
    DeleteFileA(kExitFile);
    char szLoader[MAX_PATH] = "", szOverrides[1024] = "";
    GetEnvironmentVariableA("WINELOADER", szLoader, sizeof szLoader);
    GetEnvironmentVariableA("WINEDLLOVERRIDES", szOverrides, sizeof szOverrides);
    ChildProcess shell("Z:\\bin\\sh",
                       "-c \"WINEDLLOVERRIDES=\\\"$2\\\" \\\"$0\\\" \\\"$1\\\"; "
                       "echo $? >\\\"$WINEPREFIX/drive_c/setup-exit.txt\\\"\" \"" +
                           std::string(szLoader) + "\" \"" + strExe + "\" \"" + szOverrides + "\"",
                       environment);
    for (DWORD dwStart = GetTickCount(); !run.bEnded && GetTickCount() - dwStart < 30000;
         Sleep(10)) {
        size_t nWindows = 0;
        for (DWORD dwId : SetupProcesses())
            nWindows += VisibleWindowsOf(dwId).size();
        run.nWindows = std::max(run.nWindows, nWindows);
        std::string strExit = ReadText(kExitFile);
        run.bEnded = strExit.find('\n') != std::string::npos;
        if (run.bEnded)
            run.dwExit = std::stoul(strExit);
    }
    return run;
}
} // namespace

void MakeDirectory(const std::string& strDirectory) {
    for (size_t n = strDirectory.find('\\'); n != std::string::npos;
         n = strDirectory.find('\\', n + 1))
        CreateDirectoryW(Extended(strDirectory.substr(0, n)).c_str(), NULL);
    CreateDirectoryW(Extended(strDirectory).c_str(), NULL);
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
             const std::vector<std::pair<std::string, std::string>>& environment) {
    if (strExe.size() >= MAX_PATH)
        return RunThroughLoader(strExe, environment);
    ChildProcess setup(strExe, "", environment);
    EXPECT_TRUE(setup.Started()) << strExe << " " << GetLastError();
    return WatchUntilEnd(setup, 30000);
}

void ExpectQuietEnd(const Run& run) {
    EXPECT_TRUE(run.bEnded);
    EXPECT_EQ(0u, run.dwExit);
    EXPECT_EQ(0u, run.nWindows);
}

} // namespace setup_test
