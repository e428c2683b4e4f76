#include "RegistryEx.h"

#include <cstdio>
#include <cstring>

namespace {
// Bytes offered for a string value, of a buffer that is larger.
const DWORD kStringBytesOffered = 200;
const DWORD kStringBufferBytes = 256;
// Characters offered for a subkey name, terminator included.
const DWORD kNameChars = 200;
} // namespace

CRegistryEx::CRegistryEx(HKEY hRootKey) : m_hKey(hRootKey) {}

CRegistryEx::~CRegistryEx() {
    Close();
}

BOOL CRegistryEx::Record(LONG lStatus, DWORD dwType, DWORD dwSize) {
    m_lLastStatus = lStatus;
    m_dwLastType = dwType;
    m_dwLastSize = dwSize;
    return lStatus == ERROR_SUCCESS;
}

BOOL CRegistryEx::Open(HKEY hRootKey, LPCTSTR lpszPath) {
    m_strPath = lpszPath;
    LONG lStatus = ::RegOpenKeyExA(hRootKey, lpszPath, 0, KEY_ALL_ACCESS, &m_hKey);
    return Record(lStatus, 0, 0);
}

BOOL CRegistryEx::OpenSubKey(LPCTSTR lpszPath) {
    ASSERT(m_hKey != NULL);
    LONG lStatus = ::RegOpenKeyExA(m_hKey, lpszPath, 0, KEY_ALL_ACCESS, &m_hKey);
    return Record(lStatus, 0, 0);
}

void CRegistryEx::Close() {
    if (m_hKey != NULL) {
        ::RegCloseKey(m_hKey);
        m_hKey = NULL;
    }
}

BOOL CRegistryEx::ReadString(LPCTSTR lpszValueName, CString& strText) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    BYTE abBuffer[kStringBufferBytes];
    DWORD dwType = REG_NONE; // what is recorded when the platform reports no type
    DWORD dwSize = kStringBytesOffered;
    LONG lStatus = ::RegQueryValueExA(m_hKey, lpszValueName, NULL, &dwType, abBuffer, &dwSize);
    if (!Record(lStatus, dwType, dwSize))
        return FALSE;
    // The data need not end in a zero byte: the text ends at the bytes returned.
    strText = CString(reinterpret_cast<LPCSTR>(abBuffer), static_cast<int>(dwSize));
    return TRUE;
}

BOOL CRegistryEx::WriteString(LPCTSTR lpszValueName, LPCTSTR lpszText) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    ASSERT(lpszText != NULL);
    DWORD dwLength = static_cast<DWORD>(std::strlen(lpszText));
    ASSERT(AfxIsValidAddress(lpszText, dwLength, FALSE));
    DWORD dwSize = dwLength + 1;
    LONG lStatus = ::RegSetValueExA(m_hKey, lpszValueName, 0, REG_SZ,
                                    reinterpret_cast<const BYTE*>(lpszText), dwSize);
    return Record(lStatus, REG_SZ, dwSize);
}

BOOL CRegistryEx::EnumSubKeys(LPCTSTR lpszPath, CStringArray& arrNames) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszPath != NULL);
    DWORD dwSubKeys = 0;
    HKEY hKey = NULL;
    CString strName;

    BOOL bAllWell = Record(::RegOpenKeyExA(m_hKey, lpszPath, 0, KEY_READ, &hKey), 0, 0);
    if (bAllWell)
        bAllWell = Record(::RegQueryInfoKeyA(hKey, NULL, NULL, NULL, &dwSubKeys, NULL, NULL, NULL,
                                             NULL, NULL, NULL, NULL),
                          0, 0);
    if (bAllWell)
        arrNames.RemoveAll();

    // The count is taken once: a subkey deleted meanwhile makes a later step fail.
    for (DWORD dwIndex = 0; bAllWell && dwIndex < dwSubKeys; dwIndex++) {
        char szName[kNameChars];
        DWORD dwNameChars = kNameChars;
        FILETIME ftLastWrite;
        LONG lStatus =
            ::RegEnumKeyExA(hKey, dwIndex, szName, &dwNameChars, NULL, NULL, NULL, &ftLastWrite);
        bAllWell = Record(lStatus, 0, 0);
        if (bAllWell) {
            strName = CString(szName, static_cast<int>(dwNameChars));
            arrNames.Add(strName);
        } else {
            ShowRegistryError(lStatus, "RegEnumKeyEx", __FILE__, __LINE__);
        }
    }

    if (hKey != NULL)
        ::RegCloseKey(hKey);
    return bAllWell;
}

void ShowRegistryError(DWORD dwCode, LPCTSTR lpszCall, LPCTSTR lpszFile, int nLine) {
    LPSTR lpszSystemText = NULL;
    ::FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                         FORMAT_MESSAGE_FROM_SYSTEM,
                     NULL, dwCode, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                     reinterpret_cast<LPSTR>(&lpszSystemText), 0, NULL);
    // Bounded: a long source path is cut at the end of the buffer, never written beyond it.
    char szText[256];
    std::snprintf(szText, sizeof szText, "%u %s\n%s %u", static_cast<unsigned>(dwCode), lpszCall,
                  lpszFile, static_cast<unsigned>(nLine));
    ::MessageBoxA(NULL, szText, lpszSystemText, MB_OK | MB_ICONINFORMATION);
    ::LocalFree(lpszSystemText);
}
