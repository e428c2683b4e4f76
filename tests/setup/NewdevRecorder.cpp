// A stand-in for the platform's newdev.dll: records every driver installation request as one line
// of the file that NEWDEV_CALL_LOG names, after NEWDEV_MARK, and reports success.
#include <windows.h>

#include <cstdio>

#ifndef NEWDEV_MARK
#define NEWDEV_MARK ""
#endif

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
    return TRUE;
}
