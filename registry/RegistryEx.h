// CRegistryEx: one registry key handle (the current key) and the operations on it.
//
// Results: every BOOL is TRUE exactly when the operation's deciding registry call returned
// ERROR_SUCCESS. Registry failures never throw (only a framework exception raised while loading an
// archived value reaches the caller) and nothing is shown, except the error box of a failing
// listing step (see EnumSubKeys).
//
// Call record: most operations keep their registry call's status, with the type and size of the
// value concerned, in the call record (GetLastStatus, GetLastType, GetLastSize); each comment
// below says what it records. "Records nothing" means the record still holds what the previous
// recording operation left.
//
// Handle ownership: the object closes its current key in Close and in its destructor, whatever
// it is (the root given to the constructor too). Every open (Open, OpenSubKey, OpenKey,
// CreateKey) writes the new handle straight into the current key and forgets the handle held
// before without closing it; after a failed open the current key holds whatever the platform
// stored there (NULL on Windows and Wine).
//
// Preconditions are debug assertions naming this source file and the line, in the order listed;
// a release build does not check them and goes on with the call.
#pragma once

#include "Afx.h"

#include <functional>

class CRegistryEx : public CObject {
public:
    // The current key becomes |hRootKey|. The call record reads 0 until an operation records.
    explicit CRegistryEx(HKEY hRootKey);
    // Closes the current key.
    ~CRegistryEx() override;

    // --- Keys ---

    // Remembers |lpszPath| (even when the open fails), then opens it below |hRootKey| with full
    // access into the current key. Records the open's status, type 0, size 0.
    BOOL Open(HKEY hRootKey, LPCTSTR lpszPath);

    // Asserts: current key. Opens |lpszPath| below the current key with full access; the new
    // handle replaces the parent. The remembered path stays. Records the open's status, type 0,
    // size 0.
    BOOL OpenSubKey(LPCTSTR lpszPath);

    // Asserts: |hRootKey|, then |lpszPath|. Opens |lpszPath| below |hRootKey| with full access
    // into the current key; the remembered path stays. Records only on failure (status, type 0,
    // size 0): a successful open leaves the record as it was.
    BOOL OpenKey(HKEY hRootKey, LPCTSTR lpszPath);

    // Creates |lpszPath| below |hRootKey|, or opens it when it exists, non-volatile with full
    // access, into the current key; the remembered path stays. Records status, type 0, size 0.
    BOOL CreateKey(HKEY hRootKey, LPCTSTR lpszPath);

    // Asserts: |lpszPath|, then |hRootKey|. Deletes the key |lpszPath| below |hRootKey| (it must
    // have no subkeys). The current key is neither used nor changed, even when it refers to the
    // deleted key. Records status, type 0, size 0.
    BOOL DeleteKey(HKEY hRootKey, LPCTSTR lpszPath);

    // Closes the current key if there is one; the current key becomes NULL. Records nothing.
    void Close();

    // --- Values of the current key ---
    // Each of these asserts the current key; all but ValueExists and DeleteValue also assert
    // the value name. Reads take a value of any type and leave their out argument untouched on
    // failure, including when the value is larger than what they read (ERROR_MORE_DATA, with
    // the size that the value needs recorded).

    // Reads value |lpszValueName|, of whatever type, when its data fits in 200 bytes, and takes
    // it as text up to its first zero byte or its last byte. Records the query's status, type
    // and size.
    BOOL ReadString(LPCTSTR lpszValueName, CString& strText);

    // Asserts also: |lpszText| not NULL and readable. Sets REG_SZ |lpszText| with its
    // terminator. Records status, type REG_SZ, size length + 1, also on failure.
    BOOL WriteString(LPCTSTR lpszValueName, LPCTSTR lpszText);

    // TRUE when value |lpszValueName| exists and can be queried (no data is read). Records
    // status, type 0, size 0.
    BOOL ValueExists(LPCTSTR lpszValueName);

    // Deletes value |lpszValueName|. Records status, type 0, size 0.
    BOOL DeleteValue(LPCTSTR lpszValueName);

    // Sets REG_DWORD with the 32 bits of |nValue| (-1 is stored as 0xFFFFFFFF). Records status,
    // type REG_DWORD, size 4, also on failure.
    BOOL WriteInt(LPCTSTR lpszValueName, int nValue);

    // Sets REG_BINARY of the one byte |bValue|. Records status, type REG_BINARY, size 1, also on
    // failure.
    BOOL WriteByte(LPCTSTR lpszValueName, BYTE bValue);

    // Sets REG_DWORD |dwValue|; TRUE when the value was set. Records nothing, so its result is
    // the only sign of a failure.
    BOOL WriteDword(LPCTSTR lpszValueName, DWORD dwValue);

    // Sets REG_BINARY of exactly the 4 bytes at |pbData| (not asserted). Records nothing.
    BOOL WriteFourBytes(LPCTSTR lpszValueName, const BYTE* pbData);

    // Reads a value of at most 4 bytes into |nValue|, little-endian; a shorter value is
    // zero-extended (a 1-byte 0xFF reads 255). Records the query's status, type and size.
    BOOL ReadInt(LPCTSTR lpszValueName, int& nValue);

    // ReadInt with an unsigned result: a stored -1 reads 4294967295.
    BOOL ReadDword(LPCTSTR lpszValueName, DWORD& dwValue);

    // Reads a value of at most |dwSize| bytes (and at most 256) into |pbData| (not asserted),
    // writing exactly the bytes read: their number is the recorded last size. Records the
    // query's status, type and size.
    BOOL ReadBinary(LPCTSTR lpszValueName, BYTE* pbData, DWORD dwSize);

    // --- Listing and search ---

    // Asserts: current key, |lpszPath|. Lists the names of the subkeys of |lpszPath| (below the
    // current key, opened for reading with a handle of its own, closed before returning) into
    // |arrNames| in enumeration order. When the path cannot be opened or counted, |arrNames| is
    // untouched and nothing is shown. A failing enumeration step (a name of 200 characters or
    // more, a subkey gone meanwhile) shows the registry error box naming "RegEnumKeyEx" and ends
    // the listing; the names read before it stay. Records each call's status, type 0, size 0, so
    // the record ends with the last call's. The current key is unchanged.
    BOOL EnumSubKeys(LPCTSTR lpszPath, CStringArray& arrNames);

    // EnumSubKeys for the names of the values of |lpszPath| (the unnamed default value lists as
    // an empty name); its error box names "RegEnumValue".
    BOOL EnumValues(LPCTSTR lpszPath, CStringArray& arrNames);

    // Asserts: current key, |lpszPath|, |lpszValueName|, |lpszWantedText|. Searches depth first,
    // a key before its subkeys, from |lpszPath| for the first key whose value |lpszValueName|
    // equals |lpszWantedText| regardless of letter case, and returns its path built as
    // |lpszPath| + "\" + subkey names; empty when none matches. The tree is listed below the
    // current key (with EnumSubKeys, so its record and boxes), while each value is read at the
    // same path below HKEY_LOCAL_MACHINE through a temporary object: a key that does not open
    // there with full access, or whose value is missing or unreadable, has an empty value. A
    // child that cannot be listed is skipped whole, its own value included (the starting key's
    // value is compared before anything is listed).
    CString FindKeyByValue(LPCTSTR lpszPath, LPCTSTR lpszValueName, LPCTSTR lpszWantedText);

    // --- Archived values ---

    // A framework collection, a rectangle or a point kept as one REG_BINARY
    // value whose bytes are exactly what the framework's archive writes for it.
    //
    // Every store asserts the current key and the value name, that its work block was obtained,
    // that the object is serialisable and that the archived length stays below the work block
    // (4096 bytes; 30 for a rectangle or a point); past the bound the whole archive is written
    // all the same. It records the set's status, type REG_BINARY (1 for a rectangle, 2 for a
    // point: the value is REG_BINARY all the same) and the archived length, also on failure.
    // TRUE when the set succeeded.
    //
    // Every load asserts the current key and the value name and that its work block was
    // obtained, and records the query's status, type and size (a rectangle 1 and 16, a point 2
    // and 8, whether or not the query succeeded; a collection records before it loads, a
    // rectangle or a point once loaded, so that one that throws leaves the record as it was). TRUE
    // when the query succeeded. Only a REG_BINARY value is loaded (asserting that it stays below
    // the work block); a value of any other type leaves the object untouched. A value larger than
    // the work block fails with ERROR_MORE_DATA and the size that it needs. Data that is not a
    // whole archived object throws the framework's CArchiveException (CException*) to the caller,
    // who deletes it; the object is then in an unspecified state, and nothing else is left behind.
    //
    // When its work block cannot be had, an operation records ERROR_NOT_ENOUGH_MEMORY with size
    // 0 (a rectangle's or a point's load with its type and size as above) and returns FALSE,
    // writing and loading nothing.

    BOOL WriteStringList(LPCTSTR lpszValueName, CStringList& list);
    BOOL WriteByteArray(LPCTSTR lpszValueName, CByteArray& arrBytes);
    BOOL WriteDwordArray(LPCTSTR lpszValueName, CDWordArray& arrDwords);
    BOOL WriteWordArray(LPCTSTR lpszValueName, CWordArray& arrWords);
    BOOL WriteStringArray(LPCTSTR lpszValueName, CStringArray& arrStrings);
    // Stored as the double-word array top, bottom, left, right, 0.
    BOOL WriteRect(LPCTSTR lpszValueName, const RECT* pRect);
    // Stored as the double-word array x, y, 0, 0, 0.
    BOOL WritePoint(LPCTSTR lpszValueName, POINT*& pPoint);

    // |list| becomes exactly the stored strings, in their stored order.
    BOOL ReadStringList(LPCTSTR lpszValueName, CStringList& list);
    // An array load keeps the array's element count: the first stored elements, then zeros
    // (empty strings) where fewer were stored; stored elements beyond the count are dropped.
    BOOL ReadByteArray(LPCTSTR lpszValueName, CByteArray& arrBytes);
    BOOL ReadDwordArray(LPCTSTR lpszValueName, CDWordArray& arrDwords);
    BOOL ReadWordArray(LPCTSTR lpszValueName, CWordArray& arrWords);
    BOOL ReadStringArray(LPCTSTR lpszValueName, CStringArray& arrStrings);
    // The rectangle (point) is filled from a stored array of at least four (two) elements and
    // left untouched otherwise.
    BOOL ReadRect(LPCTSTR lpszValueName, RECT*& pRect);
    BOOL ReadPoint(LPCTSTR lpszValueName, POINT*& pPoint);

    LONG GetLastStatus() const { return m_lLastStatus; }
    DWORD GetLastType() const { return m_dwLastType; }
    DWORD GetLastSize() const { return m_dwLastSize; }
    HKEY GetKey() const { return m_hKey; }
    const CString& GetPath() const { return m_strPath; }

private:
    struct NameListing;

    BOOL Record(LONG lStatus, DWORD dwType, DWORD dwSize);
    LONG SetValue(LPCTSTR lpszValueName, DWORD dwType, const void* pData, DWORD dwSize);
    BOOL QueryValue(LPCTSTR lpszValueName, BYTE* pbData, DWORD& dwSize);
    // QueryValue's query alone, with the type that it reports (REG_NONE when none); records
    // nothing.
    LONG QueryUnrecorded(LPCTSTR lpszValueName, BYTE* pbData, DWORD& dwSize, DWORD& dwType);
    BOOL EnumNames(LPCTSTR lpszPath, CStringArray& arrNames, const NameListing& listing);
    // The steps of every store: |object| serialised into a work block of |nBlockBytes|, written
    // as REG_BINARY, recorded with |dwRecordedType|.
    BOOL StoreArchived(LPCTSTR lpszValueName, CObject& object, UINT nBlockBytes,
                       DWORD dwRecordedType);
    // The steps of every load: the value queried into a work block of |nBlockBytes| and, when
    // it is REG_BINARY, handed through an archive to |fnLoad|, which loads |object| from it. A
    // collection (|dwShapeType| 0) records the query; a shape records |dwShapeType| and
    // |dwShapeSize| with the query's status.
    BOOL LoadArchived(LPCTSTR lpszValueName, CObject& object, UINT nBlockBytes,
                      const std::function<void(CArchive&)>& fnLoad, DWORD dwShapeType = 0,
                      DWORD dwShapeSize = 0);

    LONG m_lLastStatus = 0;
    DWORD m_dwLastType = 0;
    DWORD m_dwLastSize = 0;
    HKEY m_hKey;
    CString m_strPath;
};

// Shows a failed registry call: the system's text for |dwCode| as the caption, and as the body
// "<code> <call>\n<source file> <line>" (cut to 255 characters), with an OK button and the
// information icon. Waits until the user closes it.
void ShowRegistryError(DWORD dwCode, LPCTSTR lpszCall, LPCTSTR lpszFile, int nLine);
