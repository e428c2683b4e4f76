#include "KeyLedger.h"

namespace test_support {
namespace {

int g_nOpenKeys = 0;
int g_nPeakKeys = 0;
int g_nOpenedKeys = 0;
decltype(&RegOpenKeyExA) g_pfnOpen = NULL;
decltype(&RegCloseKey) g_pfnClose = NULL;

// Predefined roots (HKEY_LOCAL_MACHINE ...) have the top bit of their low 32 bits set, sign-
// extended in a 64-bit handle; opened keys are small numbers.
bool IsPredefined(HKEY hKey) {
    return static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(hKey)) >= 0x80000000u;
}

LONG WINAPI LedgerOpen(HKEY hKey, LPCSTR lpszPath, DWORD dwOptions, REGSAM sam, PHKEY phResult) {
    LONG lStatus = g_pfnOpen(hKey, lpszPath, dwOptions, sam, phResult);
    if (lStatus == ERROR_SUCCESS) {
        g_nOpenKeys++;
        g_nOpenedKeys++;
        if (g_nOpenKeys > g_nPeakKeys)
            g_nPeakKeys = g_nOpenKeys;
    }
    return lStatus;
}

LONG WINAPI LedgerClose(HKEY hKey) {
    LONG lStatus = g_pfnClose(hKey);
    g_nOpenKeys -= lStatus == ERROR_SUCCESS && !IsPredefined(hKey);
    return lStatus;
}

} // namespace

KeyLedger::KeyLedger()
    : m_open("advapi32.dll", "RegOpenKeyExA", reinterpret_cast<void*>(&LedgerOpen)),
      m_close("advapi32.dll", "RegCloseKey", reinterpret_cast<void*>(&LedgerClose)) {
    g_pfnOpen = reinterpret_cast<decltype(g_pfnOpen)>(m_open.Original());
    g_pfnClose = reinterpret_cast<decltype(g_pfnClose)>(m_close.Original());
    g_nOpenKeys = 0;
    g_nPeakKeys = 0;
    g_nOpenedKeys = 0;
}

int KeyLedger::OpenKeys() const {
    return g_nOpenKeys;
}

int KeyLedger::PeakKeys() const {
    return g_nPeakKeys;
}

int KeyLedger::OpenedKeys() const {
    return g_nOpenedKeys;
}

} // namespace test_support
