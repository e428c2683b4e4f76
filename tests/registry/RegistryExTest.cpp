// CRegistryEx on Wine's registry: the object, its opens, string values and subkey listing.
#include "AssertionRecorder.h"
#include "KeyLedger.h"
#include "RegistryExFixture.h"

#include <memory>
#include <string>
#include <vector>

using namespace registry_test;

namespace {

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

} // namespace

TEST_F(RegistryExTest, DestructorClosesTheRootItWasGiven) {
    HKEY hRoot = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(Scratch(), NULL, 0, KEY_READ, &hRoot));
    ASSERT_EQ(ERROR_SUCCESS, InfoStatus(hRoot));
    {
        CRegistryEx reg(hRoot);
    }
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

    ASSERT_TRUE(reg.Open(HKEY_LOCAL_MACHINE, "second"));
    ScopedKey second(reg.GetKey()); // forgotten by the failed open below
    EXPECT_FALSE(reg.Open(HKEY_LOCAL_MACHINE, "missing"));
    EXPECT_EQ(CallRecord(ERROR_FILE_NOT_FOUND, 0, 0), RecordOf(reg));
    EXPECT_STREQ("missing", reg.GetPath());
    EXPECT_EQ(NULL, reg.GetKey()); // what the platform stores after a failed open
    EXPECT_EQ(ERROR_SUCCESS, InfoStatus(second.get()));
}

TEST_F(RegistryExTest, FailedOpenSubKeyLeavesWhatThePlatformStoredAndForgetsTheParent) {
    ScopedKey parent = MakeKey("parent");
    CRegistryEx reg(parent.get());
    EXPECT_FALSE(reg.OpenSubKey("missing"));
    EXPECT_EQ(CallRecord(ERROR_FILE_NOT_FOUND, 0, 0), RecordOf(reg));
    EXPECT_EQ(NULL, reg.GetKey());
    EXPECT_EQ(ERROR_SUCCESS, InfoStatus(parent.get()));
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
        SetTestValue(Scratch(), c.lpszName, c.dwType, c.strData);
        CString strText("sentinel");
        DirtyStack();
        EXPECT_TRUE(reg.ReadString(c.lpszName, strText));
        EXPECT_EQ(c.strText, std::string(strText));
        EXPECT_EQ(c.strText.size(), static_cast<size_t>(strText.GetLength()));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, c.dwType, c.strData.size()), RecordOf(reg));
    }
}

TEST_F(RegistryExTest, ReadStringOf200CharactersOrAMissingValueFailsLeavingTheTextUntouched) {
    SetTestValue(Scratch(), "200 characters", REG_SZ, std::string(200, 'a') + '\0');
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
        Value value = QueryValue(Scratch(), "value");
        EXPECT_EQ(static_cast<DWORD>(REG_SZ), value.dwType);
        EXPECT_EQ(strStored, value.strData);
    }

    HKEY hReadOnly = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(Scratch(), NULL, 0, KEY_READ, &hReadOnly));
    CRegistryEx readOnly(hReadOnly);
    EXPECT_FALSE(readOnly.WriteString("refused", "abc"));
    EXPECT_EQ(CallRecord(ERROR_ACCESS_DENIED, REG_SZ, 4), RecordOf(readOnly));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, QueryValue(Scratch(), "refused").lStatus);
}

namespace {
LONG WINAPI FailCount(HKEY, LPSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD,
                      LPDWORD, LPDWORD, PFILETIME) {
    return ERROR_INVALID_HANDLE;
}
} // namespace

TEST_F(RegistryExTest, EnumSubKeysListsInOrderAndLeavesTheArrayAloneWhenThePathDoesNotOpen) {
    ScopedKey list = MakeKey("list");
    for (LPCSTR lpszName : {"b", "c", "a"})
        MakeKey(lpszName, list.get());
    MakeKey("leaf");
    KeyLedger ledger;
    ASSERT_TRUE(ledger.Patched());
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
    EXPECT_EQ(0, ledger.OpenKeys()); // the listing's own handle is closed

    // A count that cannot be had: as a path that does not open, but the handle was opened.
    ImportPatch count("advapi32.dll", "RegQueryInfoKeyA", reinterpret_cast<void*>(&FailCount));
    ASSERT_TRUE(count.Patched());
    EXPECT_FALSE(reg.EnumSubKeys("list", arrNames));
    EXPECT_EQ(CallRecord(ERROR_INVALID_HANDLE, 0, 0), RecordOf(reg));
    EXPECT_EQ(std::vector<std::string>{"sentinel"}, Names(arrNames));
    EXPECT_TRUE(g_boxes.empty());
    EXPECT_EQ(0, ledger.OpenKeys());
}

TEST_F(RegistryExTest, EnumSubKeysListsA199CharacterNameAndStopsWithTheErrorBoxAt200) {
    ScopedKey list = MakeKey("list");
    for (const std::string& strName :
         {std::string("a"), std::string(199, 'a'), std::string(200, 'b'), std::string("c")})
        MakeKey(strName.c_str(), list.get());
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CStringArray arrNames;
    EXPECT_FALSE(reg.EnumSubKeys("list", arrNames));
    EXPECT_EQ((std::vector<std::string>{"a", std::string(199, 'a')}), Names(arrNames));
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
    g_hScratch = Scratch();
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
    EXPECT_FALSE(reg.OpenKey(HKEY_LOCAL_MACHINE, "locked"));
    EXPECT_EQ(ERROR_ACCESS_DENIED, reg.GetLastStatus());
}

TEST_F(RegistryExTest, DebugAssertionsNameTheSourceFileAndLineAndTheCallGoesOn) {
    SetTestValue(Scratch(), NULL, REG_SZ, std::string("default", 8));
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
