#include "Setup.h"

#include <newdev.h>

namespace {
const char kHardwareId[] = "PCI\\VEN_10B7&DEV_9200&SUBSYS_7D2A1B6E";
const char kInfName[] = "W9X90XBC.INF";

#ifndef LOAD_LIBRARY_SEARCH_SYSTEM32
#define LOAD_LIBRARY_SEARCH_SYSTEM32 0x00000800
#endif

typedef BOOL(WINAPI* SetDefaultDllDirectoriesProc)(DWORD);
typedef BOOL(WINAPI* SetDllDirectoryProc)(LPCSTR);
typedef decltype(&::UpdateDriverForPlugAndPlayDevicesA) UpdateDriverProc;

// GetProcAddress's result as the function it is (through void (*)(), which casts to any).
template <typename Proc> Proc ProcAddress(HMODULE hModule, LPCSTR pszName) {
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(::GetProcAddress(hModule, pszName)));
}

// Setup runs as an administrator from wherever it was unpacked, and newdev.dll is no KnownDLL:
// from now on every DLL that this process loads without a full path, and every DLL that a load
// depends on, is searched for in the system folder alone, never in the program's folder. Windows
// 8 and later have the function, Vista, 7, Server 2008 and 2008 R2 only with update KB2533623; it
// is looked up, not imported, so that 2000 and XP still start.
bool SearchSystemFolderOnly() {
    SetDefaultDllDirectoriesProc pfnSet = ProcAddress<SetDefaultDllDirectoriesProc>(
        ::GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories");
    return pfnSet != NULL && pfnSet(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// Where the search above cannot be set, an empty DLL directory (XP SP1 and Server 2003 on, looked
// up for 2000's sake) takes the current folder out of the search for DLLs that this process loads
// by bare name at run time, the setup API's among them. The program's folder is still searched
// first.
void SkipCurrentFolderInDllSearch() {
    SetDllDirectoryProc pfnSet =
        ProcAddress<SetDllDirectoryProc>(::GetModuleHandleA("kernel32.dll"), "SetDllDirectoryA");
    if (pfnSet != NULL)
        pfnSet("");
}

// The system folder's newdev.dll, by its full path; NULL when it cannot be loaded. Without the
// default search above, the altered search (Windows 2000 on) still takes its dependencies from
// the system folder rather than the program's. A damaged file fails the load without a box, on top
// of the error mode that the program was started with.
HMODULE LoadSystemNewdev(bool bSystemSearch) {
    char szPath[MAX_PATH];
    const char kName[] = "\\newdev.dll";
    UINT nLength = ::GetSystemDirectoryA(szPath, MAX_PATH);
    if (nLength == 0 || nLength + sizeof kName > MAX_PATH)
        return NULL;
    CString strPath(szPath);
    strPath += kName;
    UINT uMode = ::SetErrorMode(0);
    ::SetErrorMode(uMode | SEM_FAILCRITICALERRORS);
    HMODULE hModule =
        ::LoadLibraryExA(strPath, NULL, bSystemSearch ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH);
    ::SetErrorMode(uMode);
    return hModule;
}

// The INF's path beside this program into |strPath|; false when no path may be passed. A module
// path that fills the buffer was cut short (and may lack its terminator): it names some other
// folder than ours. The setup API holds a driver path in MAX_PATH characters with its terminator,
// and cannot hold a longer one. A module path without a folder leaves the bare name.
bool InfPathBesideProgram(CString& strPath) {
    DWORD nLength = ::GetModuleFileNameA(NULL, strPath.GetBuffer(MAX_PATH), MAX_PATH);
    bool bWhole = nLength < MAX_PATH;
    strPath.ReleaseBuffer(bWhole ? -1 : 0);
    strPath = strPath.Left(strPath.ReverseFind('\\') + 1);
    strPath += kInfName;
    return bWhole && strPath.GetLength() < MAX_PATH;
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
    if (!bSystemSearch)
        SkipCurrentFolderInDllSearch();

    AfxEnableControlContainer();
    Enable3dControls();

    // Success and failure end alike: whatever the user must see, the platform shows. A path that
    // cannot be passed, or a newdev.dll or function that cannot be had, ends the run as a failed
    // call does.
    CString strInfPath;
    if (!InfPathBesideProgram(strInfPath))
        return FALSE;
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
