// CRegistryEx on Wine's registry. Each test works below a scratch key of its own under
// HKEY_CURRENT_USER, to which HKEY_LOCAL_MACHINE is redirected, and checks the results through the
// platform's own registry calls. Message boxes are recorded instead of shown.
#include "AssertionRecorder.h"
#include "RegistryEx.h"
#include "TestRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

using namespace test_support;

namespace {

struct RecordedBox {
    std::string strCaption;
    std::string strBody;
    UINT uType;
};
std::vector<RecordedBox> g_boxes;

int WINAPI RecordBox(HWND, LPCSTR lpszText, LPCSTR lpszCaption, UINT uType) {
    g_boxes.push_back({lpszCaption != NULL ? lpszCaption : "(null)", lpszText, uType});
    return IDOK;
}

// Another program's work while a listing runs: before step 1, subkeys "c" and "d" of the listed
// key "list" go.
HKEY g_hScratch = NULL;
decltype(&RegEnumKeyExA) g_pfnRealEnumKey = NULL;

LONG WINAPI EnumKeyDeletingLaterOnes(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName,
                                     LPDWORD lpReserved, LPSTR lpClass, LPDWORD lpcchClass,
                                     PFILETIME lpftLastWriteTime) {
    if (dwIndex == 1) {
        RegDeleteKeyA(g_hScratch, "list\\c");
        RegDeleteKeyA(g_hScratch, "list\\d");
    }
    return g_pfnRealEnumKey(hKey, dwIndex, lpName, lpcchName, lpReserved, lpClass, lpcchClass,
                            lpftLastWriteTime);
}

// Leaves the stack below the caller full of 'X', so that a read beyond the bytes returned into a
// stack buffer shows.
__attribute__((noinline)) void DirtyStack() {
    volatile char achDirt[4096];
    for (volatile char& ch : achDirt)
        ch = 'X';
}

LONG InfoStatus(HKEY hKey) {
    return RegQueryInfoKeyA(hKey, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
}

struct Value {
    LONG lStatus;
    DWORD dwType;
    std::string strData;
};

Value QueryValue(HKEY hKey, LPCSTR lpszName) {
    BYTE abData[512];
    DWORD dwType = 0xdeadbeef, dwSize = sizeof abData;
    LONG lStatus = RegQueryValueExA(hKey, lpszName, NULL, &dwType, abData, &dwSize);
    return {lStatus, dwType, std::string(reinterpret_cast<char*>(abData), dwSize)};
}

using CallRecord = std::tuple<LONG, DWORD, DWORD>;

CallRecord RecordOf(const CRegistryEx& reg) {
    return {reg.GetLastStatus(), reg.GetLastType(), reg.GetLastSize()};
}

std::vector<std::string> Names(const CStringArray& arrNames) {
    std::vector<std::string> names;
    for (int i = 0; i < arrNames.GetSize(); i++)
        names.push_back(std::string(arrNames[i]));
    return names;
}

const std::string kSourceFile = "registry/RegistryEx.cpp";

} // namespace

class RegistryExTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_boxPatch.Patched());
        m_strScratch = std::string("Software\\RegistryExTests.") +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name() + "." +
                       std::to_string(GetCurrentProcessId());
        m_scratch = CreateTestKey(HKEY_CURRENT_USER, m_strScratch);
        ASSERT_NE(nullptr, m_scratch);
        ASSERT_EQ(ERROR_SUCCESS, RegOverridePredefKey(HKEY_LOCAL_MACHINE, m_scratch.get()));
        g_hScratch = m_scratch.get();
        g_boxes.clear();
    }

    void TearDown() override {
        RegOverridePredefKey(HKEY_LOCAL_MACHINE, NULL);
        for (const ScopedKey& locked : m_locked)
            SetKeyDacl(locked.get(), "D:(A;;KA;;;WD)");
        m_locked.clear();
        RegDeleteTreeA(m_scratch.get(), NULL);
        RegDeleteKeyA(HKEY_CURRENT_USER, m_strScratch.c_str());
    }

    // Creates |lpszPath| below |hParent| (the scratch key by default) and returns it opened.
    ScopedKey MakeKey(LPCSTR lpszPath, HKEY hParent = NULL) {
        return CreateTestKey(hParent != NULL ? hParent : m_scratch.get(), lpszPath);
    }

    // Makes |lpszPath| grant only KEY_READ to everyone. The full-access handle that restricted it
    // stays open so that TearDown can lift the restriction again.
    void Restrict(LPCSTR lpszPath) {
        HKEY hKey = NULL;
        ASSERT_EQ(ERROR_SUCCESS,
                  RegOpenKeyExA(m_scratch.get(), lpszPath, 0, KEY_ALL_ACCESS, &hKey));
        m_locked.emplace_back(hKey);
        SetKeyDacl(hKey, "D:(A;;KR;;;WD)");
    }

    static void ExpectEnumerationBox(LONG lStatus) {
        ASSERT_EQ(1u, g_boxes.size());
        EXPECT_EQ(SystemText(lStatus), g_boxes[0].strCaption);
        std::regex body(std::to_string(lStatus) + " RegEnumKeyEx\n" + kSourceFile + " [1-9][0-9]*");
        EXPECT_TRUE(std::regex_match(g_boxes[0].strBody, body)) << g_boxes[0].strBody;
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), g_boxes[0].uType);
    }

    ImportPatch m_boxPatch{"user32.dll", "MessageBoxA", reinterpret_cast<void*>(&RecordBox)};
    std::string m_strScratch;
    ScopedKey m_scratch;
    std::vector<ScopedKey> m_locked;
};

TEST_F(RegistryExTest, DestructorClosesTheRootItWasGiven) {
    HKEY hRoot = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(m_scratch.get(), NULL, 0, KEY_READ, &hRoot));
    ASSERT_EQ(ERROR_SUCCESS, InfoStatus(hRoot));
    { CRegistryEx reg(hRoot); }
    EXPECT_EQ(ERROR_INVALID_HANDLE, InfoStatus(hRoot));
}

TEST_F(RegistryExTest, OpenSubKeyStraightAfterConstructionOpensBelowThatRoot) {
    ScopedKey root = MakeKey("root");
    SetTestValue(MakeKey("child", root.get()).get(), "marker", REG_BINARY, "below root");
    SetTestValue(MakeKey("child").get(), "marker", REG_BINARY, "below scratch");
    CRegistryEx reg(root.get());
    EXPECT_TRUE(reg.OpenSubKey("child"));
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, 0, 0), RecordOf(reg));
    EXPECT_EQ("below root", QueryValue(reg.GetKey(), "marker").strData);
    EXPECT_EQ(ERROR_SUCCESS, InfoStatus(root.get())); // forgotten, not closed
}

TEST_F(RegistryExTest, OpenForgetsTheKeyHeldBeforeAndRemembersThePathEvenWhenItFails) {
    MakeKey("first");
    MakeKey("second");
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.Open(HKEY_LOCAL_MACHINE, "first"));
    ScopedKey first(reg.GetKey()); // the object forgets it, so the test closes it
    ASSERT_TRUE(reg.WriteString("value", "abc"));
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, REG_SZ, 4), RecordOf(reg));
    EXPECT_TRUE(reg.Open(HKEY_LOCAL_MACHINE, "second"));
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, 0, 0), RecordOf(reg));
    EXPECT_STREQ("second", reg.GetPath());
    HKEY hSecond = reg.GetKey();
    EXPECT_NE(first.get(), hSecond);
    ASSERT_TRUE(reg.WriteString("value", "abc"));

    reg.Close();
    EXPECT_EQ(NULL, reg.GetKey());
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, REG_SZ, 4), RecordOf(reg));
    EXPECT_EQ(ERROR_SUCCESS, InfoStatus(first.get()));
    EXPECT_EQ(ERROR_INVALID_HANDLE, InfoStatus(hSecond));

    EXPECT_FALSE(reg.Open(HKEY_LOCAL_MACHINE, "missing"));
    EXPECT_EQ(CallRecord(ERROR_FILE_NOT_FOUND, 0, 0), RecordOf(reg));
    EXPECT_STREQ("missing", reg.GetPath());
    EXPECT_EQ(NULL, reg.GetKey()); // what Wine stores after a failed open
}

TEST_F(RegistryExTest, ReadStringTakesAnyValueWithin200BytesAsTextUpToItsBytes) {
    const struct {
        LPCSTR lpszName;
        DWORD dwType;
        std::string strData;
        std::string strText;
    } cases[] = {
        {"dword one", REG_DWORD, std::string("\1\0\0\0", 4), "\1"},
        {"199 characters", REG_SZ, std::string(199, 'a') + '\0', std::string(199, 'a')},
        {"binary unterminated", REG_BINARY, "abc", "abc"},
        {"binary of 200", REG_BINARY, std::string(200, 'z'), std::string(200, 'z')},
    };
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lpszName);
        SetTestValue(m_scratch.get(), c.lpszName, c.dwType, c.strData);
        CString strText("sentinel");
        DirtyStack();
        EXPECT_TRUE(reg.ReadString(c.lpszName, strText));
        EXPECT_EQ(c.strText, std::string(strText));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, c.dwType, c.strData.size()), RecordOf(reg));
    }
}

TEST_F(RegistryExTest, ReadStringOf200CharactersOrAMissingValueFailsLeavingTheTextUntouched) {
    SetTestValue(m_scratch.get(), "200 characters", REG_SZ, std::string(200, 'a') + '\0');
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CString strText("sentinel");
    EXPECT_FALSE(reg.ReadString("200 characters", strText));
    EXPECT_EQ(CallRecord(ERROR_MORE_DATA, REG_SZ, 201), RecordOf(reg));
    EXPECT_STREQ("sentinel", strText);

    EXPECT_FALSE(reg.ReadString("missing", strText));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reg.GetLastStatus());
    EXPECT_STREQ("sentinel", strText);
}

TEST_F(RegistryExTest, WriteStringStoresTheTextWithItsTerminatorAndRecordsAlsoOnFailure) {
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    for (LPCSTR lpszText : {"", "1"}) {
        SCOPED_TRACE(lpszText);
        std::string strStored = std::string(lpszText) + '\0';
        EXPECT_TRUE(reg.WriteString("value", lpszText));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, REG_SZ, strStored.size()), RecordOf(reg));
        Value value = QueryValue(m_scratch.get(), "value");
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.dwType);
        EXPECT_EQ(strStored, value.strData);
    }

    HKEY hReadOnly = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(m_scratch.get(), NULL, 0, KEY_READ, &hReadOnly));
    CRegistryEx readOnly(hReadOnly);
    EXPECT_FALSE(readOnly.WriteString("refused", "abc"));
    EXPECT_EQ(CallRecord(ERROR_ACCESS_DENIED, REG_SZ, 4), RecordOf(readOnly));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, QueryValue(m_scratch.get(), "refused").lStatus);
}

TEST_F(RegistryExTest, EnumSubKeysListsInOrderAndLeavesTheArrayAloneWhenThePathDoesNotOpen) {
    ScopedKey list = MakeKey("list");
    for (LPCSTR lpszName : {"b", "c", "a"})
        MakeKey(lpszName, list.get());
    MakeKey("leaf");
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CStringArray arrNames;
    arrNames.Add("sentinel");
    EXPECT_TRUE(reg.EnumSubKeys("list", arrNames));
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Names(arrNames));
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, 0, 0), RecordOf(reg));
    EXPECT_EQ(HKEY_LOCAL_MACHINE, reg.GetKey());

    EXPECT_TRUE(reg.EnumSubKeys("leaf", arrNames));
    EXPECT_EQ(0, arrNames.GetSize());

    arrNames.Add("sentinel");
    EXPECT_FALSE(reg.EnumSubKeys("missing", arrNames));
    EXPECT_EQ(CallRecord(ERROR_FILE_NOT_FOUND, 0, 0), RecordOf(reg));
    EXPECT_EQ(std::vector<std::string>{"sentinel"}, Names(arrNames));
    EXPECT_TRUE(g_boxes.empty());
}

TEST_F(RegistryExTest, EnumSubKeysStopsWithTheErrorBoxAtA200CharacterName) {
    ScopedKey list = MakeKey("list");
    for (const std::string& strName : {std::string("a"), std::string(200, 'b'), std::string("c")})
        MakeKey(strName.c_str(), list.get());
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CStringArray arrNames;
    EXPECT_FALSE(reg.EnumSubKeys("list", arrNames));
    EXPECT_EQ(std::vector<std::string>{"a"}, Names(arrNames));
    EXPECT_EQ(CallRecord(ERROR_MORE_DATA, 0, 0), RecordOf(reg));
    ExpectEnumerationBox(ERROR_MORE_DATA);
}

TEST_F(RegistryExTest, EnumSubKeysReportsSubkeysDeletedWhileItRuns) {
    ScopedKey list = MakeKey("list");
    for (LPCSTR lpszName : {"a", "b", "c", "d"})
        MakeKey(lpszName, list.get());
    ImportPatch enumPatch("advapi32.dll", "RegEnumKeyExA",
                          reinterpret_cast<void*>(&EnumKeyDeletingLaterOnes));
    ASSERT_TRUE(enumPatch.Patched());
    g_pfnRealEnumKey = reinterpret_cast<decltype(&RegEnumKeyExA)>(enumPatch.Original());
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CStringArray arrNames;
    EXPECT_FALSE(reg.EnumSubKeys("list", arrNames));
    EXPECT_EQ((std::vector<std::string>{"a", "b"}), Names(arrNames));
    EXPECT_EQ(CallRecord(ERROR_NO_MORE_ITEMS, 0, 0), RecordOf(reg));
    ExpectEnumerationBox(ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryExTest, KeysGrantingOnlyReadRefuseOpeningButStillList) {
    MakeKey("locked\\inner");
    Restrict("locked");
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CStringArray arrNames;
    EXPECT_TRUE(reg.EnumSubKeys("locked", arrNames));
    EXPECT_EQ(std::vector<std::string>{"inner"}, Names(arrNames));
    EXPECT_FALSE(reg.OpenSubKey("locked"));
    EXPECT_EQ(CallRecord(ERROR_ACCESS_DENIED, 0, 0), RecordOf(reg));
    EXPECT_FALSE(reg.Open(HKEY_LOCAL_MACHINE, "locked"));
    EXPECT_EQ(CallRecord(ERROR_ACCESS_DENIED, 0, 0), RecordOf(reg));
}

TEST_F(RegistryExTest, DebugAssertionsNameTheSourceFileAndLineAndTheCallGoesOn) {
    SetTestValue(m_scratch.get(), NULL, REG_SZ, std::string("default", 8));
    AssertionRecorder assertions;
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CString strText("sentinel");
    EXPECT_TRUE(reg.ReadString(NULL, strText));
    EXPECT_STREQ("default", strText);
    reg.Close();
    EXPECT_FALSE(reg.OpenSubKey("anything"));
    EXPECT_EQ(ERROR_INVALID_HANDLE, reg.GetLastStatus());

    ASSERT_EQ(2u, assertions.Assertions().size());
    for (const Assertion& assertion : assertions.Assertions()) {
        EXPECT_EQ(kSourceFile, assertion.strFile);
        EXPECT_GT(assertion.nLine, 0);
    }
    EXPECT_NE(assertions.Assertions()[0].nLine, assertions.Assertions()[1].nLine);
}

TEST_F(RegistryExTest, ErrorBoxBodyIsCutTo255CharactersForALongSourceFileName) {
    ShowRegistryError(ERROR_FILE_NOT_FOUND, "RegEnumKeyEx", std::string(1000, 'f').c_str(), 12);
    ASSERT_EQ(1u, g_boxes.size());
    EXPECT_EQ(SystemText(ERROR_FILE_NOT_FOUND), g_boxes[0].strCaption);
    EXPECT_EQ("2 RegEnumKeyEx\n" + std::string(255 - 15, 'f'), g_boxes[0].strBody);
}
