// The adapter class key as the patch pass benchmark finds it: N instances named as Windows names
// them (0000, 0001, ...), each with a DriverDesc. Three in four hold an EnhLANPwrMgmt that the
// pass reads, its type going round REG_SZ "0", REG_DWORD 0 and REG_BINARY; of the fourth
// quarter, one in three has no such value, one a REG_SZ too large to read within 200 bytes, and
// one a readable value on a key that grants only KEY_READ, so that opening it with full access
// fails. That restriction lives only as long as the Wine server.
//
// Restoring sets the values of the instances again as seeding left them (the patch pass, and
// still more the reg.exe script, change them), far faster than seeding anew.
#include "BenchSupport.h"

#include <sddl.h>

#include <cstdio>
#include <string>

namespace bench {
namespace {

const char kAdapterClassPath[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
const char kPowerValue[] = "EnhLANPwrMgmt";
const char kReadOnlyDacl[] = "D:(A;;KR;;;WD)";

enum class Kind { Readable, Missing, TooLarge, ReadOnlyKey };

Kind KindOf(int nIndex) {
    if (nIndex % 4 != 3)
        return Kind::Readable;
    switch (nIndex / 4 % 3) {
    case 0:
        return Kind::Missing;
    case 1:
        return Kind::TooLarge;
    default:
        return Kind::ReadOnlyKey;
    }
}

void SetReadableValue(HKEY hInstance, int nIndex) {
    static const char szZero[] = "0";
    static const DWORD dwZero = 0;
    static const BYTE abBytes[] = {0x0a, 0x0b};
    switch (nIndex % 3) {
    case 0:
        SetValueOrDie(hInstance, kPowerValue, REG_SZ, szZero, sizeof szZero);
        break;
    case 1:
        SetValueOrDie(hInstance, kPowerValue, REG_DWORD, &dwZero, sizeof dwZero);
        break;
    default:
        SetValueOrDie(hInstance, kPowerValue, REG_BINARY, abBytes, sizeof abBytes);
        break;
    }
}

void RestrictToReading(HKEY hInstance) {
    PSECURITY_DESCRIPTOR pSd = NULL;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(kReadOnlyDacl, SDDL_REVISION_1, &pSd,
                                                              NULL))
        Die("ConvertStringSecurityDescriptorToSecurityDescriptorA", LONG(GetLastError()));
    LONG lStatus = RegSetKeySecurity(hInstance, DACL_SECURITY_INFORMATION, pSd);
    LocalFree(pSd);
    if (lStatus != ERROR_SUCCESS)
        Die("RegSetKeySecurity", lStatus);
}

void InstanceName(int nIndex, char (&szName)[16]) {
    std::snprintf(szName, sizeof szName, "%04d", nIndex);
}

// The instance's EnhLANPwrMgmt as seeding leaves it, on a key open for setting values.
void SetPowerValue(HKEY hInstance, int nIndex) {
    const std::string strTooLarge(300, 'x');
    switch (KindOf(nIndex)) {
    case Kind::Readable:
    case Kind::ReadOnlyKey:
        SetReadableValue(hInstance, nIndex);
        break;
    case Kind::Missing:
        RegDeleteValueA(hInstance, kPowerValue); // absent already, unless a script made it
        break;
    case Kind::TooLarge:
        SetValueOrDie(hInstance, kPowerValue, REG_SZ, strTooLarge.c_str(),
                      static_cast<DWORD>(strTooLarge.size() + 1));
        break;
    }
}

void SeedInstance(HKEY hClass, int nIndex) {
    char szName[16];
    InstanceName(nIndex, szName);
    HKEY hInstance = CreateKeyOrDie(hClass, szName);
    const std::string strDescription = std::string("Benchmark adapter ") + szName;
    SetValueOrDie(hInstance, "DriverDesc", REG_SZ, strDescription.c_str(),
                  static_cast<DWORD>(strDescription.size() + 1));
    SetPowerValue(hInstance, nIndex);
    if (KindOf(nIndex) == Kind::ReadOnlyKey)
        RestrictToReading(hInstance);
    RegCloseKey(hInstance);
}

} // namespace

void SeedAdapters(int nInstances) {
    HKEY hClass = CreateKeyOrDie(HKEY_LOCAL_MACHINE, kAdapterClassPath);
    DeleteSubKeys(hClass);
    int nCounts[4] = {};
    for (int i = 0; i < nInstances; i++) {
        SeedInstance(hClass, i);
        nCounts[static_cast<int>(KindOf(i))]++;
    }
    RegCloseKey(hClass);
    std::printf(
        "seeded %d instances: %d readable, %d without the value, %d too large, %d read-only\n",
        nInstances, nCounts[0], nCounts[1], nCounts[2], nCounts[3]);
}

void RestoreAdapters(int nInstances) {
    HKEY hClass = CreateKeyOrDie(HKEY_LOCAL_MACHINE, kAdapterClassPath);
    for (int i = 0; i < nInstances; i++) {
        char szName[16];
        InstanceName(i, szName);
        HKEY hInstance = NULL;
        // Read-only keys refuse this open; nothing can have changed their values either.
        if (RegOpenKeyExA(hClass, szName, 0, KEY_SET_VALUE, &hInstance) != ERROR_SUCCESS)
            continue;
        SetPowerValue(hInstance, i);
        RegCloseKey(hInstance);
    }
    RegCloseKey(hClass);
}

} // namespace bench
