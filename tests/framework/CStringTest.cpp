#include "Afx.h"
#include "AssertionRecorder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {
class FrameworkTest : public ::testing::Test {
protected:
    test_support::AssertionRecorder m_assertions;
};
} // namespace

TEST_F(FrameworkTest, ReleaseBufferStopsAtEndOfUnterminatedBuffer) {
    CString str("old");
    LPTSTR lpsz = str.GetBuffer(8);
    std::memset(lpsz, 'x', 8); // filled to the last character, no terminator
    str.ReleaseBuffer(-1);
    EXPECT_EQ(8, str.GetLength());
    EXPECT_STREQ("xxxxxxxx", str);
}

TEST_F(FrameworkTest, ReleaseBufferTakesTextUpToFirstZero) {
    CString str;
    std::strcpy(str.GetBuffer(260), "C:\\Drivers\\Setup.exe");
    str.ReleaseBuffer();
    EXPECT_STREQ("C:\\Drivers\\Setup.exe", str);
    EXPECT_EQ(20, str.GetLength());
}

TEST_F(FrameworkTest, GetBufferSmallerThanTextKeepsText) {
    CString str("keep this");
    EXPECT_STREQ("keep this", str.GetBuffer(2));
    str.ReleaseBuffer(4);
    EXPECT_STREQ("keep", str);
}

TEST_F(FrameworkTest, LeftOfReverseFindCutsAfterLastBackslash) {
    struct Case {
        const char* pszPath;
        int nLastBackslash;
        const char* pszDirectory;
    } cases[] = {{"C:\\Drivers\\Net\\Setup.exe", 14, "C:\\Drivers\\Net\\"},
                 {"D:\\Setup.exe", 2, "D:\\"},
                 {"Setup.exe", -1, ""},
                 {"", -1, ""}};
    for (const Case& c : cases) {
        CString str(c.pszPath);
        EXPECT_EQ(c.nLastBackslash, str.ReverseFind('\\')) << c.pszPath;
        EXPECT_STREQ(c.pszDirectory, str.Left(str.ReverseFind('\\') + 1)) << c.pszPath;
    }
}

TEST_F(FrameworkTest, LeftClampsCountToText) {
    CString str("abc");
    EXPECT_STREQ("", str.Left(-5));
    EXPECT_STREQ("abc", str.Left(10));
}

TEST_F(FrameworkTest, LengthConstructorKeepsEveryCharacterZerosIncluded) {
    EXPECT_STREQ("ab", CString("abcdef", 2));
    CString strWithZero("ab\0cd", 5);
    EXPECT_EQ(5, strWithZero.GetLength());
    EXPECT_EQ(std::string("ab\0cd", 5), std::string(strWithZero, strWithZero.GetLength()));
    EXPECT_STREQ("ab", strWithZero); // the text seen through the pointer ends at the zero
    EXPECT_EQ(0, CString("x", 0).GetLength());
}

TEST_F(FrameworkTest, AppendAndCaseConversion) {
    CString str("Key\\");
    str += CString("Sub\\");
    str += "Name";
    EXPECT_STREQ("Key\\Sub\\Name", str);
    str.MakeUpper();
    EXPECT_TRUE(str == "KEY\\SUB\\NAME");
    str.MakeLower();
    EXPECT_TRUE(str != "KEY\\SUB\\NAME");
    EXPECT_STREQ("key\\sub\\name", str);
}

TEST_F(FrameworkTest, NullTextAssignsEmpty) {
    CString str("x");
    str = static_cast<LPCSTR>(NULL);
    EXPECT_TRUE(str.IsEmpty());
}

#ifdef _DEBUG
TEST_F(FrameworkTest, NegativeBufferLengthAssertsWithFileAndLine) {
    CString str("ab");
    str.GetBuffer(-1); // the hook lets the call go on; the text stays
    str.ReleaseBuffer();
    ASSERT_EQ(1u, m_assertions.Assertions().size());
    EXPECT_EQ("framework/CString.cpp", m_assertions.Assertions()[0].strFile);
    EXPECT_GT(m_assertions.Assertions()[0].nLine, 0);
    EXPECT_STREQ("ab", str);
}
#endif

TEST_F(FrameworkTest, StringArrayKeepsOrderAndResizes) {
    CStringArray arr;
    EXPECT_EQ(0, arr.Add("first"));
    EXPECT_EQ(1, arr.Add("second"));
    arr.SetSize(3);
    ASSERT_EQ(3, arr.GetSize());
    EXPECT_STREQ("first", arr.GetAt(0));
    EXPECT_STREQ("second", arr[1]);
    EXPECT_TRUE(arr[2].IsEmpty());
    arr[2] = "third";
    EXPECT_STREQ("third", arr.GetAt(2));
    arr.SetSize(1);
    EXPECT_EQ(1, arr.GetSize());
    arr.RemoveAll();
    EXPECT_EQ(0, arr.GetSize());
}

TEST_F(FrameworkTest, ConcatenationJoinsStringsTextsAndCharacters) {
    CString strPath("root");
    CString strName("child");
    EXPECT_STREQ("root\\child", strPath + '\\' + strName);
    EXPECT_STREQ("rootchild", strPath + strName);
    EXPECT_STREQ("root\\x", strPath + "\\x");
    EXPECT_STREQ("x\\root", "x\\" + strPath);
    EXPECT_STREQ("\\root", '\\' + strPath);
    EXPECT_STREQ("root", strPath); // the operands stay as they were
    EXPECT_TRUE(m_assertions.Assertions().empty());
}

TEST_F(FrameworkTest, MakeUpperAndMakeLowerFoldAsciiLetters) {
    CString str("Mixed Case 1\\z");
    str.MakeUpper();
    EXPECT_STREQ("MIXED CASE 1\\Z", str);
    str.MakeLower();
    EXPECT_STREQ("mixed case 1\\z", str);
}

#ifdef _WIN32
TEST_F(FrameworkTest, CaseFoldingKeepsDoubleByteCharactersOfTheAnsiCodePageWhole) {
    ASSERT_EQ(949u, GetACP()) << "the test runs with LANG=ko_KR.UTF-8 (locale ko_KR.UTF-8)";
    // Each is one character of code page 949 whose second byte looks like a letter.
    const std::string strLowerLooking = "\x81\x61", strUpperLooking = "\x81\x41";
    CString str((strLowerLooking + "a").c_str());
    str.MakeUpper();
    EXPECT_EQ(strLowerLooking + "A", std::string(str));
    str = (strUpperLooking + "A").c_str();
    str.MakeLower();
    EXPECT_EQ(strUpperLooking + "a", std::string(str));
}
#endif
