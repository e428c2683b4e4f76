// The framework's arrays and string list: their members, and how a list load extends what the
// list held.
#include "Afx.h"
#include "ArchiveBytes.h"

#include <gtest/gtest.h>

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
