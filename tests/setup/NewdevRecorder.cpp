// A stand-in for the platform's newdev.dll: records every driver installation request as one line
// of the file that NEWDEV_CALL_LOG names, after NEWDEV_MARK, and reports success. With
// NEWDEV_END_RUN set, the request instead ends the run that made it, once recorded.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>

#ifndef NEWDEV_MARK
#define NEWDEV_MARK ""
#endif

namespace {
// Ends the process that started this one, then this one: what a power cut, or a start-up script's
// time limit, does to a script in the middle of the installation.
void EndRun() {
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = Process32First(hSnapshot, &entry); bMore;
         bMore = Process32Next(hSnapshot, &entry)) {
        if (entry.th32ProcessID != GetCurrentProcessId())
            continue;
        HANDLE hParent = OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ParentProcessID);
        if (hParent != NULL) {
            TerminateProcess(hParent, 99);
            CloseHandle(hParent);
        }
    }
    CloseHandle(hSnapshot);
    ExitProcess(99);
}
} // namespace

extern "C" __declspec(dllexport) BOOL WINAPI
UpdateDriverForPlugAndPlayDevicesA(HWND hwndParent, LPCSTR pszHardwareId, LPCSTR pszFullInfPath,
                                   DWORD dwInstallFlags, PBOOL pbRebootRequired) {
    char szLog[MAX_PATH] = "";
    if (GetEnvironmentVariableA("NEWDEV_CALL_LOG", szLog, sizeof szLog) == 0)
        return FALSE;
    FILE* pFile = std::fopen(szLog, "ab");
    if (pFile == NULL)
        return FALSE;
    std::fprintf(pFile, NEWDEV_MARK "%s|%s|%s|%lu|%s\n", hwndParent == NULL ? "NULL" : "window",
                 pszHardwareId != NULL ? pszHardwareId : "NULL",
                 pszFullInfPath != NULL ? pszFullInfPath : "NULL", dwInstallFlags,
                 pbRebootRequired == NULL ? "NULL" : "pointer");
    std::fclose(pFile);
    if (GetEnvironmentVariableA("NEWDEV_END_RUN", NULL, 0) != 0)
        EndRun();
    return TRUE;
}
