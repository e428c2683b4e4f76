// Prints the version block of the file named on the command line as the platform's own readers
// see it, one field a line, so that a release check can compare it with what the file must carry.
// Strings come out as UTF-8; a file without a version block prints "no version block" and fails.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>

namespace {

const wchar_t* const kStringKeys[] = {
    L"Comments",     L"CompanyName",    L"FileDescription", L"FileVersion",
    L"InternalName", L"LegalCopyright", L"LegalTrademarks", L"OriginalFilename",
    L"PrivateBuild", L"ProductName",    L"ProductVersion",  L"SpecialBuild",
};

std::string Utf8(const std::wstring& strText) {
    if (strText.empty())
        return "";
    int nLength = static_cast<int>(strText.size());
    std::string strUtf8(
        WideCharToMultiByte(CP_UTF8, 0, strText.data(), nLength, NULL, 0, NULL, NULL), '\0');
    WideCharToMultiByte(CP_UTF8, 0, strText.data(), nLength, &strUtf8[0],
                        static_cast<int>(strUtf8.size()), NULL, NULL);
    return strUtf8;
}

std::string Version(DWORD dwMost, DWORD dwLeast) {
    return std::to_string(HIWORD(dwMost)) + "." + std::to_string(LOWORD(dwMost)) + "." +
           std::to_string(HIWORD(dwLeast)) + "." + std::to_string(LOWORD(dwLeast));
}

// The value at |strPath| in |strBlock| and its length in the reader's units; NULL when absent.
const void* Query(const std::string& strBlock, const std::wstring& strPath, UINT* pnLength) {
    void* pValue = NULL;
    *pnLength = 0;
    return VerQueryValueW(strBlock.data(), strPath.c_str(), &pValue, pnLength) ? pValue : NULL;
}

void PrintStrings(const std::string& strBlock, WORD wLanguage, WORD wCodePage) {
    wchar_t szTable[9];
    swprintf(szTable, 9, L"%04X%04X", wLanguage, wCodePage);
    for (const wchar_t* pszKey : kStringKeys) {
        UINT nLength;
        auto* pszValue = static_cast<const wchar_t*>(Query(
            strBlock, std::wstring(L"\\StringFileInfo\\") + szTable + L"\\" + pszKey, &nLength));
        std::string strValue = "(none)";
        if (pszValue != NULL) // the length counts the terminating zero, when there is text
            strValue = "\"" + Utf8(std::wstring(pszValue, wcsnlen(pszValue, nLength))) + "\"";
        std::printf("%s %s %s\n", Utf8(szTable).c_str(), Utf8(pszKey).c_str(), strValue.c_str());
    }
}

bool PrintVersionBlock(const std::wstring& strFile) {
    DWORD dwSize = GetFileVersionInfoSizeW(strFile.c_str(), NULL);
    std::string strBlock(dwSize, '\0');
    if (dwSize == 0 || !GetFileVersionInfoW(strFile.c_str(), 0, dwSize, &strBlock[0])) {
        std::printf("no version block\n");
        return false;
    }
    UINT nLength;
    auto* pFixed = static_cast<const VS_FIXEDFILEINFO*>(Query(strBlock, L"\\", &nLength));
    if (pFixed == NULL || nLength < sizeof *pFixed) {
        std::printf("no fixed file information\n");
        return false;
    }
    std::printf("file version %s\n",
                Version(pFixed->dwFileVersionMS, pFixed->dwFileVersionLS).c_str());
    std::printf("product version %s\n",
                Version(pFixed->dwProductVersionMS, pFixed->dwProductVersionLS).c_str());
    std::printf(
        "flags mask 0x%lX\nflags 0x%lX\nos 0x%lX\ntype 0x%lX\nsubtype 0x%lX\ndate 0x%lX 0x%lX\n",
        pFixed->dwFileFlagsMask, pFixed->dwFileFlags, pFixed->dwFileOS, pFixed->dwFileType,
        pFixed->dwFileSubtype, pFixed->dwFileDateMS, pFixed->dwFileDateLS);
    auto* pTranslations =
        static_cast<const WORD*>(Query(strBlock, L"\\VarFileInfo\\Translation", &nLength));
    for (UINT i = 0; pTranslations != NULL && i + 1 < nLength / sizeof(WORD); i += 2)
        std::printf("translation %04X %04X\n", pTranslations[i], pTranslations[i + 1]);
    for (UINT i = 0; pTranslations != NULL && i + 1 < nLength / sizeof(WORD); i += 2)
        PrintStrings(strBlock, pTranslations[i], pTranslations[i + 1]);
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: VersionBlock FILE\n");
        return 2;
    }
    _setmode(_fileno(stdout), _O_BINARY); // the lines are compared on Linux
    return PrintVersionBlock(argv[1]) ? 0 : 1;
}
