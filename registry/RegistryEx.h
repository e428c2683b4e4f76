// CRegistryEx: one registry key handle (the current key) and the operations on it.
//
// Every operation reports success as a BOOL that is TRUE exactly when its deciding registry call
// returned ERROR_SUCCESS, and keeps that call's status, with the type and size of the value
// concerned, in the call record (GetLastStatus, GetLastType, GetLastSize). Nothing throws.
//
// Handle ownership: the object closes its current key in Close and in its destructor, whatever
// it is (the root given to the constructor too). An open writes the new handle straight into the
// current key and forgets the handle held before without closing it; after a failed open the
// current key holds whatever the platform stored there.
#pragma once

#include "Afx.h"

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
