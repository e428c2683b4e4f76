#include "Setup.h"

#include <newdev.h>

namespace {
const char kHardwareId[] = "PCI\\VEN_10B7&DEV_9200&SUBSYS_7D2A1B6E";
const char kInfName[] = "W9X90XBC.INF";

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

typedef BOOL(WINAPI* SetDefaultDllDirectoriesProc)(DWORD);
typedef decltype(&::UpdateDriverForPlugAndPlayDevicesA) UpdateDriverProc;

// GetProcAddress's result as the function it is (through void (*)(), which casts to any).
template <typename Proc> Proc ProcAddress(HMODULE hModule, LPCSTR pszName) {
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, pszName)));
}

// Setup runs as an administrator from wherever it was unpacked, and newdev.dll is no KnownDLL:
// from now on every DLL that this process loads without a full path, and every DLL that a load
// depends on, is searched for in the system folder alone, never in the program's folder. Windows
// 8 and later have the function, Vista, 7, Server 2008 and 2008 R2 only with update KB2533623; it
// is looked up, not imported, so that 2000 and XP still start. (SetDllDirectory("") would take
// out only the current folder and leave the program's folder searched first: no help here.)
bool SearchSystemFolderOnly() {
    SetDefaultDllDirectoriesProc pfnSet = ProcAddress<SetDefaultDllDirectoriesProc>(
        ::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    return pfnSet != NULL && pfnSet(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// The system folder's newdev.dll, by its full path; NULL when it cannot be loaded. Without the
// default search above, the altered search (Windows 2000 on) still takes its dependencies from
// the system folder rather than the program's. A damaged file fails the load without a box.
HMODULE LoadSystemNewdev(bool bSystemSearch) {
    char szPath[MAX_PATH];
    const char kName[] = "\\newdev.dll";
    UINT nLength = ::GetSystemDirectoryA(szPath, MAX_PATH);
    if (nLength == 0 || nLength + sizeof kName > MAX_PATH)
        return NULL;
    CString strPath(szPath);
    strPath += kName;
    UINT uMode = ::SetErrorMode(SEM_FAILCRITICALERRORS);
    HMODULE hModule =
        ::LoadLibraryExA(strPath, NULL, bSystemSearch ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
    ::SetErrorMode(uMode);
    return hModule;
}
} // namespace

CSetupApp theApp;

BEGIN_MESSAGE_MAP(CSetupApp, CWinApp)
ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

CSetupApp::CSetupApp() : CWinApp(NULL) {}

CSetupApp::~CSetupApp() = default;

BOOL CSetupApp::InitInstance() {
    // Before anything loads a DLL (the framework's start-up loads none).
    bool bSystemSearch = SearchSystemFolderOnly();

    AfxEnableControlContainer();
    Enable3dControls();

    CString strInfPath;
    LPTSTR pszPath = strInfPath.GetBuffer(MAX_PATH);
    // A path that fills the buffer was cut short and may lack its terminator: it would name some
    // other directory than ours, so it counts as no path and the bare file name is passed.
    if (::GetModuleFileNameA(NULL, pszPath, MAX_PATH) >= MAX_PATH)
        pszPath[0] = '\0';
    strInfPath.ReleaseBuffer(-1);
    strInfPath = strInfPath.Left(strInfPath.ReverseFind('\\') + 1);
    strInfPath += kInfName;

    // Success and failure end alike: whatever the user must see, the platform shows. A newdev.dll
    // or function that cannot be had ends the run as a failed call does.
    HMODULE hNewdev = LoadSystemNewdev(bSystemSearch);
    if (hNewdev != NULL) {
        UpdateDriverProc pfnUpdate =
            ProcAddress<UpdateDriverProc>(hNewdev, "UpdateDriverForPlugAndPlayDevicesA");
        if (pfnUpdate != NULL)
            pfnUpdate(NULL, kHardwareId, strInfPath, INSTALLFLAG_FORCE, NULL);
        ::FreeLibrary(hNewdev);
    }
    return FALSE;
}
