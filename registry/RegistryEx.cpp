#include "RegistryEx.h"

#include <cstdio>
#include <cstring>

namespace {
// Bytes offered for a string value, of a buffer that is larger.
const DWORD kStringBytesOffered = 200;
const DWORD kStringBufferBytes = 256;
// Capacity of the intermediate block of a binary read.
const DWORD kBinaryBufferBytes = 256;
// Characters offered for a subkey or value name, terminator included.
const DWORD kNameChars = 200;

// The value that a search compares: read at |lpszPath| below HKEY_LOCAL_MACHINE, whatever key
// the searching object holds, and empty when the key does not open or the value does not read.
CString ReadMachineString(LPCTSTR lpszPath, LPCTSTR lpszValueName) {
    CString strValue;
    CRegistryEx regValue(HKEY_LOCAL_MACHINE);
    if (regValue.Open(HKEY_LOCAL_MACHINE, lpszPath))
        regValue.ReadString(lpszValueName, strValue);
    regValue.Close();
    return strValue;
}
} // namespace

// The three points in which a value listing differs from a subkey listing.
struct CRegistryEx::NameListing {
    LONG (*pfnCount)(HKEY hKey, DWORD* pdwCount);
    LONG (*pfnReadName)(HKEY hKey, DWORD dwIndex, LPSTR lpszName, DWORD* pdwNameChars);
    LPCTSTR lpszCallName;
};

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

BOOL CRegistryEx::OpenKey(HKEY hRootKey, LPCTSTR lpszPath) {
    ASSERT(hRootKey != NULL);
    ASSERT(lpszPath != NULL);
    LONG lStatus = ::RegOpenKeyExA(hRootKey, lpszPath, 0, KEY_ALL_ACCESS, &m_hKey);
    if (lStatus == ERROR_SUCCESS)
        return TRUE;
    return Record(lStatus, 0, 0);
}

BOOL CRegistryEx::CreateKey(HKEY hRootKey, LPCTSTR lpszPath) {
    DWORD dwDisposition; // created or opened: either will do
    LONG lStatus = ::RegCreateKeyExA(hRootKey, lpszPath, 0, NULL, REG_OPTION_NON_VOLATILE,
                                     KEY_ALL_ACCESS, NULL, &m_hKey, &dwDisposition);
    return Record(lStatus, 0, 0);
}

BOOL CRegistryEx::DeleteKey(HKEY hRootKey, LPCTSTR lpszPath) {
    ASSERT(lpszPath != NULL);
    ASSERT(hRootKey != NULL);
    return Record(::RegDeleteKeyA(hRootKey, lpszPath), 0, 0);
}

void CRegistryEx::Close() {
    if (m_hKey != NULL) {
        ::RegCloseKey(m_hKey);
        m_hKey = NULL;
    }
}

LONG CRegistryEx::SetValue(LPCTSTR lpszValueName, DWORD dwType, const void* pData, DWORD dwSize) {
    return ::RegSetValueExA(m_hKey, lpszValueName, 0, dwType, static_cast<const BYTE*>(pData),
                            dwSize);
}

// Queries into |pbData|, offering |dwSize| bytes; afterwards |dwSize| is the count the query left
// (bytes read, or the size the value needs). Records status, type and that count.
BOOL CRegistryEx::QueryValue(LPCTSTR lpszValueName, BYTE* pbData, DWORD& dwSize) {
    DWORD dwType = REG_NONE; // what is recorded when the platform reports no type
    LONG lStatus = ::RegQueryValueExA(m_hKey, lpszValueName, NULL, &dwType, pbData, &dwSize);
    return Record(lStatus, dwType, dwSize);
}

BOOL CRegistryEx::ReadString(LPCTSTR lpszValueName, CString& strText) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    BYTE abBuffer[kStringBufferBytes];
    DWORD dwSize = kStringBytesOffered;
    if (!QueryValue(lpszValueName, abBuffer, dwSize))
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
    return Record(SetValue(lpszValueName, REG_SZ, lpszText, dwSize), REG_SZ, dwSize);
}

BOOL CRegistryEx::ValueExists(LPCTSTR lpszValueName) {
    ASSERT(m_hKey != NULL);
    LONG lStatus = ::RegQueryValueExA(m_hKey, lpszValueName, NULL, NULL, NULL, NULL);
    return Record(lStatus, 0, 0);
}

BOOL CRegistryEx::DeleteValue(LPCTSTR lpszValueName) {
    ASSERT(m_hKey != NULL);
    return Record(::RegDeleteValueA(m_hKey, lpszValueName), 0, 0);
}

BOOL CRegistryEx::WriteInt(LPCTSTR lpszValueName, int nValue) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    DWORD dwValue = static_cast<DWORD>(nValue); // the same 32 bits
    return Record(SetValue(lpszValueName, REG_DWORD, &dwValue, sizeof dwValue), REG_DWORD,
                  sizeof dwValue);
}

BOOL CRegistryEx::WriteByte(LPCTSTR lpszValueName, BYTE bValue) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    return Record(SetValue(lpszValueName, REG_BINARY, &bValue, sizeof bValue), REG_BINARY,
                  sizeof bValue);
}

// Records nothing, but still tells its caller whether the value was set, as its siblings do:
// without a result and without a record a failure would go unseen.
BOOL CRegistryEx::WriteDword(LPCTSTR lpszValueName, DWORD dwValue) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    return SetValue(lpszValueName, REG_DWORD, &dwValue, sizeof dwValue) == ERROR_SUCCESS;
}

BOOL CRegistryEx::WriteFourBytes(LPCTSTR lpszValueName, const BYTE* pbData) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    return SetValue(lpszValueName, REG_BINARY, pbData, 4) == ERROR_SUCCESS;
}

BOOL CRegistryEx::ReadInt(LPCTSTR lpszValueName, int& nValue) {
    DWORD dwValue;
    if (!ReadDword(lpszValueName, dwValue))
        return FALSE;
    nValue = static_cast<int>(dwValue); // the same 32 bits
    return TRUE;
}

BOOL CRegistryEx::ReadDword(LPCTSTR lpszValueName, DWORD& dwValue) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    // Cleared first, so that a value shorter than 4 bytes reads zero-extended rather than with
    // whatever the stack held beyond it.
    DWORD dwWork = 0;
    DWORD dwSize = sizeof dwWork;
    if (!QueryValue(lpszValueName, reinterpret_cast<BYTE*>(&dwWork), dwSize))
        return FALSE;
    dwValue = dwWork;
    return TRUE;
}

BOOL CRegistryEx::ReadBinary(LPCTSTR lpszValueName, BYTE* pbData, DWORD dwSize) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    BYTE abBlock[kBinaryBufferBytes];
    // A size above the block's capacity offers only the block: a larger value then fails with
    // ERROR_MORE_DATA instead of being written beyond it.
    DWORD dwRead = dwSize < sizeof abBlock ? dwSize : sizeof abBlock;
    if (!QueryValue(lpszValueName, abBlock, dwRead))
        return FALSE;
    std::memcpy(pbData, abBlock, dwRead);
    return TRUE;
}

BOOL CRegistryEx::EnumSubKeys(LPCTSTR lpszPath, CStringArray& arrNames) {
    static const NameListing subKeys = {
        [](HKEY hKey, DWORD* pdwCount) {
            return ::RegQueryInfoKeyA(hKey, NULL, NULL, NULL, pdwCount, NULL, NULL, NULL, NULL,
                                      NULL, NULL, NULL);
        },
        [](HKEY hKey, DWORD dwIndex, LPSTR lpszName, DWORD* pdwNameChars) {
            FILETIME ftLastWrite; // asked for, not used
            return ::RegEnumKeyExA(hKey, dwIndex, lpszName, pdwNameChars, NULL, NULL, NULL,
                                   &ftLastWrite);
        },
        "RegEnumKeyEx"};
    return EnumNames(lpszPath, arrNames, subKeys);
}

BOOL CRegistryEx::EnumValues(LPCTSTR lpszPath, CStringArray& arrNames) {
    static const NameListing values = {
        [](HKEY hKey, DWORD* pdwCount) {
            return ::RegQueryInfoKeyA(hKey, NULL, NULL, NULL, NULL, NULL, NULL, pdwCount, NULL,
                                      NULL, NULL, NULL);
        },
        [](HKEY hKey, DWORD dwIndex, LPSTR lpszName, DWORD* pdwNameChars) {
            DWORD dwType; // asked for, dropped: no data is read
            return ::RegEnumValueA(hKey, dwIndex, lpszName, pdwNameChars, NULL, &dwType, NULL,
                                   NULL);
        },
        "RegEnumValue"};
    return EnumNames(lpszPath, arrNames, values);
}

BOOL CRegistryEx::EnumNames(LPCTSTR lpszPath, CStringArray& arrNames, const NameListing& listing) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszPath != NULL);
    DWORD dwCount = 0;
    HKEY hKey = NULL;
    CString strName;

    BOOL bAllWell = Record(::RegOpenKeyExA(m_hKey, lpszPath, 0, KEY_READ, &hKey), 0, 0);
    if (bAllWell)
        bAllWell = Record(listing.pfnCount(hKey, &dwCount), 0, 0);
    if (bAllWell)
        arrNames.RemoveAll();

    // The count is taken once: a name deleted meanwhile makes a later step fail.
    for (DWORD dwIndex = 0; bAllWell && dwIndex < dwCount; dwIndex++) {
        char szName[kNameChars];
        DWORD dwNameChars = kNameChars;
        LONG lStatus = listing.pfnReadName(hKey, dwIndex, szName, &dwNameChars);
        bAllWell = Record(lStatus, 0, 0);
        if (bAllWell) {
            strName = CString(szName, static_cast<int>(dwNameChars));
            arrNames.Add(strName);
        } else {
            ShowRegistryError(lStatus, listing.lpszCallName, __FILE__, __LINE__);
        }
    }

    if (hKey != NULL)
        ::RegCloseKey(hKey);
    return bAllWell;
}

CString CRegistryEx::FindKeyByValue(LPCTSTR lpszPath, LPCTSTR lpszValueName,
                                    LPCTSTR lpszWantedText) {
    CString strFound;
    ASSERT(m_hKey != NULL);
    ASSERT(lpszPath != NULL);
    ASSERT(lpszValueName != NULL);
    ASSERT(lpszWantedText != NULL);

    CString strValue = ReadMachineString(lpszPath, lpszValueName);
    CString strWanted(lpszWantedText);
    strValue.MakeUpper();
    strWanted.MakeUpper();
    if (strValue == strWanted)
        return lpszPath;

    CStringArray arrNames;
    if (!EnumSubKeys(lpszPath, arrNames))
        return strFound;
    for (int i = 0; i < arrNames.GetSize() && strFound.IsEmpty(); i++) {
        CString strChild = CString(lpszPath) + '\\' + arrNames[i];
        // A subkey that cannot itself be listed is skipped with everything below it.
        CStringArray arrScratch;
        if (EnumSubKeys(strChild, arrScratch))
            strFound = FindKeyByValue(strChild, lpszValueName, lpszWantedText);
    }
    return strFound;
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
