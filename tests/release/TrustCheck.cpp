// Prints what the platform's Authenticode check (WinVerifyTrust with
// WINTRUST_ACTION_GENERIC_VERIFY_V2, no user interface, no revocation check) says of each file
// named on the command line: its result as eight hexadecimal digits, a space and the file, one
// line a file.
#include <windows.h>

#include <softpub.h>
#include <wintrust.h>

#include <cstdio>

namespace {

LONG VerifyTrust(const wchar_t* pszPath) {
    WINTRUST_FILE_INFO file = {};
    file.cbStruct = sizeof file;
    file.pcwszFilePath = pszPath;
    WINTRUST_DATA data = {};
    data.cbStruct = sizeof data;
    data.dwUIChoice = WTD_UI_NONE;
    data.fdwRevocationChecks = WTD_REVOKE_NONE;
    data.dwUnionChoice = WTD_CHOICE_FILE;
    data.pFile = &file;
    data.dwStateAction = WTD_STATEACTION_VERIFY;
    GUID action = WINTRUST_ACTION_GENERIC_VERIFY_V2;
    LONG lResult = WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    // The state that the check kept is released by a second call.
    data.dwStateAction = WTD_STATEACTION_CLOSE;
    WinVerifyTrust(static_cast<HWND>(INVALID_HANDLE_VALUE), &action, &data);
    return lResult;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    for (int i = 1; i < argc; i++)
        wprintf(L"%08lX %ls\n", static_cast<unsigned long>(VerifyTrust(argv[i])), argv[i]);
    return 0;
}
