#include "TestSupport.h"

#include <gtest/gtest.h>
#include <winternl.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace test_support {

std::string WindowsPath(const std::string& strUnixPath) {
    std::string strPath = "Z:" + strUnixPath;
    std::replace(strPath.begin(), strPath.end(), '/', '\\');
    return strPath;
}

std::string ProgramPath(const char* pszVariable, const char* pszBuilt) {
    const char* pszGiven = std::getenv(pszVariable);
    return pszGiven != NULL ? pszGiven : pszBuilt;
}

std::string ReadText(const std::string& strPath) {
    std::ifstream in(strPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string Utf8(const std::wstring& str) {
    int nLength = WideCharToMultiByte(CP_UTF8, 0, str.data(), static_cast<int>(str.size()), NULL, 0,
                                      NULL, NULL);
    std::string strUtf8(nLength > 0 ? nLength : 0, '\0');
    WideCharToMultiByte(CP_UTF8, 0, str.data(), static_cast<int>(str.size()), &strUtf8[0], nLength,
                        NULL, NULL);
    return strUtf8;
}

namespace {
// The test's own environment block with |environment| set in it.
std::string EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& environment) {
    std::vector<std::string> entries;
    LPCH pchBlock = GetEnvironmentStringsA();
    for (LPCH pch = pchBlock; *pch != '\0'; pch += strlen(pch) + 1)
        entries.push_back(pch);
    FreeEnvironmentStringsA(pchBlock);
    for (const auto& [strName, strValue] : environment) {
        std::string strPrefix = strName + "=";
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&](const std::string& strEntry) {
                                         return _strnicmp(strEntry.c_str(), strPrefix.c_str(),
                                                          strPrefix.size()) == 0;
                                     }),
                      entries.end());
        entries.push_back(strPrefix + strValue);
    }
    std::string strBlock;
    for (const std::string& strEntry : entries)
        strBlock += strEntry + '\0';
    return strBlock + '\0';
}

std::wstring Wide(const std::string& str) {
    int nLength = MultiByteToWideChar(CP_ACP, 0, str.data(), static_cast<int>(str.size()), NULL, 0);
    std::wstring strWide(nLength > 0 ? nLength : 0, L'\0');
    MultiByteToWideChar(CP_ACP, 0, str.data(), static_cast<int>(str.size()), &strWide[0], nLength);
    return strWide;
}

UNICODE_STRING Counted(std::wstring& str) {
    USHORT cb = static_cast<USHORT>(str.size() * sizeof(WCHAR));
    return {cb, cb, &str[0]};
}

// The native process creation that CreateProcess rests on; the platform's headers leave it out.
struct UserProcessInformation {
    ULONG Length;
    HANDLE hProcess;
    HANDLE hThread;
    CLIENT_ID clientId;
    BYTE imageInformation[128]; // SECTION_IMAGE_INFORMATION, 64 bytes at most
};
extern "C" {
NTSTATUS NTAPI RtlCreateProcessParameters(RTL_USER_PROCESS_PARAMETERS** ppParams,
                                          UNICODE_STRING* pImagePath, UNICODE_STRING* pDllPath,
                                          UNICODE_STRING* pCurrentDirectory,
                                          UNICODE_STRING* pCommandLine, PVOID pEnvironment,
                                          UNICODE_STRING* pWindowTitle, UNICODE_STRING* pDesktop,
                                          UNICODE_STRING* pShellInfo, UNICODE_STRING* pRuntimeData);
NTSTATUS NTAPI RtlDestroyProcessParameters(RTL_USER_PROCESS_PARAMETERS* pParams);
NTSTATUS NTAPI RtlCreateUserProcess(UNICODE_STRING* pNtImagePath, ULONG ulAttributes,
                                    RTL_USER_PROCESS_PARAMETERS* pParams,
                                    PSECURITY_DESCRIPTOR pProcessSecurity,
                                    PSECURITY_DESCRIPTOR pThreadSecurity, HANDLE hParent,
                                    BOOLEAN bInheritHandles, HANDLE hDebugPort,
                                    HANDLE hExceptionPort, UserProcessInformation* pInfo);
}

// CreateProcess refuses program paths of MAX_PATH characters or more, on Windows as on Wine; the
// native call takes any NT path. Its first thread starts suspended.
bool CreateProcessByNtPath(const std::string& strProgram, const std::string& strCommandLine,
                           const std::string& strEnvironment, const std::string& strDirectory,
                           PROCESS_INFORMATION* ppi) {
    std::wstring strImage = Wide(strProgram), strNtImage = L"\\??\\" + strImage;
    std::wstring strArguments = Wide(strCommandLine), strBlock = Wide(strEnvironment);
    std::wstring strFolder = Wide(strDirectory);
    UNICODE_STRING image = Counted(strImage), ntImage = Counted(strNtImage),
                   commandLine = Counted(strArguments), folder = Counted(strFolder);
    RTL_USER_PROCESS_PARAMETERS* pParams = NULL;
    if (!NT_SUCCESS(RtlCreateProcessParameters(&pParams, &image, NULL,
                                               strFolder.empty() ? NULL : &folder, &commandLine,
                                               &strBlock[0], NULL, NULL, NULL, NULL)))
        return false;
    UserProcessInformation info = {};
    info.Length = sizeof info;
    NTSTATUS status = RtlCreateUserProcess(&ntImage, OBJ_CASE_INSENSITIVE, pParams, NULL, NULL,
                                           NULL, FALSE, NULL, NULL, &info);
    RtlDestroyProcessParameters(pParams);
    if (!NT_SUCCESS(status))
        return false;
    *ppi = {info.hProcess, info.hThread, GetProcessId(info.hProcess), GetThreadId(info.hThread)};
    ResumeThread(info.hThread);
    return true;
}
} // namespace

ChildProcess::ChildProcess(const std::string& strProgram, const std::string& strArguments,
                           const std::vector<std::pair<std::string, std::string>>& environment,
                           const std::string& strDirectory, bool bNativeCall) {
    std::string strCommandLine = "\"" + strProgram + "\"";
    if (!strArguments.empty())
        strCommandLine += " " + strArguments;
    std::string strEnvironment = EnvironmentBlock(environment);
    if (bNativeCall || strProgram.size() >= MAX_PATH) {
        if (!CreateProcessByNtPath(strProgram, strCommandLine, strEnvironment, strDirectory, &m_pi))
            m_pi = {};
        return;
    }
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    if (!CreateProcessA(strProgram.c_str(), &strCommandLine[0], NULL, NULL, FALSE, 0,
                        &strEnvironment[0], strDirectory.empty() ? NULL : strDirectory.c_str(), &si,
                        &m_pi))
        m_pi = {};
}

ChildProcess::~ChildProcess() {
    if (m_pi.hProcess == NULL)
        return;
    if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_pi.hProcess, 99);
        WaitForSingleObject(m_pi.hProcess, 5000);
    }
    CloseHandle(m_pi.hThread);
    CloseHandle(m_pi.hProcess);
}

bool ChildProcess::Wait(DWORD dwMilliseconds, DWORD* pdwExitCode) {
    if (m_pi.hProcess == NULL ||
        WaitForSingleObject(m_pi.hProcess, dwMilliseconds) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(m_pi.hProcess, pdwExitCode) != FALSE;
}

namespace {
std::string WindowText(HWND hWnd) {
    char szText[1024] = "";
    int nLength = GetWindowTextA(hWnd, szText, sizeof szText);
    return std::string(szText, nLength > 0 ? nLength : 0);
}

std::string ClassName(HWND hWnd) {
    char szClass[256] = "";
    int nLength = GetClassNameA(hWnd, szClass, sizeof szClass);
    return std::string(szClass, nLength > 0 ? nLength : 0);
}

struct WindowSearch {
    DWORD dwProcessId;
    bool bDialogsOnly;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
    WindowSearch* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    DWORD dwOwner = 0;
    GetWindowThreadProcessId(hWnd, &dwOwner);
    if (dwOwner == pSearch->dwProcessId && IsWindowVisible(hWnd) &&
        (!pSearch->bDialogsOnly || ClassName(hWnd) == "#32770"))
        pSearch->found.push_back(hWnd);
    return TRUE;
}

std::vector<HWND> TopLevelWindows(DWORD dwProcessId, bool bDialogsOnly) {
    WindowSearch search = {dwProcessId, bDialogsOnly, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK ReadControl(HWND hWnd, LPARAM lParam) {
    Box* pBox = reinterpret_cast<Box*>(lParam);
    std::string strText = WindowText(hWnd);
    std::string strClass = ClassName(hWnd);
    pBox->texts.push_back(strText);
    if (_stricmp(strClass.c_str(), "Static") == 0) {
        if ((GetWindowLongA(hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            pBox->bHasIcon = true;
        else if (pBox->strBody.empty())
            pBox->strBody = strText;
    } else if (_stricmp(strClass.c_str(), "Button") == 0) {
        pBox->buttons.push_back(strText);
    }
    return TRUE;
}
} // namespace

Box WaitForBox(DWORD dwProcessId, DWORD dwMilliseconds) {
    Box box;
    for (DWORD dwStart = GetTickCount(); GetTickCount() - dwStart < dwMilliseconds; Sleep(20)) {
        std::vector<HWND> boxes = TopLevelWindows(dwProcessId, true);
        if (boxes.empty())
            continue;
        box.hWnd = boxes.front();
        box.strCaption = WindowText(box.hWnd);
        EnumChildWindows(box.hWnd, ReadControl, reinterpret_cast<LPARAM>(&box));
        break;
    }
    return box;
}

ProgramRun WatchUntilEnd(ChildProcess& process, DWORD dwMilliseconds) {
    ProgramRun run;
    for (DWORD dwStart = GetTickCount();
         process.Started() && !run.bEnded && GetTickCount() - dwStart < dwMilliseconds;) {
        run.nWindows = std::max(run.nWindows, VisibleWindowsOf(process.Id()).size());
        run.bEnded = process.Wait(10, &run.dwExit);
    }
    return run;
}

void PressButton(const Box& box, int nId) {
    PostMessageA(box.hWnd, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED), 0);
}

std::vector<HWND> VisibleWindowsOf(DWORD dwProcessId) {
    return TopLevelWindows(dwProcessId, false);
}

namespace {
void** FindImportSlot(LPCSTR lpszDll, LPCSTR lpszFunction) {
    BYTE* pBase = reinterpret_cast<BYTE*>(GetModuleHandleA(NULL));
    auto* pNt = reinterpret_cast<IMAGE_NT_HEADERS*>(
        pBase + reinterpret_cast<IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
    auto* pDescriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        pBase + pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
    for (; pDescriptor->Name != 0; pDescriptor++) {
        if (_stricmp(reinterpret_cast<LPCSTR>(pBase + pDescriptor->Name), lpszDll) != 0)
            continue;
        auto* pName = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDescriptor->OriginalFirstThunk);
        auto* pSlot = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDescriptor->FirstThunk);
        for (; pName->u1.AddressOfData != 0; pName++, pSlot++) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            auto* pImport =
                reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData);
            // The slot is a pointer-sized field of either image format (PE32 or PE32+).
            static_assert(sizeof pSlot->u1.Function == sizeof(void*));
            if (strcmp(reinterpret_cast<LPCSTR>(pImport->Name), lpszFunction) == 0)
                return reinterpret_cast<void**>(&pSlot->u1.Function);
        }
    }
    return NULL;
}
} // namespace

ImportPatch::ImportPatch(LPCSTR lpszDll, LPCSTR lpszFunction, void* pReplacement)
    : m_ppSlot(FindImportSlot(lpszDll, lpszFunction)) {
    if (m_ppSlot != NULL) {
        m_pOriginal = *m_ppSlot;
        Write(pReplacement);
    }
}

ImportPatch::~ImportPatch() {
    if (m_ppSlot != NULL)
        Write(m_pOriginal);
}

void ImportPatch::Write(void* pFunction) {
    DWORD dwProtect = 0;
    VirtualProtect(m_ppSlot, sizeof *m_ppSlot, PAGE_READWRITE, &dwProtect);
    *m_ppSlot = pFunction;
    VirtualProtect(m_ppSlot, sizeof *m_ppSlot, dwProtect, &dwProtect);
}

DialogWatch* DialogWatch::s_pWatch = NULL;

namespace {
// What RunOnDialogThread sends, with the work's address as the LPARAM.
const WPARAM kRunCookie = 0x52554E;

bool IsTopLevelDialog(HWND hWnd) {
    WCHAR szClass[16] = L"";
    GetClassNameW(hWnd, szClass, 16);
    return wcscmp(szClass, L"#32770") == 0 && !(GetWindowLongW(hWnd, GWL_STYLE) & WS_CHILD);
}
} // namespace

DialogWatch::DialogWatch()
    : m_dwThreadId(GetCurrentThreadId()), m_hChanged(CreateEventW(NULL, FALSE, FALSE, NULL)) {
    InitializeCriticalSection(&m_section);
    s_pWatch = this;
    m_hHook = SetWindowsHookExW(WH_CALLWNDPROCRET, AfterMessage, NULL, m_dwThreadId);
    if (m_hHook == NULL)
        ADD_FAILURE() << "SetWindowsHookExW failed with " << GetLastError();
}

DialogWatch::~DialogWatch() {
    if (m_hHook != NULL)
        UnhookWindowsHookEx(m_hHook);
    if (m_nTimer != 0)
        KillTimer(NULL, m_nTimer);
    s_pWatch = NULL;
    CloseHandle(m_hChanged);
    DeleteCriticalSection(&m_section);
}

LRESULT CALLBACK DialogWatch::AfterMessage(int nCode, WPARAM wParam, LPARAM lParam) {
    const CWPRETSTRUCT* pMsg = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    DialogWatch* pWatch = s_pWatch;
    if (nCode == HC_ACTION && pWatch != NULL) {
        if (pMsg->message == WM_NULL && pMsg->wParam == kRunCookie) {
            (*reinterpret_cast<const std::function<void()>*>(pMsg->lParam))();
        } else if (pMsg->message == WM_SHOWWINDOW && pMsg->wParam && IsTopLevelDialog(pMsg->hwnd)) {
            // Read here, on the dialog's thread: another thread's read would send a message.
            WCHAR szCaption[256] = L"";
            GetWindowTextW(pMsg->hwnd, szCaption, 256);
            EnterCriticalSection(&pWatch->m_section);
            pWatch->m_shown.push_back({pMsg->hwnd, szCaption, 0});
            LeaveCriticalSection(&pWatch->m_section);
            if (pWatch->m_nTimer == 0)
                pWatch->m_nTimer = SetTimer(NULL, 0, USER_TIMER_MINIMUM, OnTick);
        } else if (pMsg->message == WM_DESTROY) {
            EnterCriticalSection(&pWatch->m_section);
            auto& shown = pWatch->m_shown;
            shown.erase(std::remove_if(shown.begin(), shown.end(),
                                       [&](const Shown& s) { return s.hWnd == pMsg->hwnd; }),
                        shown.end());
            LeaveCriticalSection(&pWatch->m_section);
            pWatch->Changed();
        }
    }
    return CallNextHookEx(NULL, nCode, wParam, lParam);
}

void CALLBACK DialogWatch::OnTick(HWND, UINT, UINT_PTR, DWORD) {
    DialogWatch* pWatch = s_pWatch;
    if (pWatch == NULL)
        return;
    bool bAllSettled = true;
    EnterCriticalSection(&pWatch->m_section);
    for (Shown& shown : pWatch->m_shown) {
        shown.nTicks = std::min(shown.nTicks + 1, 2);
        bAllSettled = bAllSettled && shown.nTicks == 2;
    }
    LeaveCriticalSection(&pWatch->m_section);
    if (bAllSettled) {
        KillTimer(NULL, pWatch->m_nTimer);
        pWatch->m_nTimer = 0;
    }
    pWatch->Changed();
}

void DialogWatch::Changed() {
    SetEvent(m_hChanged);
}

bool DialogWatch::WaitFor(const std::function<bool()>& done) {
    for (;;) {
        EnterCriticalSection(&m_section);
        bool bDone = done(), bEnded = m_bEnded;
        LeaveCriticalSection(&m_section);
        if (bDone || bEnded)
            return bDone;
        WaitForSingleObject(m_hChanged, INFINITE);
    }
}

HWND DialogWatch::WaitForDialog(LPCWSTR pszCaption) {
    HWND hFound = NULL;
    WaitFor([&] {
        for (const Shown& shown : m_shown) {
            if (shown.nTicks == 2 && shown.strCaption == pszCaption)
                hFound = shown.hWnd;
        }
        return hFound != NULL;
    });
    return hFound;
}

bool DialogWatch::WaitUntilGone(HWND hDlg) {
    return WaitFor([&] {
        return std::none_of(m_shown.begin(), m_shown.end(),
                            [&](const Shown& shown) { return shown.hWnd == hDlg; });
    });
}

void DialogWatch::RunOnDialogThread(HWND hDlg, const std::function<void()>& work) {
    SendMessageW(hDlg, WM_NULL, kRunCookie, reinterpret_cast<LPARAM>(&work));
}

void DialogWatch::End() {
    EnterCriticalSection(&m_section);
    m_bEnded = true;
    LeaveCriticalSection(&m_section);
    Changed();
}

Thread::Thread(std::function<void()> work) : m_work(std::move(work)) {
    m_hThread = CreateThread(NULL, 0, &Thread::Run, this, 0, NULL);
    if (m_hThread == NULL)
        ADD_FAILURE() << "CreateThread failed with " << GetLastError();
}

void Thread::Join() {
    if (m_hThread == NULL)
        return;
    WaitForSingleObject(m_hThread, INFINITE);
    CloseHandle(m_hThread);
    m_hThread = NULL;
}

DWORD WINAPI Thread::Run(LPVOID pThis) {
    static_cast<Thread*>(pThis)->m_work();
    return 0;
}

} // namespace test_support
