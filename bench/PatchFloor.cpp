// The least registry work that the patch pass can be done with, as a yardstick for Halvex.exe:
// the adapter class key is opened once, and each instance is opened relative to it, queried
// within the same 200 bytes, set to "1" when the query succeeds, and closed. No framework, no
// paths built, no call record.
//
// Built twice: PatchFloor is a console program that imports only advapi32 and kernel32;
// PatchFloorBox is, as Halvex, a GUI-subsystem program that imports user32 for its box (shown
// when the class key does not open). Under Wine the difference between the two is the start-up
// cost of user32.
#include <windows.h>

namespace {
const char kAdapterClassPath[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
const char kPowerValue[] = "EnhLANPwrMgmt";
const char kPatched[] = "1";
const DWORD kStringBytesOffered = 200;
const DWORD kNameChars = 200;

void PatchInstance(HKEY hClass, const char* pszName) {
    HKEY hInstance = NULL;
    if (RegOpenKeyExA(hClass, pszName, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &hInstance) !=
        ERROR_SUCCESS)
        return;
    BYTE abData[kStringBytesOffered];
    DWORD dwSize = sizeof abData;
    if (RegQueryValueExA(hInstance, kPowerValue, NULL, NULL, abData, &dwSize) == ERROR_SUCCESS)
        RegSetValueExA(hInstance, kPowerValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(kPatched),
                       sizeof kPatched);
    RegCloseKey(hInstance);
}
} // namespace

int main() {
    HKEY hClass = NULL;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAdapterClassPath, 0, KEY_ENUMERATE_SUB_KEYS, &hClass) !=
        ERROR_SUCCESS) {
#ifdef PATCH_FLOOR_SHOWS_BOX
        MessageBoxA(NULL, "The adapter class key does not open.", NULL, MB_OK);
#endif
        return 1;
    }
    char szName[kNameChars];
    DWORD dwNameChars = kNameChars;
    for (DWORD dwIndex = 0; RegEnumKeyExA(hClass, dwIndex, szName, &dwNameChars, NULL, NULL, NULL,
                                          NULL) == ERROR_SUCCESS;
         dwIndex++, dwNameChars = kNameChars)
        PatchInstance(hClass, szName);
    RegCloseKey(hClass);
    return 0;
}
