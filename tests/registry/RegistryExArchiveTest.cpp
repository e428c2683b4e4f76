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

struct Value {
    LONG lStatus;
    DWORD dwType;
    std::string strData;
};

Value QueryValue(HKEY hKey, LPCSTR lpszName) {
    std::string strData(8192, '\0');
    DWORD dwType = 0xdeadbeef, dwSize = static_cast<DWORD>(strData.size());
    LONG lStatus = RegQueryValueExA(hKey, lpszName, NULL, &dwType,
                                    reinterpret_cast<BYTE*>(&strData[0]), &dwSize);
    strData.resize(lStatus == ERROR_SUCCESS ? dwSize : 0);
    return {lStatus, dwType, strData};
}

// What an object holds, as text: elements separated by blanks (strings by '|').
template <class TArray> std::string Numbers(const TArray& arr) {
    std::string str;
    for (int i = 0; i < arr.GetSize(); i++)
        str += (i > 0 ? " " : "") + std::to_string(arr[i]);
    return str;
}

std::string Texts(const CStringArray& arr) {
    std::string str;
    for (int i = 0; i < arr.GetSize(); i++)
        str += (i > 0 ? "|" : "") + std::string(arr[i]);
    return str;
}

std::string Texts(const CStringList& list) {
    std::string str;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
        str += pos != list.GetHeadPosition() ? "|" : "";
        str += list.GetNext(pos);
    }
    return str;
}

std::string Shape(const RECT& rc) {
    return std::to_string(rc.left) + " " + std::to_string(rc.top) + " " + std::to_string(rc.right) +
           " " + std::to_string(rc.bottom);
}

std::string Shape(const POINT& pt) {
    return std::to_string(pt.x) + " " + std::to_string(pt.y);
}

// The objects of one test, filled with sentinels so that "untouched" shows.
struct Objects {
    Objects() {
        list.AddTail("list sentinel");
        for (int i = 0; i < 3; i++) {
            bytes.Add(static_cast<BYTE>(0xde));
            words.Add(static_cast<WORD>(0xdead));
            dwords.Add(0xdeadbeef);
            strings.Add("sentinel");
        }
    }
    CStringList list;
    CByteArray bytes;
    CWordArray words;
    CDWordArray dwords;
    CStringArray strings;
    RECT rc = {111, 222, 333, 444};
    POINT pt = {555, 666};
    RECT* pRect = &rc;
    POINT* pPoint = &pt;
};

// One load, what it left in its object, and the call record that a shape load always ends with
// (collection loads record the query's type and size: 0 here).
struct ArchiveLoad {
    const char* pszName;
    std::function<BOOL(CRegistryEx&, Objects&, LPCSTR)> fnLoad;
    std::function<std::string(const Objects&)> fnHeld;
    DWORD dwShapeType;
    DWORD dwShapeSize;
};

const ArchiveLoad kLoads[] = {
    {"ReadStringList",
     [](CRegistryEx& reg, Objects& o, LPCSTR psz) { return reg.ReadStringList(psz, o.list); },
     [](const Objects& o) { return Texts(o.list); }, 0, 0},
    {"ReadByteArray",
     [](CRegistryEx& reg, Objects& o, LPCSTR psz) { return reg.ReadByteArray(psz, o.bytes); },
     [](const Objects& o) { return Numbers(o.bytes); }, 0, 0},
    {"ReadWordArray",
     [](CRegistryEx& reg, Objects& o, LPCSTR psz) { return reg.ReadWordArray(psz, o.words); },
     [](const Objects& o) { return Numbers(o.words); }, 0, 0},
    {"ReadDwordArray",
     [](CRegistryEx& reg, Objects& o, LPCSTR psz) { return reg.ReadDwordArray(psz, o.dwords); },
     [](const Objects& o) { return Numbers(o.dwords); }, 0, 0},
    {"ReadStringArray",
     [](CRegistryEx& reg, Objects& o, LPCSTR psz) { return reg.ReadStringArray(psz, o.strings); },
     [](const Objects& o) { return Texts(o.strings); }, 0, 0},
    {"ReadRect",
     [](CRegistryEx& reg, Objects& o, LPCSTR psz) { return reg.ReadRect(psz, o.pRect); },
     [](const Objects& o) { return Shape(o.rc); }, 1, 16},
    {"ReadPoint",
     [](CRegistryEx& reg, Objects& o, LPCSTR psz) { return reg.ReadPoint(psz, o.pPoint); },
     [](const Objects& o) { return Shape(o.pt); }, 2, 8},
};

// The heap blocks that the test executable takes through the C runtime's allocator and has
// not given back, counted while the watch lives (through the executable's own imports, which
// the framework and CRegistryEx linked into it call too).
class HeapWatch {
public:
    HeapWatch() {
        s_live.clear();
        s_live.reserve(1024); // the watch itself must not allocate while it counts
        s_bWatching =
            m_malloc.Patched() && m_calloc.Patched() && m_realloc.Patched() && m_free.Patched();
    }
    ~HeapWatch() { s_bWatching = false; }
    HeapWatch(const HeapWatch&) = delete;
    HeapWatch& operator=(const HeapWatch&) = delete;

    bool Watching() const { return s_bWatching; }
    size_t Live() const { return s_live.size(); }

private:
    static void Taken(void* p) {
        if (p != NULL && s_bWatching && s_live.size() < s_live.capacity())
            s_live.push_back(p);
    }
    static void Given(void* p) {
        auto it = std::find(s_live.begin(), s_live.end(), p);
        if (it != s_live.end())
            s_live.erase(it);
    }
    static void* Malloc(size_t n) {
        void* p = s_pfnMalloc(n);
        Taken(p);
        return p;
    }
    static void* Calloc(size_t n, size_t nSize) {
        void* p = s_pfnCalloc(n, nSize);
        Taken(p);
        return p;
    }
    static void* Realloc(void* pOld, size_t n) {
        void* p = s_pfnRealloc(pOld, n);
        if (p != NULL || n == 0)
            Given(pOld);
        Taken(p);
        return p;
    }
    static void Free(void* p) {
        Given(p);
        s_pfnFree(p);
    }

    inline static std::vector<void*> s_live;
    inline static bool s_bWatching = false;
    // The runtime's own functions, which the patched imports stand in front of.
    template <class TFunction> static TFunction* Runtime(LPCSTR lpszName) {
        return reinterpret_cast<TFunction*>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("msvcrt.dll"), lpszName)));
    }
    inline static auto* s_pfnMalloc = Runtime<void*(size_t)>("malloc");
    inline static auto* s_pfnCalloc = Runtime<void*(size_t, size_t)>("calloc");
    inline static auto* s_pfnRealloc = Runtime<void*(void*, size_t)>("realloc");
    inline static auto* s_pfnFree = Runtime<void(void*)>("free");
    ImportPatch m_malloc{"msvcrt.dll", "malloc", reinterpret_cast<void*>(&Malloc)};
    ImportPatch m_calloc{"msvcrt.dll", "calloc", reinterpret_cast<void*>(&Calloc)};
    ImportPatch m_realloc{"msvcrt.dll", "realloc", reinterpret_cast<void*>(&Realloc)};
    ImportPatch m_free{"msvcrt.dll", "free", reinterpret_cast<void*>(&Free)};
};

void* NoBlock(size_t, size_t) {
    return NULL;
}

} // namespace

class RegistryExArchiveTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, m_scratch.Key()); }

    void ExpectStored(const std::string& strBytes) {
        Value value = QueryValue(m_scratch.Key(), kValue);
        EXPECT_EQ(ERROR_SUCCESS, value.lStatus);
        EXPECT_EQ(static_cast<DWORD>(REG_BINARY), value.dwType);
        EXPECT_EQ(Hex(strBytes), Hex(value.strData));
    }

    RedirectedMachineKey m_scratch;
    AssertionRecorder m_assertions;
};

TEST_F(RegistryExArchiveTest, StoresWriteTheArchiveFormatAndLoadsReadItBack) {
    const struct {
        const char* pszName;
        std::function<BOOL(CRegistryEx&)> fnStore;
        std::string strBytes;
        DWORD dwStoreType;
        size_t nLoad;     // index into kLoads
        DWORD dwLoadType; // and the size recorded after the load
        DWORD dwLoadSize;
        std::string strLoaded;
    } cases[] = {
        {"string list",
         [](CRegistryEx& reg) {
             CStringList list;
             for (LPCSTR psz : {"ab", "", "xyz"})
                 list.AddTail(psz);
             return reg.WriteStringList(kValue, list);
         },
         Bytes("03 00 02 61 62 00 03 78 79 7a"), REG_BINARY, 0, REG_BINARY, 10, "ab||xyz"},
        {"byte array",
         [](CRegistryEx& reg) {
             CByteArray arr;
             for (BYTE by : {1, 2, 0xff})
                 arr.Add(by);
             return reg.WriteByteArray(kValue, arr);
         },
         Bytes("03 00 01 02 ff"), REG_BINARY, 1, REG_BINARY, 5, "1 2 255"},
        {"word array",
         [](CRegistryEx& reg) {
             CWordArray arr;
             for (WORD w : {1, 0xbeef, 0})
                 arr.Add(w);
             return reg.WriteWordArray(kValue, arr);
         },
         Bytes("03 00 01 00 ef be 00 00"), REG_BINARY, 2, REG_BINARY, 8, "1 48879 0"},
        {"double-word array",
         [](CRegistryEx& reg) {
             CDWordArray arr;
             for (DWORD dw : {0xdeadbeefu, 7u, 0x01020304u})
                 arr.Add(dw);
             return reg.WriteDwordArray(kValue, arr);
         },
         Bytes("03 00 ef be ad de 07 00 00 00 04 03 02 01"), REG_BINARY, 3, REG_BINARY, 14,
         "3735928559 7 16909060"},
        {"string array",
         [](CRegistryEx& reg) {
             CStringArray arr;
             for (LPCSTR psz : {"ab", "", "xyz"})
                 arr.Add(psz);
             return reg.WriteStringArray(kValue, arr);
         },
         Bytes("03 00 02 61 62 00 03 78 79 7a"), REG_BINARY, 4, REG_BINARY, 10, "ab||xyz"},
        {"rectangle",
         [](CRegistryEx& reg) {
             RECT rc = {-10, -20, 30, 40};
             return reg.WriteRect(kValue, &rc);
         },
         Bytes("05 00 ec ff ff ff 28 00 00 00 f6 ff ff ff 1e 00 00 00 00 00 00 00"), 1, 5, 1, 16,
         "-10 -20 30 40"},
        {"point",
         [](CRegistryEx& reg) {
             POINT pt = {-7, 9};
             POINT* pPoint = &pt;
             return reg.WritePoint(kValue, pPoint);
         },
         Bytes("05 00 f9 ff ff ff 09 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"), 2, 6, 2, 8,
         "-7 9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        Objects objects;
        EXPECT_TRUE(c.fnStore(reg));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, c.dwStoreType, c.strBytes.size()), RecordOf(reg));
        ExpectStored(c.strBytes);

        const ArchiveLoad& load = kLoads[c.nLoad];
        EXPECT_TRUE(load.fnLoad(reg, objects, kValue)) << load.pszName;
        EXPECT_EQ(c.strLoaded, load.fnHeld(objects));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, c.dwLoadType, c.dwLoadSize), RecordOf(reg));
    }
    EXPECT_TRUE(m_assertions.Assertions().empty());
}

TEST_F(RegistryExArchiveTest, ArrayLoadsKeepTheElementCountTheArrayHadOnEntry) {
    const struct {
        const char* pszName;
        std::string strStored;
        int nEntrySize;
        std::function<std::string(CRegistryEx&)> fnLoad;
        std::string strHeld;
    } cases[] = {
        {"two words into five", Bytes("02 00 01 00 02 00"), 5,
         [](CRegistryEx& reg) {
             CWordArray arr;
             arr.SetSize(5);
             EXPECT_TRUE(reg.ReadWordArray(kValue, arr));
             return Numbers(arr);
         },
         "1 2 0 0 0"},
        {"four double words into two",
         Bytes("04 00 01 00 00 00 02 00 00 00 03 00 00 00 04 00 00 00"), 2,
         [](CRegistryEx& reg) {
             CDWordArray arr;
             arr.SetSize(2);
             EXPECT_TRUE(reg.ReadDwordArray(kValue, arr));
             return Numbers(arr);
         },
         "1 2"},
        {"three bytes into none", Bytes("03 00 01 02 03"), 0,
         [](CRegistryEx& reg) {
             CByteArray arr;
             EXPECT_TRUE(reg.ReadByteArray(kValue, arr));
             return Numbers(arr);
         },
         ""},
        {"two strings into four", Bytes("02 00 01 61 01 62"), 4,
         [](CRegistryEx& reg) {
             CStringArray arr;
             for (LPCSTR psz : {"w", "x", "y", "z"})
                 arr.Add(psz);
             EXPECT_TRUE(reg.ReadStringArray(kValue, arr));
             return Texts(arr);
         },
         "a|b||"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        SetTestValue(m_scratch.Key(), kValue, REG_BINARY, c.strStored);
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        EXPECT_EQ(c.strHeld, c.fnLoad(reg));
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, REG_BINARY, c.strStored.size()), RecordOf(reg));
    }
}

TEST_F(RegistryExArchiveTest, StringListLoadReplacesWhatTheListHeld) {
    SetTestValue(m_scratch.Key(), kValue, REG_BINARY, Bytes("02 00 01 78 01 79"));
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    CStringList list;
    list.AddTail("old 1");
    list.AddTail("old 2");
    list.AddTail("old 3");
    EXPECT_TRUE(reg.ReadStringList(kValue, list));
    EXPECT_EQ("x|y", Texts(list));
}

TEST_F(RegistryExArchiveTest, LoadsLeaveTheirObjectAloneForOtherTypesMissingOrOversizedValues) {
    SetTestValue(m_scratch.Key(), "text", REG_SZ, std::string("abc", 4));
    SetTestValue(m_scratch.Key(), "large", REG_BINARY, std::string(4097, '\0'));
    SetTestValue(m_scratch.Key(), "text of 31", REG_SZ, std::string(30, 'r') + '\0');
    const Objects untouched;
    std::string strUntouched[std::size(kLoads)];
    for (size_t i = 0; i < std::size(kLoads); i++)
        strUntouched[i] = kLoads[i].fnHeld(untouched);

    for (size_t i = 0; i < std::size(kLoads); i++) {
        const ArchiveLoad& load = kLoads[i];
        SCOPED_TRACE(load.pszName);
        bool bShape = load.dwShapeSize != 0;
        const struct {
            LPCSTR pszValue;
            BOOL bResult;
            CallRecord record;
        } cases[] = {
            {"text", TRUE, {ERROR_SUCCESS, REG_SZ, 4}},
            {"missing", FALSE, {ERROR_FILE_NOT_FOUND, REG_NONE, 0}},
            {bShape ? "text of 31" : "large",
             FALSE,
             {ERROR_MORE_DATA, bShape ? REG_SZ : REG_BINARY, bShape ? 31 : 4097}},
        };
        for (const auto& c : cases) {
            SCOPED_TRACE(c.pszValue);
            CRegistryEx reg(HKEY_LOCAL_MACHINE);
            Objects objects;
            EXPECT_EQ(c.bResult, load.fnLoad(reg, objects, c.pszValue));
            EXPECT_EQ(strUntouched[i], load.fnHeld(objects));
            if (bShape) {
                EXPECT_EQ(CallRecord(std::get<0>(c.record), load.dwShapeType, load.dwShapeSize),
                          RecordOf(reg));
            } else if (std::get<0>(c.record) != ERROR_FILE_NOT_FOUND) {
                EXPECT_EQ(c.record, RecordOf(reg));
            } else {
                EXPECT_EQ(ERROR_FILE_NOT_FOUND, reg.GetLastStatus()); // type and size: Wine's
            }
        }
    }
    EXPECT_TRUE(m_assertions.Assertions().empty());
}

TEST_F(RegistryExArchiveTest, ValueAsLargeAsTheBlockLoadsUnderTheBoundAssertion) {
    std::string strBytes = Bytes("fe 0f") + std::string(4094, '\x07');
    strBytes[2] = 1;
    SetTestValue(m_scratch.Key(), "block", REG_BINARY, strBytes);
    std::string strShape = Bytes("07 00") + std::string(28, '\0');
    strShape[2] = 5;  // element 0
    strShape[6] = 6;  // element 1
    strShape[10] = 7; // element 2
    strShape[14] = 8; // element 3
    SetTestValue(m_scratch.Key(), "shape block", REG_BINARY, strShape);

    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    Objects objects;
    EXPECT_TRUE(reg.ReadByteArray("block", objects.bytes));
    EXPECT_EQ("1 7 7", Numbers(objects.bytes));
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, REG_BINARY, 4096), RecordOf(reg));
    EXPECT_TRUE(reg.ReadRect("shape block", objects.pRect));
    EXPECT_EQ("7 5 8 6", Shape(objects.rc));
    EXPECT_TRUE(reg.ReadPoint("shape block", objects.pPoint));
    EXPECT_EQ("5 6", Shape(objects.pt));

    ASSERT_EQ(3u, m_assertions.Assertions().size());
    for (const Assertion& assertion : m_assertions.Assertions())
        EXPECT_EQ(kSourceFile, assertion.strFile);
    EXPECT_EQ(m_assertions.Assertions()[0].nLine, m_assertions.Assertions()[1].nLine)
        << "one bound assertion serves every load";
}

TEST_F(RegistryExArchiveTest, StoreReachingTheBoundAssertsAndStillWritesTheWholeArchive) {
    const struct {
        int nBytes;
        size_t nAssertions;
    } cases[] = {{4093, 0}, {4094, 1}, {5000, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nBytes);
        CByteArray arr;
        arr.SetSize(c.nBytes);
        arr[c.nBytes - 1] = 0x5a;
        size_t nBefore = m_assertions.Assertions().size();
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        EXPECT_TRUE(reg.WriteByteArray(kValue, arr));
        DWORD dwLength = static_cast<DWORD>(2 + c.nBytes);
        EXPECT_EQ(CallRecord(ERROR_SUCCESS, REG_BINARY, dwLength), RecordOf(reg));
        Value value = QueryValue(m_scratch.Key(), kValue);
        ASSERT_EQ(dwLength, value.strData.size());
        EXPECT_EQ('\x5a', value.strData.back());
        ASSERT_EQ(c.nAssertions, m_assertions.Assertions().size() - nBefore);
        if (c.nAssertions != 0) {
            EXPECT_EQ(kSourceFile, m_assertions.Assertions().back().strFile);
        }
    }
}

TEST_F(RegistryExArchiveTest, ShapesLoadOnlyFromArraysLongEnoughToHoldThem) {
    SetTestValue(m_scratch.Key(), "three", REG_BINARY,
                 Bytes("03 00 01 00 00 00 02 00 00 00 03 00 00 00"));
    SetTestValue(m_scratch.Key(), "one", REG_BINARY, Bytes("01 00 01 00 00 00"));
    SetTestValue(m_scratch.Key(), "two", REG_BINARY, Bytes("02 00 ff ff ff ff 02 00 00 00"));
    CRegistryEx reg(HKEY_LOCAL_MACHINE);
    Objects objects;
    EXPECT_TRUE(reg.ReadRect("three", objects.pRect));
    EXPECT_EQ("111 222 333 444", Shape(objects.rc));
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, 1, 16), RecordOf(reg));
    EXPECT_TRUE(reg.ReadPoint("one", objects.pPoint));
    EXPECT_EQ("555 666", Shape(objects.pt));
    EXPECT_TRUE(reg.ReadPoint("two", objects.pPoint));
    EXPECT_EQ("-1 2", Shape(objects.pt));
    EXPECT_EQ(CallRecord(ERROR_SUCCESS, 2, 8), RecordOf(reg));
}

TEST_F(RegistryExArchiveTest, ValueEndingTooEarlyThrowsToTheCallerAndLeavesNoBlockBehind) {
    const struct {
        std::string strBytes;
        size_t nLoad;
    } cases[] = {
        {Bytes("02 00 01"), 0},             // string list: cut in its first string
        {Bytes("ff ff ff ff ff ff"), 1},    // byte array: a count with no bytes
        {Bytes("02 00 ef"), 2},             // word array: cut in its first element
        {Bytes("02 00 ef be ad"), 3},       // double-word array
        {Bytes("03 00 02 61"), 4},          // string array: count and a cut string
        {Bytes("05 00 01 00 00 00 02"), 5}, // rectangle
        {Bytes("05 00"), 6},                // point
    };
    // The first exception of a thread sets up the runtime's own bookkeeping for good.
    try {
        AfxThrowArchiveException(CArchiveException::generic);
    } catch (CException* e) {
        e->Delete();
    }
    for (const auto& c : cases) {
        const ArchiveLoad& load = kLoads[c.nLoad];
        SCOPED_TRACE(load.pszName);
        SetTestValue(m_scratch.Key(), kValue, REG_BINARY, c.strBytes);
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        CStringList list;
        CByteArray bytes;
        CWordArray words;
        CDWordArray dwords;
        CStringArray strings;
        RECT rc = {1, 2, 3, 4};
        POINT pt = {5, 6};
        RECT* pRect = &rc;
        POINT* pPoint = &pt;
        int nCause = -1;
        size_t nLive = 0;
        {
            HeapWatch heap;
            ASSERT_TRUE(heap.Watching());
            try {
                const std::function<BOOL()> loads[] = {
                    [&] { return reg.ReadStringList(kValue, list); },
                    [&] { return reg.ReadByteArray(kValue, bytes); },
                    [&] { return reg.ReadWordArray(kValue, words); },
                    [&] { return reg.ReadDwordArray(kValue, dwords); },
                    [&] { return reg.ReadStringArray(kValue, strings); },
                    [&] { return reg.ReadRect(kValue, pRect); },
                    [&] { return reg.ReadPoint(kValue, pPoint); },
                };
                loads[c.nLoad]();
            } catch (CException* e) {
                if (e->IsKindOf(RUNTIME_CLASS(CArchiveException)))
                    nCause = static_cast<CArchiveException*>(e)->m_cause;
                e->Delete();
            }
            nLive = heap.Live();
        }
        EXPECT_EQ(CArchiveException::endOfFile, nCause);
        EXPECT_EQ(0u, nLive) << "heap blocks left behind";
        EXPECT_EQ("1 2 3 4", Shape(rc));
        EXPECT_EQ("5 6", Shape(pt));
        EXPECT_EQ(ERROR_SUCCESS, reg.GetLastStatus());
    }
}

TEST_F(RegistryExArchiveTest, WithoutItsWorkBlockAnOperationAssertsAndDoesNothing) {
    SetTestValue(m_scratch.Key(), kValue, REG_BINARY, Bytes("01 00 01 00 00 00"));
    const struct {
        const char* pszName;
        std::function<BOOL(CRegistryEx&, Objects&)> fnCall;
        DWORD dwType;
    } stores[] = {
        {"WriteStringList",
         [](CRegistryEx& r, Objects& o) { return r.WriteStringList("new", o.list); }, REG_BINARY},
        {"WriteByteArray",
         [](CRegistryEx& r, Objects& o) { return r.WriteByteArray("new", o.bytes); }, REG_BINARY},
        {"WriteWordArray",
         [](CRegistryEx& r, Objects& o) { return r.WriteWordArray("new", o.words); }, REG_BINARY},
        {"WriteDwordArray",
         [](CRegistryEx& r, Objects& o) { return r.WriteDwordArray("new", o.dwords); }, REG_BINARY},
        {"WriteStringArray",
         [](CRegistryEx& r, Objects& o) { return r.WriteStringArray("new", o.strings); },
         REG_BINARY},
        {"WriteRect", [](CRegistryEx& r, Objects& o) { return r.WriteRect("new", o.pRect); }, 1},
        {"WritePoint", [](CRegistryEx& r, Objects& o) { return r.WritePoint("new", o.pPoint); }, 2},
    };
    ImportPatch noBlock("msvcrt.dll", "calloc", reinterpret_cast<void*>(&NoBlock));
    ASSERT_TRUE(noBlock.Patched());
    for (const auto& store : stores) {
        SCOPED_TRACE(store.pszName);
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        Objects objects;
        size_t nBefore = m_assertions.Assertions().size();
        EXPECT_FALSE(store.fnCall(reg, objects));
        EXPECT_EQ(CallRecord(ERROR_NOT_ENOUGH_MEMORY, store.dwType, 0), RecordOf(reg));
        EXPECT_EQ(ERROR_FILE_NOT_FOUND, QueryValue(m_scratch.Key(), "new").lStatus);
        EXPECT_EQ(nBefore + 1, m_assertions.Assertions().size());
    }
    const Objects untouched;
    for (const ArchiveLoad& load : kLoads) {
        SCOPED_TRACE(load.pszName);
        CRegistryEx reg(HKEY_LOCAL_MACHINE);
        Objects objects;
        size_t nBefore = m_assertions.Assertions().size();
        EXPECT_FALSE(load.fnLoad(reg, objects, kValue));
        EXPECT_EQ(load.fnHeld(untouched), load.fnHeld(objects));
        EXPECT_EQ(CallRecord(ERROR_NOT_ENOUGH_MEMORY, load.dwShapeType, load.dwShapeSize),
                  RecordOf(reg));
        EXPECT_EQ(nBefore + 1, m_assertions.Assertions().size());
    }
    for (const Assertion& assertion : m_assertions.Assertions())
        EXPECT_EQ(kSourceFile, assertion.strFile);
}
