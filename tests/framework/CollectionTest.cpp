// The framework's arrays and string list: their members, how a list load extends what the list
// held, what an array load allocates, running out of memory, and the limits of indexes and sizes.
#include "Afx.h"
#include "Allocations.h"
#include "AssertionRecorder.h"
#include "ArchiveBytes.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

using namespace test_support;

namespace {

template <class TArray, class TElement> void ExpectArrayMembers(TElement a, TElement b) {
    TArray arr;
    EXPECT_EQ(-1, arr.GetUpperBound());
    EXPECT_EQ(0, arr.Add(a));
    EXPECT_EQ(1, arr.Add(b));
    arr.SetSize(4, 2);
    ASSERT_EQ(4, arr.GetSize());
    EXPECT_EQ(3, arr.GetUpperBound());
    EXPECT_TRUE(arr.GetAt(0) == a);
    EXPECT_TRUE(arr[1] == b);
    EXPECT_TRUE(arr[2] == TElement()) << "new elements are zero";
    EXPECT_TRUE(arr[3] == TElement());
    arr.SetAt(3, a);
    arr.ElementAt(2) = b;
    arr[0] = b;
    EXPECT_TRUE(arr.GetAt(3) == a);
    EXPECT_TRUE(arr.GetAt(2) == b);
    EXPECT_TRUE(arr.GetAt(0) == b);
    arr.SetSize(1, -1);
    arr.SetSize(3);
    EXPECT_TRUE(arr[1] == TElement()) << "a dropped element comes back as zero";
    arr.RemoveAll();
    EXPECT_EQ(0, arr.GetSize());
}

std::vector<int> Elements(const CByteArray& arr) {
    std::vector<int> values;
    for (int i = 0; i < arr.GetSize(); i++)
        values.push_back(arr[i]);
    return values;
}

std::vector<std::string> Elements(const CStringArray& arr) {
    std::vector<std::string> strings;
    for (int i = 0; i < arr.GetSize(); i++)
        strings.push_back(std::string(arr[i]));
    return strings;
}

std::vector<std::string> Walk(const CStringList& list) {
    std::vector<std::string> strings;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;)
        strings.push_back(std::string(list.GetNext(pos)));
    return strings;
}

} // namespace

TEST(CollectionTest, ArraysGrowWithZerosShrinkAndWriteThroughEveryAccessor) {
    ExpectArrayMembers<CByteArray, BYTE>(0xA5, 7);
    ExpectArrayMembers<CWordArray, WORD>(0xBEEF, 1);
    ExpectArrayMembers<CDWordArray, DWORD>(0xDEADBEEF, 2);
    ExpectArrayMembers<CStringArray, CString>("first", "second");
}

TEST(CollectionTest, StringListKeepsOrderFromBothEnds) {
    CStringList list;
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    POSITION posB = list.AddTail("b");
    list.AddHead("a");
    POSITION posC = list.AddTail("c");
    EXPECT_EQ(3, list.GetCount());
    EXPECT_FALSE(list.IsEmpty());
    EXPECT_STREQ("a", list.GetHead());
    EXPECT_STREQ("c", list.GetTail());
    EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), Walk(list));
    EXPECT_STREQ("b", list.GetNext(posB));
    EXPECT_EQ(posC, posB);
    list.GetNext(posC);
    EXPECT_EQ(nullptr, posC);
    list.GetHead() = "A";
    EXPECT_STREQ("A", list.GetHead());
    list.RemoveAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.GetHeadPosition());
    list.AddHead("again");
    EXPECT_STREQ("again", list.GetTail());
}

TEST(CollectionTest, StringListLoadAppendsTheStoredStrings) {
    CStringList list;
    list.AddTail("kept");
    ASSERT_EQ(kLoaded, Load(list, Bytes("02 00 01 78 01 79")));
    EXPECT_EQ((std::vector<std::string>{"kept", "x", "y"}), Walk(list));
}

TEST(CollectionTest, OperationsTakingAnElementMayBeGivenOneOfTheArraysOwn) {
    // Texts short enough to live inside the array's elements, so that they move with them: the
    // array is full, and each operation but SetAt must move it to grow.
    const struct {
        const char* pszName;
        std::function<void(CStringArray&)> fnOperate;
        std::vector<std::string> strExpected;
    } cases[] = {
        {"Add", [](CStringArray& arr) { arr.Add(arr[0]); }, {"a", "b", "c", "d", "a"}},
        {"SetAtGrow",
         [](CStringArray& arr) { arr.SetAtGrow(5, arr[1]); },
         {"a", "b", "c", "d", "", "b"}},
        {"SetAtGrow within",
         [](CStringArray& arr) { arr.SetAtGrow(0, arr[3]); },
         {"d", "b", "c", "d"}},
        {"InsertAt",
         [](CStringArray& arr) { arr.InsertAt(1, arr[3], 2); },
         {"a", "d", "d", "b", "c", "d"}},
        {"InsertAt beyond the end",
         [](CStringArray& arr) { arr.InsertAt(5, arr[2]); },
         {"a", "b", "c", "d", "", "c"}},
        {"SetAt", [](CStringArray& arr) { arr.SetAt(1, arr[1]); }, {"a", "b", "c", "d"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CStringArray arr;
        arr.SetSize(4);
        for (int i = 0; i < 4; i++)
            arr[i] = std::string(1, static_cast<char>('a' + i)).c_str();
        c.fnOperate(arr);
        EXPECT_EQ(c.strExpected, Elements(arr));
    }
}

TEST(CollectionTest, StringsWithZeroCharactersGoIntoEveryCollectionWhole) {
    const CString strZero("a\0b", 3);
    CStringArray arr;
    arr.Add(strZero);
    arr.SetAt(arr.Add(""), strZero);
    arr.SetAtGrow(2, strZero);
    arr.InsertAt(0, strZero);
    CStringList list;
    list.AddTail(strZero);
    list.AddHead(strZero);
    list.SetAt(list.AddTail(""), strZero);
    EXPECT_EQ("04 00 03 61 00 62 03 61 00 62 03 61 00 62 03 61 00 62", Hex(Store(arr)));
    EXPECT_EQ("03 00 03 61 00 62 03 61 00 62 03 61 00 62", Hex(Store(list)));
}

TEST(CollectionTest, GrowByZeroLetsTheArrayChooseItsStepsAgain) {
    for (int nThenGrowBy : {-1, 0}) { // after a grow-by of 1: -1 keeps it
        CByteArray arr;
        arr.SetSize(0, 1);
        arr.SetSize(0, nThenGrowBy);
        Allocations allocations;
        for (int i = 0; i < 64; i++)
            arr.Add(static_cast<BYTE>(i));
        EXPECT_EQ(nThenGrowBy == -1, allocations.Count() == 64) << nThenGrowBy;
    }
}

TEST(CollectionTest, AnArrayLoadMakesRoomForItsElementsOnce) {
    std::string strBytes = Bytes("ff ff a0 86 01 00") + std::string(100000, 'x');
    CMemFile file(reinterpret_cast<BYTE*>(&strBytes[0]), static_cast<UINT>(strBytes.size()));
    CArchive ar(&file, CArchive::load);
    CByteArray bytes;
    Allocations allocations;
    bytes.Serialize(ar);
    EXPECT_EQ(100000, bytes.GetSize());
    EXPECT_EQ(1, allocations.Count());
}

TEST(CollectionTest, AHugeCountTakesMemoryForTheElementsThatAreThere) {
    // 0xFFFFFFFF strings, then one of 1 MiB: a CString for each byte left would be 32 MiB.
    std::string strBytes =
        Bytes("ff ff ff ff ff ff ff ff ff 00 00 10 00") + std::string(0x100000, 'x');
    CStringArray arr;
    Allocations allocations; // the bytes' copy that Load reads from, the string, the array
    EXPECT_EQ(CArchiveException::endOfFile, Load(arr, strBytes));
    EXPECT_EQ(1, arr.GetSize());
    EXPECT_LE(allocations.Total(), 4 * strBytes.size());
}

TEST(CollectionTest, MemoryThatCannotBeHadThrowsTheFrameworksMemoryException) {
    const char* pszLong = "a text too long to live inside the string object";
    CString strLong(pszLong);
    CStringArray strings;
    CByteArray bytes;
    CDWordArray dwords;
    CStringList list;
    std::string strStored = Bytes("01 00 30") + std::string(0x30, 'x');
    CMemFile file(reinterpret_cast<BYTE*>(&strStored[0]), static_cast<UINT>(strStored.size()));
    CArchive ar(&file, CArchive::load);
    const struct {
        const char* pszName;
        std::function<void()> fnAllocate;
    } cases[] = {
        {"string from a text", [&] { CString str(pszLong); }},
        {"string copied", [&] { CString str(strLong); }},
        {"string appended to", [&] { strLong += strLong; }},
        {"string buffer", [&] { strLong.GetBuffer(1000); }},
        {"array grown", [&] { bytes.SetSize(100); }},
        // Beyond what 32-bit Windows' runtime sizes an array to (max_size), below INT_MAX.
        {"string array grown past its limit", [&] { strings.SetSize(89478486); }},
        {"number array grown past its limit", [&] { dwords.SetSize(536870912); }},
        {"string buffer of INT_MAX", [&] { strLong.GetBuffer(INT_MAX); }},
        {"string array added to", [&] { strings.Add("x"); }},
        {"list added to", [&] { list.AddTail("x"); }},
        {"string loaded", [&] { list.Serialize(ar); }},
        {"archive's buffer",
         [&] {
             CMemFile file;
             CArchive ar(&file, CArchive::store);
         }},
        {"archive exception", [] { AfxThrowArchiveException(CArchiveException::endOfFile); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CException* pCaught = NULL;
        try {
            Allocations failing(true);
            c.fnAllocate();
        } catch (CException* e) {
            pCaught = e;
            e->Delete();
        }
        EXPECT_TRUE(pCaught != NULL && pCaught->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    }
    CObject* pMade;
    {
        Allocations failing(true);
        pMade = RUNTIME_CLASS(CByteArray)->CreateObject();
    }
    EXPECT_EQ(nullptr, pMade); // as for a class that makes no objects
}

TEST(CollectionTest, IndexesCountsAndSizesPastTheLimitsThrowAndChangeNothing) {
    AssertionRecorder assertions; // the debug build asserts first, then throws as the release does
    CByteArray bytes;
    CStringArray strings;
    struct Case {
        const char* pszName;
        std::function<void()> fnCall;
        const CRuntimeClass* pThrown;
    };
    const CRuntimeClass* pInvalid = RUNTIME_CLASS(CInvalidArgException);
    const CRuntimeClass* pMemory = RUNTIME_CLASS(CMemoryException);
    std::vector<Case> cases = {
        {"size below 0", [&] { bytes.SetSize(-1); }, pInvalid},
        {"grown to an index below 0", [&] { bytes.SetAtGrow(-1, 9); }, pInvalid},
        {"grown to index INT_MAX", [&] { bytes.SetAtGrow(INT_MAX, 9); }, pMemory},
        {"strings grown to index INT_MAX", [&] { strings.SetAtGrow(INT_MAX, "z"); }, pMemory},
        {"inserted at an index below 0", [&] { bytes.InsertAt(-1, 9); }, pInvalid},
        {"inserted 0 times", [&] { bytes.InsertAt(0, 9, 0); }, pInvalid},
        {"inserted a count below 0", [&] { strings.InsertAt(0, "z", -1); }, pInvalid},
        {"inserted at index INT_MAX", [&] { bytes.InsertAt(INT_MAX, 9); }, pMemory},
        {"inserted INT_MAX times", [&] { bytes.InsertAt(1, 9, INT_MAX); }, pMemory},
        {"read below 0", [&] { bytes.GetAt(-1); }, pInvalid},
        {"written at the size", [&] { bytes.SetAt(2, 9); }, pInvalid},
        {"strings written at the size", [&] { strings[2] = "z"; }, pInvalid},
    };
    // Only a 64-bit program has the room for a string that INT_MAX could not count: made once,
    // of 1 GiB, it throws before taking memory for twice that.
    if (sizeof(void*) == 8)
        cases.push_back({"string appended past INT_MAX",
                         [] {
                             CString str;
                             str.GetBuffer(1 << 30);
                             str += str;
                         },
                         pMemory});
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszName);
        bytes.RemoveAll();
        bytes.Add(1);
        bytes.Add(2);
        strings.RemoveAll();
        strings.Add("a");
        strings.Add("b");
        const CRuntimeClass* pCaught = NULL;
        try {
            c.fnCall();
        } catch (CException* e) {
            pCaught = e->GetRuntimeClass();
            e->Delete();
        }
        EXPECT_STREQ(c.pThrown->m_lpszClassName, pCaught != NULL ? pCaught->m_lpszClassName : "");
        EXPECT_EQ(std::vector<int>({1, 2}), Elements(bytes));
        EXPECT_EQ(std::vector<std::string>({"a", "b"}), Elements(strings));
    }
}
