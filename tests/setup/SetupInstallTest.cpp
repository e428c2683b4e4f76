#include "SetupRun.h"

#include <gtest/gtest.h>
#include <setupapi.h>

#include <fstream>

using namespace setup_test;

namespace {
const char kHardwareId[] = "PCI\\VEN_10B7&DEV_9200&SUBSYS_7D2A1B6E";
const char kOtherCard[] = "PCI\\VEN_10B7&DEV_9201&SUBSYS_7D2A1B6E";
const char kDriverFolder[] = "C:\\Drivers\\Net";
const char kValidInf[] = "[Version]\r\n"
                         "Signature=\"$Chicago$\"\r\n"
                         "Class=Net\r\n"
                         "ClassGuid={4D36E972-E325-11CE-BFC1-08002BE10318}\r\n"
                         "Provider=%Maker%\r\n"
                         "[Manufacturer]\r\n"
                         "%Maker%=Models\r\n"
                         "[Models]\r\n"
                         "%Card%=CardInstall,PCI\\VEN_10B7&DEV_9200&SUBSYS_7D2A1B6E\r\n"
                         "[CardInstall]\r\n"
                         "AddReg=CardMarker\r\n"
                         "[CardMarker]\r\n"
                         "HKR,,TestMarker,,\"installed\"\r\n"
                         "[Strings]\r\n"
                         "Maker=\"Test Maker\"\r\n"
                         "Card=\"Test Card\"\r\n";

// A root device of the platform's device installer, registered so that it counts as present.
class TestDevice {
public:
    TestDevice() : m_hSet(SetupDiCreateDeviceInfoList(NULL, NULL)) {
        m_device.cbSize = sizeof m_device;
    }
    ~TestDevice() { SetupDiDestroyDeviceInfoList(m_hSet); }

    bool Create(const std::string& strHardwareId) {
        const GUID noClass = {};
        std::string strIds = strHardwareId + '\0' + '\0';
        return SetupDiCreateDeviceInfoA(m_hSet, "ROOT\\TESTNIC\\0000", &noClass, NULL, NULL, 0,
                                        &m_device) &&
               SetupDiSetDeviceRegistryPropertyA(m_hSet, &m_device, SPDRP_HARDWAREID,
                                                 reinterpret_cast<const BYTE*>(strIds.data()),
                                                 static_cast<DWORD>(strIds.size())) &&
               SetupDiCallClassInstaller(DIF_REGISTERDEVICE, m_hSet, &m_device);
    }

    // The device's driver key name below the class key; empty without a driver.
    std::string Driver() {
        char szDriver[256] = "";
        if (!SetupDiGetDeviceRegistryPropertyA(m_hSet, &m_device, SPDRP_DRIVER, NULL,
                                               reinterpret_cast<BYTE*>(szDriver), sizeof szDriver,
                                               NULL))
            return "";
        return szDriver;
    }

    // The marker that the test INF's AddReg writes into the driver key; empty when absent.
    std::string Marker() {
        HKEY hKey =
            SetupDiOpenDevRegKey(m_hSet, &m_device, DICS_FLAG_GLOBAL, 0, DIREG_DRV, KEY_READ);
        if (hKey == INVALID_HANDLE_VALUE)
            return "";
        char szValue[64] = "";
        DWORD dwSize = sizeof szValue - 1;
        RegQueryValueExA(hKey, "TestMarker", NULL, NULL, reinterpret_cast<BYTE*>(szValue), &dwSize);
        RegCloseKey(hKey);
        return szValue;
    }

private:
    HDEVINFO m_hSet;
    SP_DEVINFO_DATA m_device = {};
};

std::string InstalledInf() {
    char szWindows[MAX_PATH] = "";
    GetWindowsDirectoryA(szWindows, sizeof szWindows);
    return ReadText(std::string(szWindows) + "\\inf\\W9X90XBC.INF");
}
} // namespace

struct Installation {
    const char* pszName;
    const char* pszDeviceId; // the hardware id of the present device
    const char* pszInf;      // NULL: no INF beside the program
    int nRuns;
    bool bInstalled;
};

class SetupInstallation : public testing::TestWithParam<Installation> {};

TEST_P(SetupInstallation, EndsQuietlyLeavingObservedDriverState) {
    const Installation& installation = GetParam();
    TestDevice device;
    ASSERT_TRUE(device.Create(installation.pszDeviceId)) << GetLastError();
    MakeDirectory(kDriverFolder);
    CopyInto(SETUP_EXE, kDriverFolder, "Setup.exe");
    ASSERT_FALSE(HasFatalFailure());
    if (installation.pszInf != NULL)
        std::ofstream(std::string(kDriverFolder) + "\\W9X90XBC.INF", std::ios::binary)
            << installation.pszInf;
    for (int i = 0; i < installation.nRuns; i++)
        ExpectQuietEnd(RunSetup(std::string(kDriverFolder) + "\\Setup.exe"));

    std::string strDriver = device.Driver();
    if (installation.bInstalled) {
        EXPECT_EQ(0, _strnicmp("{4D36E972-E325-11CE-BFC1-08002BE10318}\\", strDriver.c_str(), 39))
            << strDriver;
        EXPECT_EQ("installed", device.Marker());
        EXPECT_EQ(kValidInf, InstalledInf());
    } else {
        EXPECT_EQ("", strDriver);
        EXPECT_EQ("", InstalledInf());
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetupInstallation,
    testing::Values(Installation{"Installs", kHardwareId, kValidInf, 1, true},
                    Installation{"StaysInstalledWhenRunAgain", kHardwareId, kValidInf, 2, true},
                    Installation{"NoDeviceWithTheId", kOtherCard, kValidInf, 1, false},
                    Installation{"InfMissing", kHardwareId, NULL, 1, false},
                    Installation{"InfNotValid", kHardwareId,
                                 "this is not a setup information file\r\n", 1, false}),
    [](const testing::TestParamInfo<Installation>& info) { return info.param.pszName; });
