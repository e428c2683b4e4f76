// CRegistryEx: one registry key handle (the current key) and the operations on it.
//
// Every operation reports success as a BOOL that is TRUE exactly when its deciding registry call
// returned ERROR_SUCCESS, and keeps that call's status, with the type and size of the value
// concerned, in the call record (GetLastStatus, GetLastType, GetLastSize). Registry failures
// never throw.
//
// Handle ownership: the object closes its current key in Close and in its destructor, whatever
// it is (the root given to the constructor too). An open writes the new handle straight into the
// current key and forgets the handle held before without closing it; after a failed open the
// current key holds whatever the platform stored there.
#pragma once

#include "Afx.h"

#include <functional>

class CRegistryEx : public CObject {
public:
    // The current key becomes |hRootKey|. The call record reads 0 until an operation records.
    explicit CRegistryEx(HKEY hRootKey);
    // Closes the current key.
    ~CRegistryEx() override;

    // Remembers |lpszPath| (even when the open fails), then opens it below |hRootKey| with full
    // access into the current key. Records the open's status, type 0, size 0.
    BOOL Open(HKEY hRootKey, LPCTSTR lpszPath);

    // Opens |lpszPath| below the current key with full access; the new handle replaces the
    // parent. The remembered path stays. Records the open's status, type 0, size 0.
    BOOL OpenSubKey(LPCTSTR lpszPath);

    // Closes the current key if there is one; the current key becomes NULL. Records nothing.
    void Close();

    // Reads value |lpszValueName| of the current key, of whatever type, when its data fits in
    // 200 bytes, and takes it as text up to its first zero byte. Records the query's status,
    // type and size (on ERROR_MORE_DATA the size the value needs). |strText| is untouched on
    // failure.
    BOOL ReadString(LPCTSTR lpszValueName, CString& strText);

    // Sets value |lpszValueName| of the current key to REG_SZ |lpszText| with its terminator.
    // Records the write's status, type REG_SZ, size length + 1, also on failure.
    BOOL WriteString(LPCTSTR lpszValueName, LPCTSTR lpszText);

    // Lists the names of the subkeys of |lpszPath| (below the current key, opened for reading
    // with a handle of its own) into |arrNames| in enumeration order. When the path cannot be
    // opened or counted, |arrNames| is untouched and nothing is shown. A failing enumeration
    // step (a name of 200 characters or more, a subkey gone meanwhile) shows the registry error
    // box and ends the listing; the names read before it stay. Records its last call's status,
    // type 0, size 0. The current key is unchanged.
    BOOL EnumSubKeys(LPCTSTR lpszPath, CStringArray& arrNames);

    // Archived values: a framework collection, a rectangle or a point kept as one REG_BINARY
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
    // and 8, whether or not the query succeeded). TRUE when the query succeeded. Only a REG_BINARY
    // value is loaded (asserting that it stays below the work block); a value of any other type
    // leaves the object untouched. A value larger than the work block fails with ERROR_MORE_DATA
    // and the size that it needs. Data that is not a whole archived object throws the framework's
    // CArchiveException (CException*) to the caller, who deletes it; the object is then in an
    // unspecified state, and nothing else is left behind.
    //
    // When its work block cannot be had, an operation records ERROR_NOT_ENOUGH_MEMORY with size
    // 0 and returns FALSE, writing and loading nothing.

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

private:
    // The steps of every store: |object| serialised into a work block of |nBlockBytes|, written
    // as REG_BINARY, recorded with |dwRecordedType|.
    BOOL StoreArchived(LPCTSTR lpszValueName, CObject& object, UINT nBlockBytes,
                       DWORD dwRecordedType);
    // The steps of every load: the value queried into a work block of |nBlockBytes| and, when
    // it is REG_BINARY, handed through an archive to |fnLoad|, which loads |object| from it.
    BOOL LoadArchived(LPCTSTR lpszValueName, CObject& object, UINT nBlockBytes,
                      const std::function<void(CArchive&)>& fnLoad);

public:
    LONG GetLastStatus() const { return m_lLastStatus; }
    DWORD GetLastType() const { return m_dwLastType; }
    DWORD GetLastSize() const { return m_dwLastSize; }
    HKEY GetKey() const { return m_hKey; }
    const CString& GetPath() const { return m_strPath; }

private:
    BOOL Record(LONG lStatus, DWORD dwType, DWORD dwSize);

    LONG m_lLastStatus = 0;
    DWORD m_dwLastType = 0;
    DWORD m_dwLastSize = 0;
    HKEY m_hKey;
    CString m_strPath;
};

// Shows a failed registry call: the system's text for |dwCode| as the caption, and as the body
// "<code> <call>\n<source file> <line>", with an OK button and the information icon.
void ShowRegistryError(DWORD dwCode, LPCTSTR lpszCall, LPCTSTR lpszFile, int nLine);
