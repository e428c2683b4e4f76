// Runs the real Halvex.exe against a registry seeded in the test's own throwaway prefix and reads
// the outcome back with the platform's own calls.
#include "TestRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <string>

using namespace test_support;

namespace {

const char kClassPath[] = "SYSTEM\\CurrentControlSet\\Control\\Class";
const char kAdapterPath[] =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}";
// Where an instance named 0003 would be opened if it were taken relative to the class key.
const char kDecoyPath[] = "SYSTEM\\CurrentControlSet\\Control\\Class\\0003";
const char kValue[] = "EnhLANPwrMgmt";
const DWORD kRunMilliseconds = 20000;

// Every value of every key of a tree: key path -> value name -> (type, bytes).
using Value = std::pair<DWORD, std::string>;
using Values = std::map<std::string, Value>;
using Snapshot = std::map<std::string, Values>;

// Keys are opened relative to their parent: whole paths may exceed what the A functions take.
void AddTree(HKEY hParent, const std::string& strName, const std::string& strPath,
             Snapshot& snapshot) {
    HKEY hKey = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(hParent, strName.c_str(), 0, KEY_READ, &hKey))
        << strPath;
    ScopedKey key(hKey);
    Values& values = snapshot[strPath];
    char szName[512];
    BYTE abData[4096];
    for (DWORD dwIndex = 0;; dwIndex++) {
        DWORD dwNameChars = sizeof szName, dwType = 0, dwSize = sizeof abData;
        LONG lStatus =
            RegEnumValueA(key.get(), dwIndex, szName, &dwNameChars, NULL, &dwType, abData, &dwSize);
        if (lStatus == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(ERROR_SUCCESS, lStatus) << strPath;
        values[szName] = {dwType, std::string(reinterpret_cast<char*>(abData), dwSize)};
    }
    for (DWORD dwIndex = 0;; dwIndex++) {
        DWORD dwNameChars = sizeof szName;
        LONG lStatus =
            RegEnumKeyExA(key.get(), dwIndex, szName, &dwNameChars, NULL, NULL, NULL, NULL);
        if (lStatus == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(ERROR_SUCCESS, lStatus) << strPath;
        AddTree(key.get(), szName, strPath + "\\" + szName, snapshot);
    }
}

// The adapter class tree, and the decoy directly below the class key that an open relative to the
// class key would hit. Other device classes are left out: Wine's own services rewrite them while
// the first program with windows starts.
Snapshot TakeSnapshot() {
    Snapshot snapshot;
    AddTree(HKEY_LOCAL_MACHINE, kAdapterPath, "Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}",
            snapshot);
    AddTree(HKEY_LOCAL_MACHINE, kDecoyPath, "Class\\0003", snapshot);
    return snapshot;
}

std::string Printable(const Value* pValue) {
    if (pValue == nullptr)
        return "none";
    std::string strText = "type " + std::to_string(pValue->first) + ", " +
                          std::to_string(pValue->second.size()) + " bytes:";
    for (unsigned char ch : pValue->second.substr(0, 16))
        strText += " " + std::to_string(ch);
    return strText;
}

// One line per value or key that differs, so that a failure names exactly what changed.
std::string Differences(const Snapshot& expected, const Snapshot& actual) {
    std::map<std::string, std::pair<const Value*, const Value*>> both;
    for (const auto& [strKey, values] : expected)
        for (const auto& [strName, value] : values)
            both[strKey + " : " + strName].first = &value;
    for (const auto& [strKey, values] : actual)
        for (const auto& [strName, value] : values)
            both[strKey + " : " + strName].second = &value;
    std::string strDiff;
    for (const auto& [strWhere, values] : both)
        if (values.first == nullptr || values.second == nullptr || *values.first != *values.second)
            strDiff += strWhere + ": expected [" + Printable(values.first) + "], got [" +
                       Printable(values.second) + "]\n";
    for (const auto& [strKey, values] : actual)
        if (!expected.count(strKey))
            strDiff += "key created: " + strKey + "\n";
    for (const auto& [strKey, values] : expected)
        if (!actual.count(strKey))
            strDiff += "key gone: " + strKey + "\n";
    return strDiff;
}

std::string Sz(const std::string& strText) {
    return strText + '\0';
}

// Lets everyone read the key and nothing more, for as long as the sandbox's server runs.
void RestrictToRead(HKEY hParent, const std::string& strPath) {
    SetKeyDacl(CreateTestKey(hParent, strPath).get(), "D:(A;;KR;;;WD)");
    HKEY hFull = NULL;
    ASSERT_EQ(ERROR_ACCESS_DENIED,
              RegOpenKeyExA(hParent, strPath.c_str(), 0, KEY_ALL_ACCESS, &hFull));
}

class HalvexRun : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(nullptr, m_adapters);
        SetTestValue(CreateTestKey(HKEY_LOCAL_MACHINE, kDecoyPath).get(), kValue, REG_SZ, Sz("0"));
    }

    // Seeds the instance key |pszName| with a description and, when |dwType| is not REG_NONE,
    // an EnhLANPwrMgmt value.
    void SeedInstance(const char* pszName, DWORD dwType = REG_NONE,
                      const std::string& strBytes = "") {
        ScopedKey key = CreateTestKey(m_adapters.get(), pszName);
        SetTestValue(key.get(), "DriverDesc", REG_SZ, Sz(std::string("Adapter ") + pszName));
        if (dwType != REG_NONE)
            SetTestValue(key.get(), kValue, dwType, strBytes);
    }

    // Starts the program and waits for its end, watching for any window of its own.
    DWORD RunWithoutWindow() {
        Start();
        ProgramRun run = WatchUntilEnd(*m_pHalvex, kRunMilliseconds);
        EXPECT_TRUE(run.bEnded) << "Halvex did not end";
        EXPECT_EQ(0u, run.nWindows) << "a window appeared";
        return run.dwExit;
    }

    // Starts the program and reads the first box it shows.
    Box RunToBox() {
        Start();
        return WaitForBox(m_pHalvex->Id(), kRunMilliseconds);
    }

    DWORD WaitForExit() {
        DWORD dwExit = 0xdeadbeef;
        EXPECT_TRUE(m_pHalvex->Wait(kRunMilliseconds, &dwExit)) << "Halvex did not end";
        return dwExit;
    }

    static void ExpectPatched(Snapshot& expected, const std::string& strInstance) {
        expected["Class\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\" + strInstance][kValue] = {
            REG_SZ, Sz("1")};
    }

    ScopedKey m_adapters = CreateTestKey(HKEY_LOCAL_MACHINE, kAdapterPath);

private:
    void Start() {
        m_pHalvex =
            std::make_unique<ChildProcess>(WindowsPath(ProgramPath("HALVEX_EXE", HALVEX_EXE)));
        ASSERT_TRUE(m_pHalvex->Started());
    }

    std::unique_ptr<ChildProcess> m_pHalvex;
};

TEST_F(HalvexRun, RewritesEveryReadableValueAndNothingElse) {
    SeedInstance("0000", REG_DWORD, std::string(4, '\0'));
    SeedInstance("0001", REG_SZ, Sz("0"));
    SeedInstance("0002", REG_SZ, Sz("1"));
    SeedInstance("0003", REG_SZ, Sz("0"));
    SeedInstance("0004", REG_SZ, Sz(std::string(199, 'a')));
    SeedInstance("0005", REG_SZ, Sz(std::string(200, 'b')));
    SeedInstance("0006", REG_BINARY, "\x01\x02\x03");
    SeedInstance("0007", REG_BINARY, std::string(201, '\x07'));
    SeedInstance("0008");
    SeedInstance("0009", REG_SZ, Sz("0"));
    // Reads "1" already; only a rewrite leaves the two bytes of "1".
    SeedInstance("0010", REG_SZ, std::string("1\0x\0", 4));
    SeedInstance("Properties", REG_SZ, Sz("0"));
    SeedInstance("0000\\Ndi", REG_SZ, Sz("0"));
    RestrictToRead(m_adapters.get(), "0009");
    Snapshot expected = TakeSnapshot();
    for (const char* pszInstance :
         {"0000", "0001", "0002", "0003", "0004", "0006", "0010", "Properties"})
        ExpectPatched(expected, pszInstance);

    EXPECT_EQ(0u, RunWithoutWindow());
    EXPECT_EQ("", Differences(expected, TakeSnapshot()));
}

TEST_F(HalvexRun, ClassKeyWithoutFullAccessShowsInvalidKeyAndChangesNothing) {
    SeedInstance("0000", REG_DWORD, std::string(4, '\0'));
    RestrictToRead(HKEY_LOCAL_MACHINE, kClassPath);
    Snapshot before = TakeSnapshot();

    Box box = RunToBox();
    ASSERT_NE(nullptr, box.hWnd) << "no box appeared";
    EXPECT_EQ("Halvex", box.strCaption);
    EXPECT_EQ("Invalid Registry Key!!!", box.strBody);
    EXPECT_TRUE(box.bHasIcon);
    ASSERT_EQ(1u, box.buttons.size());
    EXPECT_EQ("OK", box.buttons[0]);
    PressButton(box, IDOK);
    EXPECT_EQ(0u, WaitForExit());
    EXPECT_EQ("", Differences(before, TakeSnapshot()));
}

TEST_F(HalvexRun, AdapterClassWithoutInstancesWritesNothing) {
    Snapshot before = TakeSnapshot();
    EXPECT_EQ(0u, RunWithoutWindow());
    EXPECT_EQ("", Differences(before, TakeSnapshot()));
}

TEST_F(HalvexRun, OverlongInstanceNameShowsErrorBoxAfterPatchingThoseBefore) {
    SeedInstance("0000", REG_DWORD, std::string(4, '\0'));
    SeedInstance("0001", REG_SZ, Sz("0"));
    SeedInstance(std::string(200, 'm').c_str());
    SeedInstance("zzzz", REG_SZ, Sz("0")); // enumerates after the long name: never reached
    Snapshot expected = TakeSnapshot();
    ExpectPatched(expected, "0000");
    ExpectPatched(expected, "0001");

    Box box = RunToBox();
    ASSERT_NE(nullptr, box.hWnd) << "no box appeared";
    EXPECT_EQ(SystemText(ERROR_MORE_DATA), box.strCaption);
    EXPECT_EQ(0u, box.strBody.rfind("234 RegEnumKeyEx\n", 0)) << box.strBody;
    PressButton(box, IDOK);
    EXPECT_EQ(0u, WaitForExit());
    EXPECT_EQ("", Differences(expected, TakeSnapshot()));
}

} // namespace

// The OldestWindows runs of these tests (tests/CMakeLists.txt) set their sandbox's Version: Wine
// must then report that Windows to the programs it starts, or those runs prove no more than these.
TEST(HalvexRunWindows, ReportsTheWindowsItsPrefixIsSetTo) {
    const char* pszSetting = std::getenv("HALVEX_WINDOWS_VERSION");
    if (pszSetting == NULL)
        GTEST_SKIP() << "this run keeps Wine's own Windows version";
    const std::map<std::string, std::string> reported = {
        {"win2k", "5.0"}, {"winxp64", "5.2"}, {"win2003", "5.2"}};
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionExA(&info));
    EXPECT_EQ(reported.at(pszSetting),
              std::to_string(info.dwMajorVersion) + "." + std::to_string(info.dwMinorVersion));
}
