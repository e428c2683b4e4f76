#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace bench {

double NowMilliseconds() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER value;
        QueryPerformanceFrequency(&value);
        return value;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

RunSummary Summarise(std::vector<double> times) {
    RunSummary summary;
    if (times.empty())
        return summary;
    std::sort(times.begin(), times.end());
    summary.dMin = times.front();
    summary.dMedian = times[times.size() / 2];
    return summary;
}

void DeleteSubKeys(HKEY hKey) {
    char szName[256];
    DWORD dwNameChars = sizeof szName;
    // Always the first: each deletion moves the next one to index 0.
    while (RegEnumKeyExA(hKey, 0, szName, &dwNameChars, NULL, NULL, NULL, NULL) == ERROR_SUCCESS) {
        LONG lStatus = RegDeleteTreeA(hKey, szName);
        if (lStatus != ERROR_SUCCESS)
            Die(szName, lStatus);
        dwNameChars = sizeof szName;
    }
}

HKEY CreateKeyOrDie(HKEY hParent, const char* pszPath) {
    HKEY hKey = NULL;
    LONG lStatus = RegCreateKeyExA(hParent, pszPath, 0, NULL, REG_OPTION_NON_VOLATILE,
                                   KEY_ALL_ACCESS, NULL, &hKey, NULL);
    if (lStatus != ERROR_SUCCESS)
        Die(pszPath, lStatus);
    return hKey;
}

void SetValueOrDie(HKEY hKey, const char* pszName, DWORD dwType, const void* pData, DWORD dwSize) {
    LONG lStatus =
        RegSetValueExA(hKey, pszName, 0, dwType, static_cast<const BYTE*>(pData), dwSize);
    if (lStatus != ERROR_SUCCESS)
        Die(pszName, lStatus);
}

void Die(const char* pszWhat, LONG lStatus) {
    std::fprintf(stderr, "RegistryBench: %s failed with status %ld\n", pszWhat, lStatus);
    std::exit(2);
}

} // namespace bench
