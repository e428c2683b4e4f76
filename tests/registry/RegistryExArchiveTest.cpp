// CRegistryEx's archived values on Wine's registry: the bytes stored (read back with
// RegQueryValueExA), what each load leaves in its object, the call record, the bound
// assertions, values that end too early, and work blocks that cannot be had. HKEY_LOCAL_MACHINE
// is redirected to a scratch key of each test's own.
#include "ArchiveBytes.h"
#include "AssertionRecorder.h"
#include "RegistryEx.h"
#include "TestRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

using namespace test_support;

namespace {

const std::string kSourceFile = "registry/RegistryEx.cpp";
const char kValue[] = "value";

using CallRecord = std::tuple<LONG, DWORD, DWORD>;

CallRecord RecordOf(const CRegistryEx& reg) {
    return {reg.GetLastStatus(), reg.GetLastType(), reg.GetLastSize()};
}

// The value's bytes as RegQueryValueExA gives them, or "missing".
std::string StoredHex(HKEY hKey, LPCSTR lpszName) {
    std::string strData(8192, '\0');
    DWORD dwType = 0xdeadbeef, dwSize = static_cast<DWORD>(strData.size());
    if (RegQueryValueExA(hKey, lpszName, NULL, &dwType, reinterpret_cast<BYTE*>(&strData[0]),
                         &dwSize) != ERROR_SUCCESS)
        return "missing";
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), dwType);
    return Hex(strData.substr(0, dwSize));
}

std::string Shape(const RECT& rc) {
    return std::to_string(rc.left) + " " + std::to_string(rc.top) + " " + std::to_string(rc.right) +
           " " + std::to_string(rc.bottom);
}

std::string Shape(const POINT& pt) {
    return std::to_string(pt.x) + " " + std::to_string(pt.y);
}

// One object of each kind: the values that the stores write, or sentinels that show
// "untouched". Every array holds three elements, so that array loads keep three.
struct Objects {
    explicit Objects(bool bStored)
        : rc(bStored ? RECT{-10, -20, 30, 40} : RECT{111, 222, 333, 444}),
          pt(bStored ? POINT{-7, 9} : POINT{555, 666}) {
        const char* apszStored[] = {"ab", "", "xyz"};
        const BYTE abStored[] = {1, 2, 0xff};
        const WORD awStored[] = {1, 0xbeef, 0};
        const DWORD adwStored[] = {0xdeadbeef, 7, 0x01020304};
        for (int i = 0; i < 3; i++) {
            list.AddTail(bStored ? apszStored[i] : "sentinel");
            strings.Add(bStored ? apszStored[i] : "sentinel");
            bytes.Add(bStored ? abStored[i] : 0xde);
            words.Add(bStored ? awStored[i] : 0xdead);
            dwords.Add(bStored ? adwStored[i] : 0xdeadbeef);
        }
    }
    CStringList list;
    CByteArray bytes;
    CWordArray words;
    CDWordArray dwords;
    CStringArray strings;
    RECT rc;
    POINT pt;
    RECT* pRect = &rc;
    POINT* pPoint = &pt;
};

using Operation = std::function<BOOL(CRegistryEx&, Objects&, LPCSTR)>;

// Each kind's store and load, what its object holds (a collection: as the archive stores it),
// the bytes stored from Objects(true), and the type recorded by the store (and, with the size,
// by a shape's load whatever happened).
struct Kind {
    const char* pszName;
    Operation fnStore;
    Operation fnLoad;
    std::function<std::string(Objects&)> fnHeld;
    const char* pszStoredHex;
    DWORD dwType;
    DWORD dwShapeSize; // 0 for a collection, whose load records the query's type and size
};

const Kind kKinds[] = {
    {"string list", [](auto& reg, auto& o, auto psz) { return reg.WriteStringList(psz, o.list); },
     [](auto& reg, auto& o, auto psz) { return reg.ReadStringList(psz, o.list); },
     [](Objects& o) { return Hex(Store(o.list)); }, "03 00 02 61 62 00 03 78 79 7a", REG_BINARY, 0},
    {"byte array", [](auto& reg, auto& o, auto psz) { return reg.WriteByteArray(psz, o.bytes); },
     [](auto& reg, auto& o, auto psz) { return reg.ReadByteArray(psz, o.bytes); },
     [](Objects& o) { return Hex(Store(o.bytes)); }, "03 00 01 02 ff", REG_BINARY, 0},
    {"word array", [](auto& reg, auto& o, auto psz) { return reg.WriteWordArray(psz, o.words); },
     [](auto& reg, auto& o, auto psz) { return reg.ReadWordArray(psz, o.words); },
     [](Objects& o) { return Hex(Store(o.words)); }, "03 00 01 00 ef be 00 00", REG_BINARY, 0},
    {"double-word array",
     [](auto& reg, auto& o, auto psz) { return reg.WriteDwordArray(psz, o.dwords); },
     [](auto& reg, auto& o, auto psz) { return reg.ReadDwordArray(psz, o.dwords); },
     [](Objects& o) { return Hex(Store(o.dwords)); }, "03 00 ef be ad de 07 00 00 00 04 03 02 01",
     REG_BINARY, 0},
    {"string array",
     [](auto& reg, auto& o, auto psz) { return reg.WriteStringArray(psz, o.strings); },
     [](auto& reg, auto& o, auto psz) { return reg.ReadStringArray(psz, o.strings); },
     [](Objects& o) { return Hex(Store(o.strings)); }, "03 00 02 61 62 00 03 78 79 7a", REG_BINARY,
     0},
    {"rectangle", [](auto& reg, auto& o, auto psz) { return reg.WriteRect(psz, o.pRect); },
     [](auto& reg, auto& o, auto psz) { return reg.ReadRect(psz, o.pRect); },
     [](Objects& o) { return Shape(o.rc); },
     "05 00 ec ff ff ff 28 00 00 00 f6 ff ff ff 1e 00 00 00 00 00 00 00", 1, 16},
    {"point", [](auto& reg, auto& o, auto psz) { return reg.WritePoint(psz, o.pPoint); },
     [](auto& reg, auto& o, auto psz) { return reg.ReadPoint(psz, o.pPoint); },
     [](Objects& o) { return Shape(o.pt); },
     "05 00 f9 ff ff ff 09 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00", 2, 8},
};

// Counts the heap blocks that the test executable takes through the C runtime's malloc and
// calloc and has not freed, while it lives. The framework and CRegistryEx are linked into the
// executable and so call through its imports too.
class HeapWatch {
public:
    HeapWatch() {
        s_live.clear();
        s_live.reserve(1024); // the watch must not allocate while it counts
    }
    ~HeapWatch() { s_live.clear(); }
    HeapWatch(const HeapWatch&) = delete;
    HeapWatch& operator=(const HeapWatch&) = delete;

    bool Watching() const { return m_malloc.Patched() && m_calloc.Patched() && m_free.Patched(); }
    size_t Live() const { return s_live.size(); }

private:
    static void* Taken(void* p) {
        if (p != NULL && s_live.size() < s_live.capacity())
            s_live.push_back(p);
        return p;
    }
    static void* Malloc(size_t n) { return Taken(s_pfnMalloc(n)); }
    static void* Calloc(size_t n, size_t nSize) { return Taken(s_pfnCalloc(n, nSize)); }
    static void Free(void* p) {
        s_live.erase(std::remove(s_live.begin(), s_live.end(), p), s_live.end());
        s_pfnFree(p);
    }
    // The runtime's own functions, in front of which the imports are patched.
    template <class TFunction> static TFunction* Runtime(LPCSTR lpszName) {
        return reinterpret_cast<TFunction*>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("msvcrt.dll"), lpszName)));
    }

    inline static std::vector<void*> s_live;
    inline static auto* s_pfnMalloc = Runtime<void*(size_t)>("malloc");
    inline static auto* s_pfnCalloc = Runtime<void*(size_t, size_t)>("calloc");
    inline static auto* s_pfnFree = Runtime<void(void*)>("free");
    ImportPatch m_malloc{"msvcrt.dll", "malloc", reinterpret_cast<void*>(&Malloc)};
    ImportPatch m_calloc{"msvcrt.dll", "calloc", reinterpret_cast<void*>(&Calloc)};
    ImportPatch m_free{"msvcrt.dll", "free", reinterpret_cast<void*>(&Free)};
};

void* NoBlock(size_t, size_t) {
    return NULL;
}

void* NoLargerBlock(void*, size_t) {
    return NULL;
}

// The first exception of a thread sets up the runtime's own bookkeeping for good: done before a
// HeapWatch counts.
void ThrowOnce() {
    try {
        AfxThrowArchiveException(CArchiveException::generic);
    } catch (CException* e) {
        e->Delete();
    }
}

} // namespace

class RegistryExArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_machine.Redirected()); }

    // The scratch key that HKEY_LOCAL_MACHINE stands for.
    HKEY Scratch() const { return m_machine.Key(); }

    MachineRedirect m_machine{"RegistryExArchiveTests"};
    AssertionRecorder m_assertions;
};

TEST_F(RegistryExArchiveTest, StoresWriteTheArchiveFormatAndLoadsReplaceTheObjectWithIt) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.pszName);
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        Objects stored(true), loaded(false);
        DWORD dwLength = static_cast<DWORD>(Bytes(kind.pszStoredHex).size());
        EXPECT_TRUE(kind.fnStore(reg, stored, kValue));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, kind.dwType, dwLength), RecordOf(reg));
        EXPECT_EQ(kind.pszStoredHex, StoredHex(Scratch(), kValue));

        EXPECT_TRUE(kind.fnLoad(reg, loaded, kValue));
        EXPECT_EQ(kind.fnHeld(stored), kind.fnHeld(loaded));
        EXPECT_EQ(kind.dwShapeSize != 0 ? CallRecord(ERROR_SUCCESS, kind.dwType, kind.dwShapeSize)
                                        : CallRecord(ERROR_SUCCESS, REG_BINARY, dwLength),
                  RecordOf(reg));
    }
    EXPECT_TRUE(m_assertions.Assertions().empty());
}

TEST_F(RegistryExArchiveTest, StoreThatTheRegistryRefusesRecordsTheFailureAndKeepsNoBlock) {
    Objects stored(true);
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.pszName);
        HKEY hReadOnly = NULL;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(Scratch(), NULL, 0, KEY_READ, &hReadOnly));
        CRegistryEx reg(hReadOnly);
        size_t nLive = 0;
        {
            HeapWatch heap;
            ASSERT_TRUE(heap.Watching());
            EXPECT_FALSE(kind.fnStore(reg, stored, kValue));
            nLive = heap.Live();
        }
        EXPECT_EQ(0u, nLive) << "heap blocks left behind";
        DWORD dwLength = static_cast<DWORD>(Bytes(kind.pszStoredHex).size());
        EXPECT_EQ(CallRecord(ERROR_ACCESS_DENIED, kind.dwType, dwLength), RecordOf(reg));
        EXPECT_EQ("missing", StoredHex(Scratch(), kValue));
    }
}

TEST_F(RegistryExArchiveTest, ArrayLoadsKeepTheThreeElementsTheArrayHadOnEntry) {
    const struct {
        size_t nKind;
        const char* pszStoredHex;
        const char* pszHeldHex;
    } cases[] = {
        {1, "01 00 09", "03 00 09 00 00"},
        {2, "02 00 01 00 02 00", "03 00 01 00 02 00 00 00"},
        {3, "04 00 01 00 00 00 02 00 00 00 03 00 00 00 04 00 00 00",
         "03 00 01 00 00 00 02 00 00 00 03 00 00 00"},
        {4, "02 00 01 61 01 62", "03 00 01 61 01 62 00"},
    };
    for (const auto& c : cases) {
        const Kind& kind = kKinds[c.nKind];
        SCOPED_TRACE(kind.pszName);
        std::string strStored = Bytes(c.pszStoredHex);
        SetTestValue(Scratch(), kValue, REG_BINARY, strStored);
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        Objects objects(false);
        EXPECT_TRUE(kind.fnLoad(reg, objects, kValue));
        EXPECT_EQ(c.pszHeldHex, kind.fnHeld(objects));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, REG_BINARY, strStored.size()), RecordOf(reg));
    }
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CByteArray empty;
    EXPECT_TRUE(reg.ReadByteArray(kValue, empty)); // the string array's value, four bytes
    EXPECT_EQ(0, empty.GetSize());
}

TEST_F(RegistryExArchiveTest, LoadsLeaveTheirObjectAloneForOtherTypesMissingOrOversizedValues) {
    SetTestValue(Scratch(), "text", REG_SZ, std::string("abc", 4));
    SetTestValue(Scratch(), "large", REG_BINARY, std::string(4097, '\0'));
    SetTestValue(Scratch(), "text of 31", REG_SZ, std::string(30, 'r') + '\0');
    Objects untouched(false);
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.pszName);
        bool bShape = kind.dwShapeSize != 0;
        const struct {
            LPCSTR pszValue;
            BOOL bResult;
            CallRecord record;
        } cases[] = {
            {"text", TRUE, {ERROR_SUCCESS, REG_SZ, 4}},
            {"missing", FALSE, {ERROR_FILE_NOT_FOUND, 0, 0}}, // type and size are Wine's
            {bShape ? "text of 31" : "large",
             FALSE,
             {ERROR_MORE_DATA, bShape ? REG_SZ : REG_BINARY, bShape ? 31 : 4097}},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.pszValue);
            CRegistryEx reg(HKEY_LOCAL_MACHINE);
            Objects objects(false);
            EXPECT_EQ(c.bResult, kind.fnLoad(reg, objects, c.pszValue));
            EXPECT_EQ(kind.fnHeld(untouched), kind.fnHeld(objects));
            CallRecord expected = c.record;
            if (bShape)
                expected = {std::get<0>(c.record), kind.dwType, kind.dwShapeSize};
            if (bShape || std::get<0>(c.record) != ERROR_FILE_NOT_FOUND) {
                EXPECT_EQ(expected, RecordOf(reg));
            }
            EXPECT_EQ(std::get<0>(c.record), reg.GetLastStatus());
        }
    }
    EXPECT_TRUE(m_assertions.Assertions().empty());
}

// On an object whose current key is NULL, with a NULL value name: two assertions, the key's
// first, and the call goes on to the registry, which refuses the handle.
TEST_F(RegistryExArchiveTest, EveryOperationAssertsTheCurrentKeyThenTheValueName) {
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.pszName);
        for (const Operation& fnOperation : {kind.fnStore, kind.fnLoad}) {
            CRegistryEx reg(HKEY_LOCAL_MACHINE);
            reg.Close();
            Objects objects(true);
            size_t nBefore = m_assertions.Assertions().size();
            EXPECT_FALSE(fnOperation(reg, objects, NULL));
            EXPECT_EQ(ERROR_INVALID_HANDLE, reg.GetLastStatus());
            const std::vector<Assertion>& seen = m_assertions.Assertions();
            ASSERT_EQ(nBefore + 2, seen.size());
            EXPECT_EQ(kSourceFile, seen[nBefore].strFile);
            EXPECT_LT(seen[nBefore].nLine, seen[nBefore + 1].nLine);
        }
    }
}

TEST_F(RegistryExArchiveTest, ValueAsLargeAsTheBlockLoadsUnderTheBoundAssertion) {
    std::string strBlock = Bytes("fe 0f 01") + std::string(4093, '\x07');
    SetTestValue(Scratch(), "block", REG_BINARY, strBlock);
    std::string strShape =
        Bytes("07 00 05 00 00 00 06 00 00 00 07 00 00 00 08") + std::string(15, 0);
    SetTestValue(Scratch(), "shape block", REG_BINARY, strShape);

    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    Objects objects(false);
    EXPECT_TRUE(reg.ReadByteArray("block", objects.bytes));
    EXPECT_EQ("03 00 01 07 07", Hex(Store(objects.bytes)));
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, REG_BINARY, 4096), RecordOf(reg));
    EXPECT_TRUE(reg.ReadRect("shape block", objects.pRect));
    EXPECT_EQ("7 5 8 6", Shape(objects.rc));
    EXPECT_TRUE(reg.ReadPoint("shape block", objects.pPoint));
    EXPECT_EQ("5 6", Shape(objects.pt));

    ASSERT_EQ(3u, m_assertions.Assertions().size());
    for (const Assertion& assertion : m_assertions.Assertions())
        EXPECT_EQ(kSourceFile, assertion.strFile);
}

TEST_F(RegistryExArchiveTest, StoreReachingTheBoundAssertsAndStillWritesTheWholeArchive) {
    for (int nBytes : {4093, 4094, 5000}) {
        SCOPED_TRACE(nBytes);
        CByteArray arr;
        arr.SetSize(nBytes);
        arr[nBytes - 1] = 0x5a;
        size_t nBefore = m_assertions.Assertions().size();
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        EXPECT_TRUE(reg.WriteByteArray(kValue, arr));
        DWORD dwLength = static_cast<DWORD>(2 + nBytes);
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, REG_BINARY, dwLength), RecordOf(reg));
        std::string strStored = StoredHex(Scratch(), kValue);
        EXPECT_EQ(dwLength * 3 - 1, strStored.size());
        EXPECT_EQ("5a", strStored.substr(strStored.size() - 2));
        EXPECT_EQ(dwLength < 4096 ? nBefore : nBefore + 1, m_assertions.Assertions().size());
    }
    EXPECT_EQ(kSourceFile, m_assertions.Assertions().back().strFile);
}

TEST_F(RegistryExArchiveTest, ShapesLoadOnlyFromArraysLongEnoughToHoldThem) {
    SetTestValue(Scratch(), "three", REG_BINARY,
                 Bytes("03 00 01 00 00 00 02 00 00 00 03 00 00 00"));
    SetTestValue(Scratch(), "one", REG_BINARY, Bytes("01 00 01 00 00 00"));
    SetTestValue(Scratch(), "two", REG_BINARY, Bytes("02 00 ff ff ff ff 02 00 00 00"));
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    Objects objects(false);
    EXPECT_TRUE(reg.ReadRect("three", objects.pRect));
    EXPECT_EQ("111 222 333 444", Shape(objects.rc));
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, 1, 16), RecordOf(reg));
    EXPECT_TRUE(reg.ReadPoint("one", objects.pPoint));
    EXPECT_EQ("555 666", Shape(objects.pt));
    EXPECT_TRUE(reg.ReadPoint("two", objects.pPoint));
    EXPECT_EQ("-1 2", Shape(objects.pt));
}

TEST_F(RegistryExArchiveTest, ValueEndingTooEarlyThrowsToTheCallerAndLeavesNoBlockBehind) {
    // Each cut before the first element is whole, so the object itself keeps no new block.
    const char* apszCutHex[] = {"02 00 01",    "ff ff ff ff ff ff", "02 00 ef", "02 00 ef be ad",
                                "03 00 02 61", "05 00 01 00 00",    "05 00"};
    ThrowOnce();
    Objects untouched(false);
    for (size_t i = 0; i < std::size(kKinds); i++) {
        const Kind& kind = kKinds[i];
        SCOPED_TRACE(kind.pszName);
        SetTestValue(Scratch(), kValue, REG_BINARY, Bytes(apszCutHex[i]));
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        reg.ValueExists("missing"); // a record that only a load that records replaces
        Objects objects(false);
        int nCause = -1;
        size_t nLive = 0;
        {
            HeapWatch heap;
            ASSERT_TRUE(heap.Watching());
            try {
                kind.fnLoad(reg, objects, kValue);
            } catch (CException* e) {
                if (e->IsKindOf(RUNTIME_CLASS(CArchiveException)))
                    nCause = static_cast<CArchiveException*>(e)->m_cause;
                e->Delete();
            }
            nLive = heap.Live();
        }
        EXPECT_EQ(CArchiveException::endOfFile, nCause);
        EXPECT_EQ(0u, nLive) << "heap blocks left behind";
        // A collection recorded its query before loading; a shape records only once loaded.
        EXPECT_EQ(kind.dwShapeSize != 0
                      ? CallRecord(ERROR_FILE_NOT_FOUND, 0, 0)
                      : CallRecord(ERROR_SUCCESS, REG_BINARY,
                                   static_cast<DWORD>(Bytes(apszCutHex[i]).size())),
                  RecordOf(reg));
        if (kind.dwShapeSize != 0) {
            EXPECT_EQ(kind.fnHeld(untouched), kind.fnHeld(objects));
        }
    }
}

// An archive longer than the block makes the memory file grow it; when it cannot, the memory
// exception reaches the caller, nothing is written and the block is not left behind.
TEST_F(RegistryExArchiveTest, StoreWhoseBlockCannotGrowPassesTheMemoryExceptionOn) {
    CByteArray arr;
    arr.SetSize(5000);
    ThrowOnce();
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    bool bMemoryException = false;
    size_t nLive = 0;
    {
        HeapWatch heap;
        ImportPatch noLargerBlock("msvcrt.dll", "realloc", reinterpret_cast<void*>(&NoLargerBlock));
        ASSERT_TRUE(heap.Watching() && noLargerBlock.Patched());
        try {
            reg.WriteByteArray(kValue, arr);
        } catch (CException* e) {
            bMemoryException = e->IsKindOf(RUNTIME_CLASS(CMemoryException));
            e->Delete();
        }
        nLive = heap.Live();
    }
    EXPECT_TRUE(bMemoryException);
    EXPECT_EQ(0u, nLive) << "heap blocks left behind";
    EXPECT_EQ("missing", StoredHex(Scratch(), kValue));
}

TEST_F(RegistryExArchiveTest, WithoutItsWorkBlockAnOperationAssertsAndDoesNothing) {
    SetTestValue(Scratch(), kValue, REG_BINARY, Bytes("01 00 01 00 00 00"));
    ImportPatch noBlock("msvcrt.dll", "calloc", reinterpret_cast<void*>(&NoBlock));
    ASSERT_TRUE(noBlock.Patched());
    Objects untouched(false);
    for (const Kind& kind : kKinds) {
        SCOPED_TRACE(kind.pszName);
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        Objects objects(false);
        EXPECT_FALSE(kind.fnStore(reg, objects, "new"));
        EXPECT_EQ(CallRecord(ERROR_NOT_ENOUGH_MEMORY, kind.dwType, 0), RecordOf(reg));
        EXPECT_EQ("missing", StoredHex(Scratch(), "new"));

        EXPECT_FALSE(kind.fnLoad(reg, objects, kValue));
        EXPECT_EQ(kind.fnHeld(untouched), kind.fnHeld(objects));
        EXPECT_EQ(CallRecord(ERROR_NOT_ENOUGH_MEMORY, kind.dwShapeSize != 0 ? kind.dwType : 0,
                             kind.dwShapeSize),
                  RecordOf(reg));
    }
    EXPECT_EQ(2 * std::size(kKinds), m_assertions.Assertions().size());
    for (const Assertion& assertion : m_assertions.Assertions())
        EXPECT_EQ(kSourceFile, assertion.strFile);
}
