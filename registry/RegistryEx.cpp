#include "RegistryEx.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

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
    DWORD dwType = REG_NONE;
    LONG lStatus = QueryUnrecorded(lpszValueName, pbData, dwSize, dwType);
    return Record(lStatus, dwType, dwSize);
}

LONG CRegistryEx::QueryUnrecorded(LPCTSTR lpszValueName, BYTE* pbData, DWORD& dwSize,
                                  DWORD& dwType) {
    dwType = REG_NONE; // what is recorded when the platform reports no type
    return ::RegQueryValueExA(m_hKey, lpszValueName, NULL, &dwType, pbData, &dwSize);
}

BOOL CRegistryEx::ReadString(LPCTSTR lpszValueName, CString& strText) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    BYTE abBuffer[kStringBufferBytes];
    DWORD dwSize = kStringBytesOffered;
    if (!QueryValue(lpszValueName, abBuffer, dwSize))
        return FALSE;
    // Read as a zero-terminated text; the data need not end in a zero byte, so the text ends at
    // the bytes returned at the latest.
    LPCSTR lpszData = reinterpret_cast<LPCSTR>(abBuffer);
    strText = CString(lpszData, static_cast<int>(::strnlen(lpszData, dwSize)));
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
    static constexpr NameListing subKeys = {
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
    static constexpr NameListing values = {
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

namespace {
// Work blocks: an archived value must stay below the block that it is stored from or loaded
// into.
const UINT kCollectionBlockBytes = 4096;
// A point travels like a rectangle: a double-word array of five elements (x, y and three
// zeros), 22 bytes archived, in a block of 30. Five elements would never fit below a 20-byte
// block, so a stored point could not load back; with the rectangle's block it does, and a
// five-element point that another program on the framework stored loads too.
const UINT kShapeBlockBytes = 30;
const int kShapeElements = 5;
const int kRectElementsNeeded = 4;
const int kPointElementsNeeded = 2;
// A store's memory file grows the block in steps of this many bytes.
const UINT kStoreGrowBytes = 16;
const int kArchiveBufferBytes = 4096;
// The last type that the rectangle and the point operations record, though their values are
// REG_BINARY: the numbers of REG_SZ and REG_EXPAND_SZ, kept as marks of the two shapes.
const DWORD kRectRecordedType = 1;
const DWORD kPointRecordedType = 2;
// An array load first makes room for this many elements; the stored count then decides.
const int kLoadPresize = 10;

struct FreeBlock {
    void operator()(BYTE* lpBlock) const { std::free(lpBlock); }
};

// The load of an array, which leaves it with as many elements as it had on entry.
template <class TArray> std::function<void(CArchive&)> LoadKeepingSize(TArray& arr) {
    int nEntrySize = arr.GetSize();
    return [&arr, nEntrySize](CArchive& ar) {
        arr.RemoveAll();
        arr.SetSize(kLoadPresize, -1);
        arr.Serialize(ar);
        arr.SetSize(nEntrySize, -1);
    };
}

// The load of a rectangle's or a point's array.
std::function<void(CArchive&)> LoadShape(CDWordArray& arrShape) {
    return [&arrShape](CArchive& ar) {
        arrShape.RemoveAll();
        arrShape.SetSize(kShapeElements, -1);
        arrShape.Serialize(ar);
    };
}
} // namespace

BOOL CRegistryEx::StoreArchived(LPCTSTR lpszValueName, CObject& object, UINT nBlockBytes,
                                DWORD dwRecordedType) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    BYTE* lpBlock = static_cast<BYTE*>(std::calloc(nBlockBytes, 1));
    ASSERT(lpBlock != NULL);
    // Without its block a store writes nothing: it fails as the platform would without memory.
    if (lpBlock == NULL)
        return Record(ERROR_NOT_ENOUGH_MEMORY, dwRecordedType, 0);

    CMemFile file(lpBlock, nBlockBytes, kStoreGrowBytes);
    try {
        CArchive ar(&file, CArchive::store, kArchiveBufferBytes);
        ASSERT(object.IsSerializable());
        object.Serialize(ar);
        ar.Close();
    } catch (...) {
        // The file may have moved the block while growing it, and never frees a caller's block.
        std::free(file.Detach());
        throw;
    }
    DWORD dwLength = file.GetLength();
    ASSERT(dwLength < nBlockBytes);
    BYTE* lpData = file.Detach();
    LONG lStatus = ::RegSetValueExA(m_hKey, lpszValueName, 0, REG_BINARY, lpData, dwLength);
    std::free(lpData);
    return Record(lStatus, dwRecordedType, dwLength);
}

BOOL CRegistryEx::LoadArchived(LPCTSTR lpszValueName, CObject& object, UINT nBlockBytes,
                               const std::function<void(CArchive&)>& fnLoad, DWORD dwShapeType,
                               DWORD dwShapeSize) {
    ASSERT(m_hKey != NULL);
    ASSERT(lpszValueName != NULL);
    DWORD dwSize = nBlockBytes;
    std::unique_ptr<BYTE, FreeBlock> block(static_cast<BYTE*>(std::calloc(nBlockBytes, 1)));
    ASSERT(block != NULL);
    // Without its block a load reads nothing: it fails as the platform would without memory.
    if (block == NULL)
        return Record(ERROR_NOT_ENOUGH_MEMORY, dwShapeType, dwShapeSize);

    DWORD dwType;
    LONG lStatus = QueryUnrecorded(lpszValueName, block.get(), dwSize, dwType);
    // A collection's load records its query before it loads; a shape's load records its own type
    // and size once it has loaded, so that one that throws leaves the record as it was.
    if (dwShapeType == 0)
        Record(lStatus, dwType, dwSize);
    if (lStatus == ERROR_SUCCESS && dwType == REG_BINARY) {
        ASSERT(dwSize < nBlockBytes);
        // The file holds the value's bytes and no more: the archive cannot read beyond them.
        // An exception from the load leaves through the destructors of the archive (its
        // buffer), the file (which never frees a caller's block) and the block.
        CMemFile file(block.get(), dwSize);
        CArchive ar(&file, CArchive::load, kArchiveBufferBytes);
        // The archive's context for the objects being loaded: these collections need none.
        ar.m_pDocument = NULL;
        ASSERT(ar.IsLoading());
        ASSERT(object.IsSerializable());
        fnLoad(ar);
        ar.Close();
        file.Close();
    }
    if (dwShapeType != 0)
        Record(lStatus, dwShapeType, dwShapeSize);
    return lStatus == ERROR_SUCCESS;
}

BOOL CRegistryEx::WriteStringList(LPCTSTR lpszValueName, CStringList& list) {
    return StoreArchived(lpszValueName, list, kCollectionBlockBytes, REG_BINARY);
}

BOOL CRegistryEx::WriteByteArray(LPCTSTR lpszValueName, CByteArray& arrBytes) {
    return StoreArchived(lpszValueName, arrBytes, kCollectionBlockBytes, REG_BINARY);
}

BOOL CRegistryEx::WriteDwordArray(LPCTSTR lpszValueName, CDWordArray& arrDwords) {
    return StoreArchived(lpszValueName, arrDwords, kCollectionBlockBytes, REG_BINARY);
}

BOOL CRegistryEx::WriteWordArray(LPCTSTR lpszValueName, CWordArray& arrWords) {
    return StoreArchived(lpszValueName, arrWords, kCollectionBlockBytes, REG_BINARY);
}

BOOL CRegistryEx::WriteStringArray(LPCTSTR lpszValueName, CStringArray& arrStrings) {
    return StoreArchived(lpszValueName, arrStrings, kCollectionBlockBytes, REG_BINARY);
}

BOOL CRegistryEx::WriteRect(LPCTSTR lpszValueName, const RECT* pRect) {
    CDWordArray arrShape;
    arrShape.SetSize(kShapeElements, -1);
    arrShape.SetAt(0, static_cast<DWORD>(pRect->top));
    arrShape.SetAt(1, static_cast<DWORD>(pRect->bottom));
    arrShape.SetAt(2, static_cast<DWORD>(pRect->left));
    arrShape.SetAt(3, static_cast<DWORD>(pRect->right));
    return StoreArchived(lpszValueName, arrShape, kShapeBlockBytes, kRectRecordedType);
}

BOOL CRegistryEx::WritePoint(LPCTSTR lpszValueName, POINT*& pPoint) {
    CDWordArray arrShape;
    arrShape.SetSize(kShapeElements, -1);
    arrShape.SetAt(0, static_cast<DWORD>(pPoint->x));
    arrShape.SetAt(1, static_cast<DWORD>(pPoint->y));
    return StoreArchived(lpszValueName, arrShape, kShapeBlockBytes, kPointRecordedType);
}

BOOL CRegistryEx::ReadStringList(LPCTSTR lpszValueName, CStringList& list) {
    return LoadArchived(lpszValueName, list, kCollectionBlockBytes, [&list](CArchive& ar) {
        list.RemoveAll();
        list.Serialize(ar);
    });
}

BOOL CRegistryEx::ReadByteArray(LPCTSTR lpszValueName, CByteArray& arrBytes) {
    return LoadArchived(lpszValueName, arrBytes, kCollectionBlockBytes, LoadKeepingSize(arrBytes));
}

BOOL CRegistryEx::ReadDwordArray(LPCTSTR lpszValueName, CDWordArray& arrDwords) {
    return LoadArchived(lpszValueName, arrDwords, kCollectionBlockBytes,
                        LoadKeepingSize(arrDwords));
}

BOOL CRegistryEx::ReadWordArray(LPCTSTR lpszValueName, CWordArray& arrWords) {
    return LoadArchived(lpszValueName, arrWords, kCollectionBlockBytes, LoadKeepingSize(arrWords));
}

BOOL CRegistryEx::ReadStringArray(LPCTSTR lpszValueName, CStringArray& arrStrings) {
    return LoadArchived(lpszValueName, arrStrings, kCollectionBlockBytes,
                        LoadKeepingSize(arrStrings));
}

BOOL CRegistryEx::ReadRect(LPCTSTR lpszValueName, RECT*& pRect) {
    CDWordArray arrShape;
    BOOL bQueried = LoadArchived(lpszValueName, arrShape, kShapeBlockBytes, LoadShape(arrShape),
                                 kRectRecordedType, sizeof(RECT));
    // A stored array too short for a rectangle (or not loaded at all) is no rectangle: the
    // caller's stays as it was rather than be half filled or read beyond the array.
    if (arrShape.GetSize() >= kRectElementsNeeded) {
        pRect->top = static_cast<LONG>(arrShape.GetAt(0));
        pRect->bottom = static_cast<LONG>(arrShape.GetAt(1));
        pRect->left = static_cast<LONG>(arrShape.GetAt(2));
        pRect->right = static_cast<LONG>(arrShape.GetAt(3));
    }
    return bQueried;
}

BOOL CRegistryEx::ReadPoint(LPCTSTR lpszValueName, POINT*& pPoint) {
    CDWordArray arrShape;
    BOOL bQueried = LoadArchived(lpszValueName, arrShape, kShapeBlockBytes, LoadShape(arrShape),
                                 kPointRecordedType, sizeof(POINT));
    // As for a rectangle: too short an array leaves the point as it was.
    if (arrShape.GetSize() >= kPointElementsNeeded) {
        pPoint->x = static_cast<LONG>(arrShape.GetAt(0));
        pPoint->y = static_cast<LONG>(arrShape.GetAt(1));
    }
    return bQueried;
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
