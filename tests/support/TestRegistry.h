// Registry helpers of the tests: keys they own, values they seed, access they restrict, and the
// system's text for a status code. Failures are gtest failures of the calling test.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace test_support {

struct KeyCloser {
    void operator()(HKEY hKey) const { RegCloseKey(hKey); }
};
// A key handle that the test owns and closes.
using ScopedKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

// Creates (or opens) |strPath| below |hParent| with full access; empty on failure.
ScopedKey CreateTestKey(HKEY hParent, const std::string& strPath);

// Sets value |pszName| of |hKey| to exactly |strBytes| of type |dwType|.
void SetTestValue(HKEY hKey, const char* pszName, DWORD dwType, const std::string& strBytes);

// Replaces the DACL of |hKey| by the one that |pszSddl| describes ("D:(A;;KR;;;WD)": everyone may
// read, nobody more). Wine keeps it only while its server runs.
void SetKeyDacl(HKEY hKey, const char* pszSddl);

// A scratch key of the test's own, Software\<name>.<process id> below HKEY_CURRENT_USER, to which
// this process's HKEY_LOCAL_MACHINE is redirected while the object lives. The destructor undoes
// the redirection and deletes the key with everything below it.
class MachineRedirect {
public:
    explicit MachineRedirect(const std::string& strName);
    MachineRedirect(const MachineRedirect&) = delete;
    MachineRedirect& operator=(const MachineRedirect&) = delete;
    ~MachineRedirect();

    bool Redirected() const { return m_bRedirected; }
    HKEY Key() const { return m_key.get(); }

private:
    std::string m_strPath;
    ScopedKey m_key;
    bool m_bRedirected = false;
};

// The text that the system has for status |dwCode|, as FormatMessageA gives it.
std::string SystemText(DWORD dwCode);

} // namespace test_support
