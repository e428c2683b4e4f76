// Shows the main dialog and its About box and saves a picture of each, as the screen shows them,
// for the documentation: main.bmp and about.bmp in the folder given as the only argument.
#include "HalvexDlg.h"
#include "TestSupport.h"

#include <cstdio>
#include <string>

namespace {
// Saves the screen's pixels under |hWnd| as a 24-bit bottom-up bitmap file.
bool SaveWindow(HWND hWnd, const std::string& strPath) {
    Sleep(500); // let the window and its controls finish painting
    RECT rc;
    GetWindowRect(hWnd, &rc);
    int cx = rc.right - rc.left, cy = rc.bottom - rc.top;
    HDC hScreen = GetDC(NULL);
    HDC hMem = CreateCompatibleDC(hScreen);
    BITMAPINFO bmi = {};
    bmi.bmiHeader.biSize = sizeof bmi.bmiHeader;
    bmi.bmiHeader.biWidth = cx;
    bmi.bmiHeader.biHeight = cy;
    bmi.bmiHeader.biPlanes = 1;
    bmi.bmiHeader.biBitCount = 24;
    void* pBits = NULL;
    HBITMAP hBitmap = CreateDIBSection(hScreen, &bmi, DIB_RGB_COLORS, &pBits, NULL, 0);
    HGDIOBJ hOld = SelectObject(hMem, hBitmap);
    BitBlt(hMem, 0, 0, cx, cy, hScreen, rc.left, rc.top, SRCCOPY);
    GdiFlush();
    DWORD dwImage = ((cx * 3 + 3) & ~3) * cy;
    BITMAPFILEHEADER bfh = {};
    bfh.bfType = 0x4D42;
    bfh.bfOffBits = sizeof bfh + sizeof bmi.bmiHeader;
    bfh.bfSize = bfh.bfOffBits + dwImage;
    FILE* pFile = std::fopen(strPath.c_str(), "wb");
    bool bSaved = pFile != NULL && std::fwrite(&bfh, sizeof bfh, 1, pFile) == 1 &&
                  std::fwrite(&bmi.bmiHeader, sizeof bmi.bmiHeader, 1, pFile) == 1 &&
                  std::fwrite(pBits, dwImage, 1, pFile) == 1;
    if (pFile != NULL)
        bSaved = std::fclose(pFile) == 0 && bSaved;
    SelectObject(hMem, hOld);
    DeleteObject(hBitmap);
    DeleteDC(hMem);
    ReleaseDC(NULL, hScreen);
    return bSaved;
}
} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: HalvexScreenshots FOLDER\n");
        return 2;
    }
    std::string strFolder = argv[1];
    bool bSaved = false;
    CHalvexDlg dlg;
    AfxGetApp()->m_pMainWnd = &dlg;
    test_support::DialogWatch watch;
    test_support::Thread user([&] {
        HWND hMain = watch.WaitForDialog(L"Halvex");
        if (hMain == NULL)
            return;
        bSaved = SaveWindow(hMain, strFolder + "\\main.bmp");
        PostMessageW(hMain, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
        HWND hAbout = watch.WaitForDialog(L"Halvex 정보");
        bSaved = hAbout != NULL && SaveWindow(hAbout, strFolder + "\\about.bmp") && bSaved;
        if (hAbout != NULL) {
            PostMessageW(hAbout, WM_COMMAND, IDOK, 0);
            watch.WaitUntilGone(hAbout);
        }
        PostMessageW(hMain, WM_COMMAND, IDOK, 0);
    });
    dlg.DoModal();
    watch.End();
    user.Join();
    AfxGetApp()->m_pMainWnd = NULL;
    if (!bSaved)
        std::fprintf(stderr, "the dialogs could not be saved\n");
    return bSaved ? 0 : 1;
}
