// The main dialog and its About box run for real on a display, each test in a sandbox of its own
// whose programs use the Korean code page. The dialog runs modally on the test's main thread; a
// second thread works it as a user would and reads it back through the platform's own calls.
#include "HalvexDlg.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using namespace test_support;

namespace {
const WCHAR kMainCaption[] = L"Halvex";
const WCHAR kAboutCaption[] = L"Halvex 정보";
const WCHAR kAboutEntry[] = L"Halvex 정보(&A)...";

std::wstring WindowTextW(HWND hWnd) {
    WCHAR szText[256] = L"";
    GetWindowTextW(hWnd, szText, 256);
    return szText;
}

// The watch on the dialogs of the run in progress (RunModal).
DialogWatch* g_pWatch = NULL;

// The dialog captioned |pszCaption|, once its dialog manager has finished showing it; NULL when
// the run ended without it.
HWND WaitForDialog(LPCWSTR pszCaption) {
    return g_pWatch->WaitForDialog(pszCaption);
}

// Whether the run's watch saw |hWnd| destroyed before the run ended.
bool WaitUntilGone(HWND hWnd) {
    return g_pWatch->WaitUntilGone(hWnd);
}

// Clicks the button |nId| of |hDlg| as the button itself reports it.
void Click(HWND hDlg, int nId) {
    PostMessageW(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
}

// Runs |dlg| modally while |drive| works its window, captioned |pszCaption|, from another thread,
// and returns DoModal's result. Should |drive| leave the dialog up, it is cancelled.
INT_PTR RunModal(CDialog& dlg, LPCWSTR pszCaption, const std::function<void(HWND)>& drive) {
    DialogWatch watch;
    g_pWatch = &watch;
    test_support::Thread user([&] {
        HWND hWnd = WaitForDialog(pszCaption);
        EXPECT_NE(nullptr, hWnd) << "no dialog " << Utf8(pszCaption) << " appeared";
        if (hWnd == NULL)
            return;
        drive(hWnd);
        PostMessageW(hWnd, WM_COMMAND, IDCANCEL, 0);
    });
    INT_PTR nResult = dlg.DoModal();
    watch.End();
    user.Join();
    g_pWatch = NULL;
    return nResult;
}

// The main dialog run as a dialog application runs it: as the application's main window.
INT_PTR RunMainDialog(const std::function<void(HWND)>& drive) {
    CHalvexDlg dlg;
    AfxGetApp()->m_pMainWnd = &dlg;
    INT_PTR nResult = RunModal(dlg, kMainCaption, drive);
    AfxGetApp()->m_pMainWnd = NULL;
    return nResult;
}

struct MenuItem {
    UINT nType;
    UINT_PTR nId;
    std::wstring strText;
};

std::vector<MenuItem> MenuItems(HMENU hMenu) {
    std::vector<MenuItem> items;
    for (int i = 0; i < GetMenuItemCount(hMenu); i++) {
        WCHAR szText[128] = L"";
        MENUITEMINFOW info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
        info.dwTypeData = szText;
        info.cch = 128;
        GetMenuItemInfoW(hMenu, i, TRUE, &info);
        items.push_back({info.fType, info.wID, szText});
    }
    return items;
}

struct ChildControl {
    std::wstring strClass;
    int nId;
    std::wstring strText; // an icon control must show an icon instead
    HWND hWnd;
};

std::vector<ChildControl> Controls(HWND hDlg) {
    std::vector<ChildControl> controls;
    for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild != NULL;
         hChild = GetWindow(hChild, GW_HWNDNEXT)) {
        WCHAR szClass[32] = L"";
        GetClassNameW(hChild, szClass, 32);
        controls.push_back({szClass, GetDlgCtrlID(hChild), WindowTextW(hChild), hChild});
    }
    return controls;
}

void ExpectControls(const std::vector<ChildControl>& expected, HWND hDlg) {
    std::vector<ChildControl> actual = Controls(hDlg);
    ASSERT_EQ(expected.size(), actual.size()) << Utf8(WindowTextW(hDlg));
    for (size_t i = 0; i < expected.size(); i++) {
        EXPECT_EQ(0, _wcsicmp(expected[i].strClass.c_str(), actual[i].strClass.c_str()))
            << i << ": " << Utf8(actual[i].strClass);
        EXPECT_EQ(expected[i].nId, actual[i].nId) << i;
        if (_wcsicmp(actual[i].strClass.c_str(), L"Static") == 0 &&
            (GetWindowLongW(actual[i].hWnd, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            EXPECT_NE(0, SendMessageW(actual[i].hWnd, STM_GETICON, 0, 0)) << i << ": no icon";
        else
            EXPECT_EQ(Utf8(expected[i].strText), Utf8(actual[i].strText)) << i;
    }
}

HICON ApplicationIcon() {
    return LoadIconW(GetModuleHandleW(NULL), MAKEINTRESOURCEW(IDR_MAINFRAME));
}

class HalvexDialog : public testing::Test {
protected:
    void SetUp() override {
        // The program's strings are Korean in the ANSI code page, as on the systems it is for.
        ASSERT_EQ(949u, GetACP());
    }
};
} // namespace

TEST_F(HalvexDialog, MainDialogShowsItsControlsAboutEntryAndIcon) {
    INT_PTR nResult = RunMainDialog([](HWND hDlg) {
        EXPECT_EQ(Utf8(kMainCaption), Utf8(WindowTextW(hDlg)));
        ExpectControls({{L"Button", IDOK, L"확인", NULL},
                        {L"Button", IDCANCEL, L"취소", NULL},
                        {L"Static", -1, L"TODO: 대화 상자 컨트롤을 여기에 두십시오.", NULL}},
                       hDlg);

        std::vector<MenuItem> items = MenuItems(GetSystemMenu(hDlg, FALSE));
        ASSERT_LE(2u, items.size());
        const MenuItem& separator = items[items.size() - 2];
        const MenuItem& about = items.back();
        EXPECT_EQ(static_cast<UINT>(MFT_SEPARATOR), separator.nType & MFT_SEPARATOR);
        EXPECT_EQ(0u, separator.nId);
        EXPECT_EQ(static_cast<UINT>(MFT_STRING), about.nType);
        EXPECT_EQ(0x0010u, about.nId);
        EXPECT_EQ(Utf8(kAboutEntry), Utf8(about.strText));

        HICON hIcon = ApplicationIcon();
        ASSERT_NE(nullptr, hIcon);
        EXPECT_EQ(hIcon, reinterpret_cast<HICON>(SendMessageW(hDlg, WM_GETICON, ICON_BIG, 0)));
        EXPECT_EQ(hIcon, reinterpret_cast<HICON>(SendMessageW(hDlg, WM_GETICON, ICON_SMALL, 0)));
        EXPECT_EQ(hIcon, reinterpret_cast<HICON>(SendMessageW(hDlg, WM_QUERYDRAGICON, 0, 0)));
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(IDOK, nResult);
}

TEST_F(HalvexDialog, MainDialogIsOwnedByTheParentItIsGiven) {
    CWnd wndParent; // destroys its window when it goes
    ASSERT_TRUE(wndParent.Attach(CreateWindowExW(0, L"Static", L"parent", WS_POPUP, 0, 0, 100, 100,
                                                 NULL, NULL, NULL, NULL)));
    CHalvexDlg dlg(&wndParent);
    HWND hOwner = NULL;
    RunModal(dlg, kMainCaption, [&](HWND hDlg) {
        hOwner = GetWindow(hDlg, GW_OWNER);
        Click(hDlg, IDOK);
    });
    EXPECT_EQ(wndParent.GetSafeHwnd(), hOwner);
}

TEST_F(HalvexDialog, OkAndCancelEndTheDialogsWithTheirResults) {
    const struct {
        const char* pszHow;
        UINT nMessage;
        WPARAM wParam;
        bool bFromButton;
        INT_PTR nExpected;
    } cases[] = {
        {"OK button", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), true, IDOK},
        {"Cancel button", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), true, IDCANCEL},
        {"Enter key", WM_COMMAND, IDOK, false, IDOK},
    };
    for (const auto& c : cases) {
        INT_PTR nResult = RunMainDialog([&](HWND hDlg) {
            HWND hButton = c.bFromButton ? GetDlgItem(hDlg, LOWORD(c.wParam)) : NULL;
            PostMessageW(hDlg, c.nMessage, c.wParam, reinterpret_cast<LPARAM>(hButton));
            EXPECT_TRUE(WaitUntilGone(hDlg)) << c.pszHow;
        });
        EXPECT_EQ(c.nExpected, nResult) << c.pszHow;
    }

    CAboutDlg dlgAbout;
    HWND hAbout = NULL;
    EXPECT_EQ(IDOK, RunModal(dlgAbout, kAboutCaption, [&](HWND hDlg) {
                  hAbout = hDlg;
                  Click(hDlg, IDOK);
              }));
    // The object lets go of the window its run destroyed: no handle of it stays mapped.
    EXPECT_EQ(nullptr, dlgAbout.GetSafeHwnd());
    EXPECT_NE(nullptr, hAbout);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hAbout));
}

TEST_F(HalvexDialog, AboutCommandOpensTheAboutBoxAgainWhateverItsLowBits) {
    RunMainDialog([&](HWND hMain) {
        for (WPARAM nCommand : {0x0010, 0x0011, 0x001F, 0x0010}) {
            PostMessageW(hMain, WM_SYSCOMMAND, nCommand, 0);
            HWND hAbout = WaitForDialog(kAboutCaption);
            ASSERT_NE(nullptr, hAbout) << "no About box for " << nCommand;
            // A classic template stores control ids in 16 bits: -1 comes back as 0xFFFF.
            ExpectControls({{L"Static", 0xFFFF, L"", NULL},
                            {L"Static", 0xFFFF, L"Halvex 버전 1.0", NULL},
                            {L"Static", 0xFFFF, L"Copyright (C) 2003", NULL},
                            {L"Button", IDOK, L"확인", NULL}},
                           hAbout);
            // Modal to the main dialog, which waits disabled until the box closes.
            EXPECT_EQ(hMain, GetWindow(hAbout, GW_OWNER)) << nCommand;
            EXPECT_FALSE(IsWindowEnabled(hMain)) << nCommand;
            Click(hAbout, IDOK);
            EXPECT_TRUE(WaitUntilGone(hAbout)) << nCommand;
            // Ending the box enabled its owner before the box was destroyed.
            EXPECT_TRUE(IsWindowEnabled(hMain)) << nCommand;
        }
        Click(hMain, IDOK);
    });
}

TEST_F(HalvexDialog, OtherSystemCommandsReachThePlatform) {
    INT_PTR nResult = RunMainDialog([&](HWND hMain) {
        const struct {
            WPARAM nCommand;
            bool bIconic;
        } cases[] = {{SC_MINIMIZE, true}, {SC_RESTORE, false}, {0x0020, false}};
        for (const auto& c : cases) {
            SendMessageW(hMain, WM_SYSCOMMAND, c.nCommand, 0);
            EXPECT_EQ(c.bIconic, IsIconic(hMain) != FALSE) << c.nCommand;
        }
        // 0x0020 is not the About command: it must not have opened the box.
        EXPECT_EQ(nullptr, FindWindowW(L"#32770", kAboutCaption));
        // Nor are ids that hold 0x0010 but differ from it above the low four bits. Should one
        // open the box, the send times out and the box is closed again.
        for (WPARAM nCommand : {0x0110, 0x1010}) {
            DWORD_PTR dwResult = 0;
            EXPECT_NE(0, SendMessageTimeoutW(hMain, WM_SYSCOMMAND, nCommand, 0, SMTO_NORMAL, 3000,
                                             &dwResult))
                << nCommand;
            HWND hAbout = FindWindowW(L"#32770", kAboutCaption);
            EXPECT_EQ(nullptr, hAbout) << nCommand;
            if (hAbout != NULL) {
                Click(hAbout, IDOK);
                WaitUntilGone(hAbout);
            }
        }
        // Closing cancels.
        PostMessageW(hMain, WM_SYSCOMMAND, SC_CLOSE, 0);
        EXPECT_TRUE(WaitUntilGone(hMain));
    });
    EXPECT_EQ(IDCANCEL, nResult);
}

namespace {
// Adds resource |pszName| of |hModule| to the update |lParam|, unless it is the string block
// that the copy replaces.
BOOL CALLBACK CopyResource(HMODULE hModule, LPCSTR pszType, LPSTR pszName, LONG_PTR lParam) {
    if (pszType == RT_STRING && pszName == MAKEINTRESOURCEA(IDS_ABOUTBOX / 16 + 1))
        return TRUE;
    HRSRC hInfo = FindResourceA(hModule, pszName, pszType);
    return UpdateResourceA(reinterpret_cast<HANDLE>(lParam), pszType, pszName,
                           MAKELANGID(LANG_KOREAN, SUBLANG_DEFAULT),
                           LockResource(LoadResource(hModule, hInfo)),
                           SizeofResource(hModule, hInfo));
}

BOOL CALLBACK CopyResourcesOfType(HMODULE hModule, LPSTR pszType, LONG_PTR lParam) {
    return EnumResourceNamesA(hModule, pszType, CopyResource, lParam);
}

// A copy of the program's resources in which the string block of ids 96 to 111 is |strBlock|,
// or is left out when that is empty; loaded, or NULL on failure. The copy is written afresh with
// every other resource of the original, through the platform's resource writer.
HMODULE LoadResourcesWithStringBlock(const std::string& strBlock) {
    std::string strModule = WindowsPath(RESOURCE_MODULE);
    char szDir[MAX_PATH] = "", szCopy[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, szDir);
    if (!GetTempFileNameA(szDir, "res", 0, szCopy) || !CopyFileA(strModule.c_str(), szCopy, FALSE))
        return NULL;
    HMODULE hOriginal = LoadLibraryExA(strModule.c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    HANDLE hUpdate = BeginUpdateResourceA(szCopy, TRUE);
    if (hOriginal == NULL || hUpdate == NULL)
        return NULL;
    EnumResourceTypesA(hOriginal, CopyResourcesOfType, reinterpret_cast<LONG_PTR>(hUpdate));
    FreeLibrary(hOriginal);
    if (!strBlock.empty())
        UpdateResourceA(hUpdate, RT_STRING, MAKEINTRESOURCEA(IDS_ABOUTBOX / 16 + 1),
                        MAKELANGID(LANG_KOREAN, SUBLANG_DEFAULT),
                        const_cast<char*>(strBlock.data()), static_cast<DWORD>(strBlock.size()));
    if (!EndUpdateResourceA(hUpdate, FALSE))
        return NULL;
    return LoadLibraryA(szCopy);
}
} // namespace

TEST_F(HalvexDialog, WithoutItsStringNeitherSeparatorNorAboutEntryIsAdded) {
    std::vector<MenuItem> full;
    RunMainDialog([&](HWND hDlg) {
        full = MenuItems(GetSystemMenu(hDlg, FALSE));
        Click(hDlg, IDOK);
    });
    ASSERT_LE(2u, full.size());

    const struct {
        const char* pszCase;
        std::string strBlock;
    } cases[] = {
        {"string 101 missing", ""},
        {"string 101 empty", std::string(16 * sizeof(WCHAR), '\0')}, // 16 strings of length 0
    };
    for (const auto& c : cases) {
        HMODULE hResources = LoadResourcesWithStringBlock(c.strBlock);
        ASSERT_NE(nullptr, hResources) << c.pszCase;
        WCHAR szText[64] = L"sentinel";
        EXPECT_EQ(0, LoadStringW(hResources, IDS_ABOUTBOX, szText, 64)) << c.pszCase;
        AfxSetResourceHandle(hResources);
        RunMainDialog([&](HWND hDlg) {
            std::vector<MenuItem> items = MenuItems(GetSystemMenu(hDlg, FALSE));
            EXPECT_EQ(full.size() - 2, items.size()) << c.pszCase;
            for (size_t i = 0; i < items.size() && i < full.size(); i++)
                EXPECT_EQ(full[i].nId, items[i].nId) << c.pszCase << ", item " << i;
            Click(hDlg, IDOK);
        });
        AfxSetResourceHandle(NULL);
        FreeLibrary(hResources);
    }
}

namespace {
// What the paint handler did, through the test executable's imports, which the dialog code
// linked into it calls: its view of the window is made up, its drawing recorded.
struct PaintLog {
    BOOL bIconic = FALSE;
    int cxClient = 0, cyClient = 0;
    int nIconicQueries = 0;
    std::vector<std::string> events;
};
test_support::CriticalSection g_paintSection;
PaintLog g_paint;
decltype(&DrawIcon) g_pfnDrawIcon = NULL;
decltype(&SendMessageA) g_pfnSendMessageA = NULL;

BOOL WINAPI FakeIsIconic(HWND) {
    test_support::CriticalSection::Lock lock(g_paintSection);
    g_paint.nIconicQueries++;
    return g_paint.bIconic;
}

// The icon is made taller than wide, so that a height taken for a width shows.
decltype(&GetSystemMetrics) g_pfnGetSystemMetrics = NULL;
int WINAPI FakeGetSystemMetrics(int nIndex) {
    return nIndex == SM_CXICON ? 32 : nIndex == SM_CYICON ? 48 : g_pfnGetSystemMetrics(nIndex);
}

BOOL WINAPI FakeGetClientRect(HWND, LPRECT lpRect) {
    test_support::CriticalSection::Lock lock(g_paintSection);
    return SetRect(lpRect, 0, 0, g_paint.cxClient, g_paint.cyClient);
}

std::string Hex(const void* p) {
    char sz[32];
    snprintf(sz, sizeof sz, "%p", p);
    return sz;
}

BOOL WINAPI RecordingDrawIcon(HDC hDC, int x, int y, HICON hIcon) {
    {
        test_support::CriticalSection::Lock lock(g_paintSection);
        g_paint.events.push_back("draw " + Hex(hIcon) + " on " + Hex(hDC) + " at " +
                                 std::to_string(x) + "," + std::to_string(y));
    }
    return g_pfnDrawIcon(hDC, x, y, hIcon);
}

LRESULT WINAPI RecordingSendMessageA(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_ICONERASEBKGND) {
        test_support::CriticalSection::Lock lock(g_paintSection);
        g_paint.events.push_back("erase " + Hex(reinterpret_cast<HDC>(wParam)) + " " +
                                 std::to_string(lParam));
    }
    return g_pfnSendMessageA(hWnd, nMsg, wParam, lParam);
}

} // namespace

TEST_F(HalvexDialog, PaintingWhileMinimisedCentresTheIconRoundingTowardZero) {
    ImportPatch metrics("user32.dll", "GetSystemMetrics",
                        reinterpret_cast<void*>(&FakeGetSystemMetrics));
    ImportPatch iconic("user32.dll", "IsIconic", reinterpret_cast<void*>(&FakeIsIconic));
    ImportPatch client("user32.dll", "GetClientRect", reinterpret_cast<void*>(&FakeGetClientRect));
    ImportPatch draw("user32.dll", "DrawIcon", reinterpret_cast<void*>(&RecordingDrawIcon));
    ImportPatch send("user32.dll", "SendMessageA", reinterpret_cast<void*>(&RecordingSendMessageA));
    ASSERT_TRUE(metrics.Patched() && iconic.Patched() && client.Patched() && draw.Patched() &&
                send.Patched());
    g_pfnGetSystemMetrics = reinterpret_cast<decltype(&GetSystemMetrics)>(metrics.Original());
    g_pfnDrawIcon = reinterpret_cast<decltype(&DrawIcon)>(draw.Original());
    g_pfnSendMessageA = reinterpret_cast<decltype(&SendMessageA)>(send.Original());

    const struct {
        BOOL bIconic;
        int cxClient, cyClient;
        int x, y; // where the icon is drawn, when it is
    } cases[] = {
        {TRUE, 20, 20, -5, -13}, // smaller than the icon: -11 / 2 and -27 / 2 truncate up
        {TRUE, 30, 47, 0, 0},    // -1 / 2 and 0 / 2
        {TRUE, 101, 61, 35, 7},
        {FALSE, 101, 61, 0, 0}, // not minimised: the platform paints, nothing of ours
    };
    RunMainDialog([&](HWND hDlg) {
        std::string strIcon = Hex(ApplicationIcon());
        for (const auto& c : cases) {
            PaintLog paint;
            // On the dialog's thread, between two of its messages: no paint is under way while
            // the case changes, and none that the platform adds between cases counts in this one.
            g_pWatch->RunOnDialogThread(hDlg, [&] {
                {
                    test_support::CriticalSection::Lock lock(g_paintSection);
                    g_paint = PaintLog();
                    g_paint.bIconic = c.bIconic;
                    g_paint.cxClient = c.cxClient;
                    g_paint.cyClient = c.cyClient;
                }
                RedrawWindow(hDlg, NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW);
                // Painting begun and ended: nothing is left to paint.
                EXPECT_FALSE(GetUpdateRect(hDlg, NULL, FALSE)) << c.cxClient << "x" << c.cyClient;
                test_support::CriticalSection::Lock lock(g_paintSection);
                paint = g_paint;
            });
            EXPECT_LE(1, paint.nIconicQueries) << c.cxClient << "x" << c.cyClient;
            std::vector<std::string> expected;
            if (c.bIconic) {
                // The background is erased on the paint context the icon is then drawn on.
                std::string strErase = paint.events.empty() ? "" : paint.events[0];
                std::string strDC =
                    strErase.size() > 6 ? strErase.substr(6, strErase.find(' ', 6) - 6) : "?";
                expected = {"erase " + strDC + " 0", "draw " + strIcon + " on " + strDC + " at " +
                                                         std::to_string(c.x) + "," +
                                                         std::to_string(c.y)};
            }
            EXPECT_EQ(expected, paint.events) << c.cxClient << "x" << c.cyClient;
        }
        Click(hDlg, IDOK);
    });
}

namespace {
// The window-creation hooks that the framework's code in this executable holds, through its
// imports (the watch's own hook is of another kind).
std::vector<HHOOK> g_cbtHooks;
decltype(&SetWindowsHookExW) g_pfnSetWindowsHookExW = NULL;
decltype(&UnhookWindowsHookEx) g_pfnUnhookWindowsHookEx = NULL;

HHOOK WINAPI CountingSetWindowsHookExW(int idHook, HOOKPROC lpfn, HINSTANCE hMod, DWORD dwThread) {
    HHOOK hHook = g_pfnSetWindowsHookExW(idHook, lpfn, hMod, dwThread);
    if (hHook != NULL && idHook == WH_CBT)
        g_cbtHooks.push_back(hHook);
    return hHook;
}

BOOL WINAPI CountingUnhookWindowsHookEx(HHOOK hHook) {
    BOOL bDone = g_pfnUnhookWindowsHookEx(hHook);
    if (bDone)
        g_cbtHooks.erase(std::remove(g_cbtHooks.begin(), g_cbtHooks.end(), hHook),
                         g_cbtHooks.end());
    return bDone;
}

// A window of the input-method system's kind, made on the dialog's thread just before the
// dialog manager makes the dialog, while the framework waits for the dialog's window.
LPCWSTR g_pszImeClass = NULL;
HWND g_hImeWindow = NULL;
decltype(&DialogBoxIndirectParamW) g_pfnDialogBoxIndirectParamW = NULL;

INT_PTR WINAPI DialogBoxAfterImeWindow(HINSTANCE hInst, LPCDLGTEMPLATEW lpTemplate, HWND hOwner,
                                       DLGPROC pfnDlg, LPARAM lParam) {
    if (g_pszImeClass != NULL)
        g_hImeWindow = CreateWindowExW(0, g_pszImeClass, L"", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                       GetModuleHandleW(NULL), NULL);
    return g_pfnDialogBoxIndirectParamW(hInst, lpTemplate, hOwner, pfnDlg, lParam);
}
} // namespace

TEST_F(HalvexDialog, TheDialogIsAttachedPastInputMethodWindowsAndNoHookOutlivesTheAttaching) {
    ImportPatch set("user32.dll", "SetWindowsHookExW",
                    reinterpret_cast<void*>(&CountingSetWindowsHookExW));
    ImportPatch unhook("user32.dll", "UnhookWindowsHookEx",
                       reinterpret_cast<void*>(&CountingUnhookWindowsHookEx));
    ImportPatch dialogBox("user32.dll", "DialogBoxIndirectParamW",
                          reinterpret_cast<void*>(&DialogBoxAfterImeWindow));
    ASSERT_TRUE(set.Patched() && unhook.Patched() && dialogBox.Patched());
    g_pfnSetWindowsHookExW = reinterpret_cast<decltype(&SetWindowsHookExW)>(set.Original());
    g_pfnUnhookWindowsHookEx = reinterpret_cast<decltype(&UnhookWindowsHookEx)>(unhook.Original());
    g_pfnDialogBoxIndirectParamW =
        reinterpret_cast<decltype(&DialogBoxIndirectParamW)>(dialogBox.Original());

    const struct {
        LPCWSTR pszClass; // NULL: no window before the dialog's
        UINT nStyle;
    } cases[] = {{NULL, 0}, {L"IME", 0}, {L"MSCTFIME UI", 0}, {L"Input method", CS_IME}};
    for (const auto& c : cases) {
        std::string strCase = c.pszClass != NULL ? Utf8(c.pszClass) : "no other window";
        WNDCLASSW wc = {};
        wc.style = c.nStyle;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(NULL);
        wc.lpszClassName = c.pszClass;
        ASSERT_TRUE(c.pszClass == NULL || RegisterClassW(&wc)) << strCase;
        g_pszImeClass = c.pszClass;

        CHalvexDlg dlg;
        RunModal(dlg, kMainCaption, [&](HWND hDlg) {
            g_pWatch->RunOnDialogThread(hDlg, [&] {
                EXPECT_EQ(&dlg, CWnd::FromHandlePermanent(hDlg)) << strCase;
                EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(g_hImeWindow)) << strCase;
                // Gone once it attached the dialog, while the dialog still runs.
                EXPECT_TRUE(g_cbtHooks.empty()) << strCase;
                // Ended here: a dialog left without its object would not answer OK.
                EndDialog(hDlg, IDOK);
            });
        });
        EXPECT_TRUE(g_cbtHooks.empty()) << strCase;
        if (g_hImeWindow != NULL)
            DestroyWindow(g_hImeWindow);
        g_hImeWindow = NULL;
        if (c.pszClass != NULL)
            UnregisterClassW(c.pszClass, GetModuleHandleW(NULL));
    }
    g_pszImeClass = NULL;
}

namespace {
// The main dialog's template, whose OnInitDialog puts the focus on Cancel and answers |bResult|;
// it notes where the focus is when the dialog manager shows the dialog.
class FocusingDialog : public CDialog {
public:
    explicit FocusingDialog(BOOL bResult) : CDialog(CHalvexDlg::IDD), m_bResult(bResult) {}

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        ::SetFocus(::GetDlgItem(m_hWnd, IDCANCEL));
        return m_bResult;
    }

    int m_nFocusIdShown = 0;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        if (message == WM_SHOWWINDOW && wParam && m_nFocusIdShown == 0)
            m_nFocusIdShown = ::GetDlgCtrlID(::GetFocus());
        return CDialog::WindowProc(message, wParam, lParam);
    }

private:
    BOOL m_bResult;
};
} // namespace

// TRUE asks the dialog manager to focus the first control (OK); FALSE keeps the focus set.
TEST_F(HalvexDialog, OnInitDialogsResultDecidesWhetherTheDialogManagerSetsTheFocus) {
    for (BOOL bResult : {TRUE, FALSE}) {
        FocusingDialog dlg(bResult);
        RunModal(dlg, kMainCaption, [](HWND hDlg) { Click(hDlg, IDOK); });
        EXPECT_EQ(bResult ? IDOK : IDCANCEL, dlg.m_nFocusIdShown) << bResult;
    }
}
