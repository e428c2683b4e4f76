// CRegistryEx on Wine's registry: numbers, bytes and binary blocks, values and keys created,
// tested and deleted, and the debug assertions of every operation.
#include "AssertionRecorder.h"
#include "RegistryExFixture.h"

#include <functional>
#include <string>
#include <vector>

using namespace registry_test;

namespace {

const DWORD kSentinel = 0xdeadbeef;

// Thrown by an assertion hook to stop a call at its first assertion, where going on as after
// Ignore would read through the NULL that the assertion reports.
struct AssertionStop {
    int nLine;
};

BOOL StopAtAssertion(LPCSTR, int nLine) {
    throw AssertionStop{nLine};
}

// A record that no operation below leaves by itself: a failed read of a 300-byte value.
const CallRecord kEarlierRecord(ERROR_MORE_DATA, REG_BINARY, 300);

} // namespace

class RegistryExValues : public RegistryExTest {
protected:
    void SetUp() override {
        RegistryExTest::SetUp();
        SetTestValue(Scratch(), "300 bytes", REG_BINARY, std::string(300, '\x33'));
    }

    // Leaves kEarlierRecord in |reg|'s call record.
    static void RecordEarlierRead(CRegistryEx& reg) {
        CString strText;
        reg.ReadString("300 bytes", strText);
        ASSERT_EQ(kEarlierRecord, RecordOf(reg));
    }
};

TEST_F(RegistryExValues, WritesStoreTheirTypeAndBytesAndRecordOnlyWhereTheyShould) {
    const BYTE abFour[] = {1, 2, 3, 4};
    const struct {
        LPCSTR lpszName;
        std::function<BOOL(CRegistryEx&)> write;
        DWORD dwType;
        std::string strBytes;
        bool bRecords; // else the record stays as it was
    } cases[] = {
        {"WriteInt -1", [](CRegistryEx& reg) { return reg.WriteInt("v", -1); }, REG_DWORD,
         "\xff\xff\xff\xff", true},
        {"WriteInt 0x01020304", [](CRegistryEx& reg) { return reg.WriteInt("v", 0x01020304); },
         REG_DWORD, "\x04\x03\x02\x01", true},
        {"WriteByte", [](CRegistryEx& reg) { return reg.WriteByte("v", 0xab); }, REG_BINARY, "\xab",
         true},
        {"WriteDword", [](CRegistryEx& reg) { return reg.WriteDword("v", 0x12345678); }, REG_DWORD,
         "\x78\x56\x34\x12", false},
        {"WriteFourBytes", [&](CRegistryEx& reg) { return reg.WriteFourBytes("v", abFour); },
         REG_BINARY, "\x01\x02\x03\x04", false},
    };
    HKEY hReadOnly = NULL;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(Scratch(), NULL, 0, KEY_READ, &hReadOnly));
    CRegistryEx readOnly(hReadOnly);
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lpszName);
        RegDeleteValueA(Scratch(), "v");
        RecordEarlierRead(reg);
        EXPECT_TRUE(c.write(reg));
        Value value = QueryValue(Scratch(), "v");
        EXPECT_EQ(c.dwType, value.dwType);
        EXPECT_EQ(c.strBytes, value.strData);
        DWORD dwSize = static_cast<DWORD>(c.strBytes.size());
        EXPECT_EQ(c.bRecords ? CallRecord(ERROR_SUCCESS, c.dwType, dwSize) : kEarlierRecord,
                  RecordOf(reg));

        RegDeleteValueA(Scratch(), "v");
        RecordEarlierRead(readOnly);
        EXPECT_FALSE(c.write(readOnly));
        EXPECT_EQ(c.bRecords ? CallRecord(ERROR_ACCESS_DENIED, c.dwType, dwSize) : kEarlierRecord,
                  RecordOf(readOnly));
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, QueryValue(Scratch(), "v").lStatus);
    }
}

// A success replaces an earlier record as fully as a failure does: no operation that records
// may keep the previous type or size, or record only when it fails.
TEST_F(RegistryExValues, SucceedingOperationsReplaceAnEarlierRecord) {
    MakeKey("k");
    MakeKey("doomed");
    SetTestValue(Scratch(), "doomed", REG_SZ, std::string("x", 2));
    CStringArray arrNames;
    const struct {
        LPCSTR lpszName;
        std::function<BOOL(CRegistryEx&)> call;
    } cases[] = {
        {"Open", [](CRegistryEx& reg) { return reg.Open(HKEY_LOCAL_MACHINE, "k"); }},
        {"OpenSubKey", [](CRegistryEx& reg) { return reg.OpenSubKey("k"); }},
        {"CreateKey", [](CRegistryEx& reg) { return reg.CreateKey(HKEY_LOCAL_MACHINE, "k"); }},
        {"DeleteKey", [](CRegistryEx& reg) { return reg.DeleteKey(HKEY_LOCAL_MACHINE, "doomed"); }},
        {"ValueExists", [](CRegistryEx& reg) { return reg.ValueExists("300 bytes"); }},
        {"DeleteValue", [](CRegistryEx& reg) { return reg.DeleteValue("doomed"); }},
        {"EnumSubKeys", [&](CRegistryEx& reg) { return reg.EnumSubKeys("k", arrNames); }},
        {"EnumValues", [&](CRegistryEx& reg) { return reg.EnumValues("k", arrNames); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lpszName);
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        RecordEarlierRead(reg);
        EXPECT_TRUE(c.call(reg));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, 0, 0), RecordOf(reg));
    }
}

TEST_F(RegistryExValues, NumberReadsTakeAnyValueOfAtMostFourBytesZeroExtended) {
    const struct {
        LPCSTR lpszName;
        DWORD dwType;
        std::string strBytes;
        DWORD dwExpected;
    } cases[] = {
        {"dword -1", REG_DWORD, "\xff\xff\xff\xff", 0xffffffff},
        {"one byte", REG_BINARY, "\xff", 0xff},
        {"string ab", REG_SZ, std::string("ab", 3), 0x6261},
        {"four bytes", REG_BINARY, "\x01\x02\x03\x84", 0x84030201},
    };
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lpszName);
        SetTestValue(Scratch(), c.lpszName, c.dwType, c.strBytes);
        CallRecord expected(ERROR_SUCCESS, c.dwType, c.strBytes.size());
        int nValue = static_cast<int>(kSentinel);
        EXPECT_TRUE(reg.ReadInt(c.lpszName, nValue));
        EXPECT_EQ(static_cast<int>(c.dwExpected), nValue);
        EXPECT_EQ(expected, RecordOf(reg));
        DWORD dwValue = kSentinel;
        EXPECT_TRUE(reg.ReadDword(c.lpszName, dwValue));
        EXPECT_EQ(c.dwExpected, dwValue);
        EXPECT_EQ(expected, RecordOf(reg));
    }
}

TEST_F(RegistryExValues, NumberReadsOfLargerOrMissingValuesLeaveTheResultUntouched) {
    SetTestValue(Scratch(), "eight bytes", REG_BINARY, std::string(8, '\x01'));
    SetTestValue(Scratch(), "five bytes", REG_SZ, std::string("abcd", 5));
    const struct {
        LPCSTR lpszName;
        CallRecord expected;
    } cases[] = {
        {"eight bytes", {ERROR_MORE_DATA, REG_BINARY, 8}},
        {"five bytes", {ERROR_MORE_DATA, REG_SZ, 5}},
    };
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lpszName);
        int nValue = static_cast<int>(kSentinel);
        EXPECT_FALSE(reg.ReadInt(c.lpszName, nValue));
        EXPECT_EQ(static_cast<int>(kSentinel), nValue);
        EXPECT_EQ(c.expected, RecordOf(reg));
        DWORD dwValue = kSentinel;
        EXPECT_FALSE(reg.ReadDword(c.lpszName, dwValue));
        EXPECT_EQ(kSentinel, dwValue);
        EXPECT_EQ(c.expected, RecordOf(reg));
    }
    DWORD dwValue = kSentinel;
    EXPECT_FALSE(reg.ReadDword("missing", dwValue));
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, reg.GetLastStatus());
    EXPECT_EQ(kSentinel, dwValue);
}

// The caller's block is 300 bytes of 0xee; only the bytes read may change.
TEST_F(RegistryExValues, ReadBinaryWritesExactlyTheBytesReadAndNeverMoreThanItsBlockHolds) {
    const struct {
        LPCSTR lpszName;
        size_t nStored;
        DWORD dwSize;
        LONG lStatus;
    } cases[] = {
        {"1 of 1", 1, 1, ERROR_SUCCESS},
        {"3 of 256", 3, 256, ERROR_SUCCESS},
        {"10 of 4", 10, 4, ERROR_MORE_DATA},
        {"10 of 9", 10, 9, ERROR_MORE_DATA},
        {"10 of 10", 10, 10, ERROR_SUCCESS},
        {"256 of 1000", 256, 1000, ERROR_SUCCESS},
        {"257 of 1000", 257, 1000, ERROR_MORE_DATA},
    };
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lpszName);
        std::string strStored;
        for (size_t i = 0; i < c.nStored; i++)
            strStored += static_cast<char>(i + 1);
        SetTestValue(Scratch(), c.lpszName, REG_BINARY, strStored);
        std::string strBlock(300, '\xee');
        BOOL bRead = reg.ReadBinary(c.lpszName, reinterpret_cast<BYTE*>(&strBlock[0]), c.dwSize);
        EXPECT_EQ(c.lStatus == ERROR_SUCCESS, bRead != FALSE);
        EXPECT_EQ(CallRecord(c.lStatus, REG_BINARY, c.nStored), RecordOf(reg));
        std::string strExpected(300, '\xee');
        if (bRead)
            strExpected.replace(0, c.nStored, strStored);
        EXPECT_EQ(strExpected, strBlock);
    }
}

TEST_F(RegistryExValues, ValueExistsForAnyTypeAndSizeAndDeleteValueRemovesIt) {
    SetTestValue(Scratch(), "string", REG_SZ, std::string("x", 2));
    SetTestValue(Scratch(), "dword", REG_DWORD, std::string(4, '\0'));
    SetTestValue(Scratch(), "empty binary", REG_BINARY, "");
    SetTestValue(Scratch(), NULL, REG_SZ, std::string("default", 8));
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    for (LPCSTR lpszName : {"string", "dword", "empty binary", "300 bytes", ""}) {
        SCOPED_TRACE(lpszName);
        EXPECT_TRUE(reg.ValueExists(lpszName));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, 0, 0), RecordOf(reg));
        EXPECT_TRUE(reg.DeleteValue(lpszName));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, 0, 0), RecordOf(reg));
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, QueryValue(Scratch(), lpszName).lStatus);
        EXPECT_FALSE(reg.ValueExists(lpszName));
        EXPECT_EQ(CallRecord(ERROR_FILE_NOT_FOUND, 0, 0), RecordOf(reg));
        EXPECT_FALSE(reg.DeleteValue(lpszName));
        EXPECT_EQ(CallRecord(ERROR_FILE_NOT_FOUND, 0, 0), RecordOf(reg));
    }
}

TEST_F(RegistryExValues, OpenKeyRecordsOnlyAFailureAndForgetsTheKeyHeldBefore) {
    SetTestValue(MakeKey("target").get(), "marker", REG_BINARY, "target");
    ScopedKey start = MakeKey("start");
    CRegistryEx reg(start.get());
    int nValue = static_cast<int>(kSentinel);
    ASSERT_FALSE(reg.ReadInt("missing", nValue));
    CallRecord failedRead = RecordOf(reg);

    EXPECT_TRUE(reg.OpenKey(HKEY_LOCAL_MACHINE, "target"));
    EXPECT_EQ(failedRead, RecordOf(reg));
    EXPECT_EQ("target", QueryValue(reg.GetKey(), "marker").strData);
    EXPECT_EQ(ERROR_SUCCESS, InfoStatus(start.get())); // forgotten, not closed
    EXPECT_STREQ("", reg.GetPath());
    ScopedKey target(reg.GetKey());

    EXPECT_FALSE(reg.OpenKey(HKEY_LOCAL_MACHINE, "missing"));
    EXPECT_EQ(CallRecord(ERROR_FILE_NOT_FOUND, 0, 0), RecordOf(reg));
    EXPECT_EQ(NULL, reg.GetKey());
    EXPECT_STREQ("", reg.GetPath());
    EXPECT_EQ(ERROR_SUCCESS, InfoStatus(target.get()));
}

TEST_F(RegistryExValues, CreateKeyCreatesOrOpensWithFullAccess) {
    SetTestValue(MakeKey("existing").get(), "marker", REG_BINARY, "existing");
    ScopedKey held = MakeKey("held");
    CRegistryEx reg(held.get());
    for (LPCSTR lpszPath : {"existing", "new\\deeper"}) {
        SCOPED_TRACE(lpszPath);
        EXPECT_TRUE(reg.CreateKey(HKEY_LOCAL_MACHINE, lpszPath));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, 0, 0), RecordOf(reg));
        ScopedKey created(reg.GetKey()); // the next open forgets it
        EXPECT_TRUE(reg.WriteString("written", "through the new handle"));
        EXPECT_EQ("through the new handle",
                  QueryValue(MakeKey(lpszPath).get(), "written").strData.substr(0, 22));
    }
    EXPECT_EQ("existing", QueryValue(MakeKey("existing").get(), "marker").strData);
    EXPECT_STREQ("", reg.GetPath());
    EXPECT_EQ(ERROR_SUCCESS, InfoStatus(held.get())); // forgotten, not closed
    // Only below a key that lasts can a lasting key be made.
    EXPECT_NE(nullptr, MakeKey("new\\deeper\\child"));

    MakeKey("locked");
    Restrict("locked");
    EXPECT_FALSE(reg.CreateKey(HKEY_LOCAL_MACHINE, "locked"));
    EXPECT_EQ(CallRecord(ERROR_ACCESS_DENIED, 0, 0), RecordOf(reg));
    EXPECT_EQ(NULL, reg.GetKey()); // what the platform stores after a failed open
}

TEST_F(RegistryExValues, DeleteKeyLeavesTheCurrentKeyAloneEvenWhenItIsTheDeletedKey) {
    MakeKey("doomed");
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    ASSERT_TRUE(reg.OpenKey(HKEY_LOCAL_MACHINE, "doomed"));
    HKEY hDoomed = reg.GetKey();
    EXPECT_TRUE(reg.DeleteKey(HKEY_LOCAL_MACHINE, "doomed"));
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, 0, 0), RecordOf(reg));
    EXPECT_EQ(hDoomed, reg.GetKey());
    HKEY hGone = NULL;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, RegOpenKeyExA(Scratch(), "doomed", 0, KEY_READ, &hGone));

    EXPECT_FALSE(reg.DeleteKey(HKEY_LOCAL_MACHINE, "doomed"));
    EXPECT_EQ(CallRecord(ERROR_FILE_NOT_FOUND, 0, 0), RecordOf(reg));
    EXPECT_EQ(hDoomed, reg.GetKey());
}

// Each case breaks every precondition that its operation checks (NULL where a text or key is
// due; the object closed, so its current key is NULL) and the call goes on as after Ignore. Where
// the current key and a name are both checked, the key alone broken (the name given as "x") must
// fire the first of the two: so a swap of the two checks shows, not only their source order.
TEST_F(RegistryExValues, EveryOperationAssertsItsPreconditionsInOrderNamingTheSourceFile) {
    BYTE abBlock[4] = {};
    int nValue = 0;
    DWORD dwValue = 0;
    CStringArray arrNames;
    const struct {
        LPCSTR lpszName;
        // Called with the name or path to pass: NULL, or "x" for the key alone broken.
        std::function<void(CRegistryEx&, LPCSTR)> call;
        size_t nAssertions;
        bool bKeyThenName;
    } cases[] = {
        {"OpenSubKey", [](CRegistryEx& reg, LPCSTR) { reg.OpenSubKey("x"); }, 1, false},
        {"ReadString",
         [](CRegistryEx& reg, LPCSTR lpsz) {
             CString str;
             reg.ReadString(lpsz, str);
         },
         2, true},
        {"WriteString", [](CRegistryEx& reg, LPCSTR lpsz) { reg.WriteString(lpsz, "x"); }, 2, true},
        {"EnumSubKeys", [&](CRegistryEx& reg, LPCSTR lpsz) { reg.EnumSubKeys(lpsz, arrNames); }, 2,
         true},
        {"EnumValues", [&](CRegistryEx& reg, LPCSTR lpsz) { reg.EnumValues(lpsz, arrNames); }, 2,
         true},
        {"OpenKey", [](CRegistryEx& reg, LPCSTR) { reg.OpenKey(NULL, NULL); }, 2, false},
        {"CreateKey", [](CRegistryEx& reg, LPCSTR) { reg.CreateKey(NULL, NULL); }, 0, false},
        {"DeleteKey", [](CRegistryEx& reg, LPCSTR) { reg.DeleteKey(NULL, NULL); }, 2, false},
        {"ValueExists", [](CRegistryEx& reg, LPCSTR lpsz) { reg.ValueExists(lpsz); }, 1, false},
        {"DeleteValue", [](CRegistryEx& reg, LPCSTR lpsz) { reg.DeleteValue(lpsz); }, 1, false},
        {"WriteInt", [](CRegistryEx& reg, LPCSTR lpsz) { reg.WriteInt(lpsz, 1); }, 2, true},
        {"WriteByte", [](CRegistryEx& reg, LPCSTR lpsz) { reg.WriteByte(lpsz, 1); }, 2, true},
        {"WriteDword", [](CRegistryEx& reg, LPCSTR lpsz) { reg.WriteDword(lpsz, 1); }, 2, true},
        {"WriteFourBytes",
         [&](CRegistryEx& reg, LPCSTR lpsz) { reg.WriteFourBytes(lpsz, abBlock); }, 2, true},
        {"ReadInt", [&](CRegistryEx& reg, LPCSTR lpsz) { reg.ReadInt(lpsz, nValue); }, 2, true},
        {"ReadDword", [&](CRegistryEx& reg, LPCSTR lpsz) { reg.ReadDword(lpsz, dwValue); }, 2,
         true},
        {"ReadBinary", [&](CRegistryEx& reg, LPCSTR lpsz) { reg.ReadBinary(lpsz, abBlock, 4); }, 2,
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lpszName);
        AssertionRecorder assertions;
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        reg.Close();
        c.call(reg, NULL);
        const std::vector<Assertion> seen = assertions.Assertions();
        ASSERT_EQ(c.nAssertions, seen.size());
        for (size_t i = 0; i < seen.size(); i++) {
            EXPECT_EQ(kSourceFile, seen[i].strFile);
            if (i > 0) {
                EXPECT_LT(seen[i - 1].nLine, seen[i].nLine);
            }
        }
        if (c.bKeyThenName) {
            AssertionRecorder keyAlone;
            CRegistryEx closed(HKEY_LOCAL_MACHINE);
            closed.Close();
            c.call(closed, "x");
            ASSERT_EQ(1u, keyAlone.Assertions().size());
            EXPECT_EQ(seen[0].nLine, keyAlone.Assertions()[0].nLine);
        }
    }
}

TEST_F(RegistryExValues, WriteStringAssertsANullTextAfterTheNameAndBeforeReadingIt) {
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    int nNameLine = 0;
    {
        AssertionRecorder assertions;
        reg.WriteString(NULL, "x");
        ASSERT_EQ(1u, assertions.Assertions().size());
        nNameLine = assertions.Assertions()[0].nLine;
    }
    AFX_ASSERT_HOOK pfnOldHook = AfxSetAssertHook(StopAtAssertion);
    int nTextLine = 0;
    try {
        reg.WriteString("v", NULL);
    } catch (const AssertionStop& stop) {
        nTextLine = stop.nLine;
    }
    AfxSetAssertHook(pfnOldHook);
    EXPECT_LT(nNameLine, nTextLine);
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, QueryValue(Scratch(), "v").lStatus);
}

// The order of the two checks of the operations on a given root: which one fires alone.
TEST_F(RegistryExValues, OpenKeyChecksTheRootFirstAndDeleteKeyThePathFirst) {
    auto LineOf = [](const std::function<void(CRegistryEx&)>& call) {
        AssertionRecorder assertions;
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        call(reg);
        EXPECT_EQ(1u, assertions.Assertions().size());
        return assertions.Assertions().empty() ? 0 : assertions.Assertions()[0].nLine;
    };
    EXPECT_LT(LineOf([](CRegistryEx& reg) { reg.OpenKey(NULL, "missing"); }),
              LineOf([](CRegistryEx& reg) { reg.OpenKey(HKEY_LOCAL_MACHINE, NULL); }));
    EXPECT_LT(LineOf([](CRegistryEx& reg) { reg.DeleteKey(HKEY_LOCAL_MACHINE, NULL); }),
              LineOf([](CRegistryEx& reg) { reg.DeleteKey(NULL, "missing"); }));
}

// Each call breaks one precondition alone and stops at the first assertion: the lines that fire
// tell which check comes first, so two checks that swap places show.
TEST_F(RegistryExValues, FindKeyByValueAssertsTheKeyThePathTheValueNameAndTheTextInOrder) {
    const std::function<void(CRegistryEx&)> calls[] = {
        [](CRegistryEx& reg) {
            reg.Close();
            reg.FindKeyByValue("p", "v", "t");
        },
        [](CRegistryEx& reg) { reg.FindKeyByValue(NULL, "v", "t"); },
        [](CRegistryEx& reg) { reg.FindKeyByValue("p", NULL, "t"); },
        [](CRegistryEx& reg) { reg.FindKeyByValue("p", "v", NULL); },
    };
    AFX_ASSERT_HOOK pfnOldHook = AfxSetAssertHook(StopAtAssertion);
    std::vector<int> lines;
    for (const auto& call : calls) {
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        try {
            call(reg);
        } catch (const AssertionStop& stop) {
            lines.push_back(stop.nLine);
        }
    }
    AfxSetAssertHook(pfnOldHook);
    ASSERT_EQ(4u, lines.size());
    for (size_t i = 1; i < lines.size(); i++)
        EXPECT_LT(lines[i - 1], lines[i]) << i;
}
