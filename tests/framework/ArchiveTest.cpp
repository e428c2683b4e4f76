// The framework's runtime classes, exceptions, memory file and archive, and the byte format of
// the serialisable collections: what the framework writes, that it loads it back, and that
// malformed data ends a load with an archive exception and nothing read beyond the data.
#include "Afx.h"
#include "ArchiveBytes.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace test_support;

namespace {

class CPlainObject : public CObject {};

// A string of |nLength| letters.
std::string Letters(size_t nLength) {
    std::string str(nLength, 'a');
    for (size_t i = 0; i < nLength; i++)
        str[i] = static_cast<char>('a' + i % 26);
    return str;
}

template <class TArray, class TElement>
std::unique_ptr<CObject> ArrayOf(std::initializer_list<TElement> elements) {
    auto pArray = std::make_unique<TArray>();
    for (const TElement& element : elements)
        pArray->Add(element);
    return pArray;
}

std::unique_ptr<CObject> ListOf(std::initializer_list<const char*> strings) {
    auto pList = std::make_unique<CStringList>();
    for (const char* psz : strings)
        pList->AddTail(psz);
    return pList;
}

std::unique_ptr<CObject> ByteArrayOfSize(int nSize) {
    auto pArray = std::make_unique<CByteArray>();
    pArray->SetSize(nSize);
    for (int i = 0; i < nSize; i++)
        pArray->SetAt(i, static_cast<BYTE>(i * 7));
    return pArray;
}

std::unique_ptr<CObject> StringOfLength(size_t nLength) {
    auto pArray = std::make_unique<CStringArray>();
    pArray->Add(Letters(nLength).c_str());
    return pArray;
}

std::vector<std::string> Strings(const CStringArray& arr) {
    std::vector<std::string> strings;
    for (int i = 0; i < arr.GetSize(); i++)
        strings.push_back(std::string(arr[i]));
    return strings;
}

CException* CaughtMemoryException() {
    try {
        AfxThrowMemoryException();
    } catch (CException* e) {
        e->Delete();
        return e;
    }
    return NULL;
}

} // namespace

TEST(RuntimeClassTest, ClassesKnowTheirNameBasesAndWhetherTheySerialise) {
    CDWordArray dwords;
    CStringList list;
    CMemFile file;
    CArchiveException exception;
    CPlainObject plain;
    const struct {
        const CObject* pObject;
        const char* pszName;
        int nSize;
        const CRuntimeClass* pKind; // a base class, besides CObject
        const CRuntimeClass* pNotKind;
        BOOL bSerializable;
    } cases[] = {
        {&dwords, "CDWordArray", sizeof dwords, NULL, RUNTIME_CLASS(CByteArray), TRUE},
        {&list, "CStringList", sizeof list, NULL, RUNTIME_CLASS(CStringArray), TRUE},
        {&file, "CMemFile", sizeof file, RUNTIME_CLASS(CFile), RUNTIME_CLASS(CException), FALSE},
        {&exception, "CArchiveException", sizeof exception, RUNTIME_CLASS(CException),
         RUNTIME_CLASS(CMemoryException), FALSE},
        {&plain, "CObject", sizeof(CObject), NULL, RUNTIME_CLASS(CException), FALSE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        const CRuntimeClass* pClass = c.pObject->GetRuntimeClass();
        EXPECT_STREQ(c.pszName, pClass->m_lpszClassName);
        EXPECT_EQ(c.nSize, pClass->m_nObjectSize);
        EXPECT_TRUE(c.pObject->IsKindOf(pClass));
        EXPECT_TRUE(c.pObject->IsKindOf(RUNTIME_CLASS(CObject)));
        EXPECT_TRUE(c.pKind == NULL || c.pObject->IsKindOf(c.pKind));
        EXPECT_FALSE(c.pObject->IsKindOf(c.pNotKind));
        EXPECT_EQ(c.bSerializable, c.pObject->IsSerializable());
    }
}

TEST(RuntimeClassTest, SerialClassesMakeTheirObjectsAndOthersDoNot) {
    for (const CRuntimeClass* pClass : {RUNTIME_CLASS(CByteArray), RUNTIME_CLASS(CStringList)}) {
        std::unique_ptr<CObject> pObject(pClass->CreateObject());
        ASSERT_NE(nullptr, pObject) << pClass->m_lpszClassName;
        EXPECT_EQ(pClass, pObject->GetRuntimeClass());
    }
    for (const CRuntimeClass* pClass : {RUNTIME_CLASS(CObject), RUNTIME_CLASS(CMemFile)})
        EXPECT_EQ(nullptr, pClass->CreateObject()) << pClass->m_lpszClassName;
}

TEST(ExceptionTest, ThrownAsPointersCaughtAsTheBaseAndDeletedByTheCatcher) {
    const struct {
        const char* pszName;
        std::function<void()> fnThrow;
        const CRuntimeClass* pClass;
        int nCause;
    } cases[] = {
        {"archive", [] { AfxThrowArchiveException(CArchiveException::badIndex, "name"); },
         RUNTIME_CLASS(CArchiveException), CArchiveException::badIndex},
        {"file", [] { AfxThrowFileException(CFileException::badSeek, 5); },
         RUNTIME_CLASS(CFileException), CFileException::badSeek},
        {"memory", [] { AfxThrowMemoryException(); }, RUNTIME_CLASS(CMemoryException), -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CException* pCaught = NULL;
        try {
            c.fnThrow();
        } catch (CException* e) {
            pCaught = e;
        }
        ASSERT_NE(nullptr, pCaught);
        EXPECT_TRUE(pCaught->IsKindOf(c.pClass));
        if (auto* pArchive = dynamic_cast<CArchiveException*>(pCaught)) {
            EXPECT_EQ(c.nCause, pArchive->m_cause);
            EXPECT_STREQ("name", pArchive->m_strFileName);
        }
        if (auto* pFile = dynamic_cast<CFileException*>(pCaught)) {
            EXPECT_EQ(c.nCause, pFile->m_cause);
            EXPECT_EQ(5, pFile->m_lOsError);
        }
        pCaught->Delete(); // the sanitizers report a leak or a bad free
    }
    // Memory may have run out: that exception is made once, and Delete leaves it alone.
    EXPECT_EQ(CaughtMemoryException(), CaughtMemoryException());
}

TEST(MemFileTest, GrowsTheCallersBlockAndDetachHandsItBack) {
    BYTE* lpBlock = static_cast<BYTE*>(std::calloc(4, 1));
    CMemFile file(lpBlock, 4, 16);
    EXPECT_EQ(0u, file.GetLength());
    const std::string strData = Letters(45);
    file.Write(strData.data(), 5);
    file.Write(strData.data() + 5, 40);
    EXPECT_EQ(45u, file.GetLength());
    EXPECT_EQ(45u, file.GetPosition());
    BYTE* lpDetached = file.Detach();
    EXPECT_EQ(0u, file.GetLength());
    EXPECT_EQ(strData, std::string(reinterpret_cast<char*>(lpDetached), 45));
    std::free(lpDetached); // the file must not free it as well
}

TEST(MemFileTest, ReadsAndSeeksWithinItsBytesAndDoesNotGrowWithoutAStep) {
    std::string strData = "0123456789";
    CMemFile file(reinterpret_cast<BYTE*>(&strData[0]), 10);
    char achRead[16] = {};
    EXPECT_EQ(4u, file.Read(achRead, 4));
    EXPECT_EQ(2, file.Seek(-2, CFile::current));
    EXPECT_EQ(7, file.Seek(-3, CFile::end));
    std::memset(achRead, 0, sizeof achRead);
    EXPECT_EQ(3u, file.Read(achRead, sizeof achRead));
    EXPECT_STREQ("789", achRead);
    EXPECT_EQ(0u, file.Read(achRead, sizeof achRead));

    int nCause = -1;
    try {
        file.Seek(-11, CFile::end);
    } catch (CFileException* e) {
        nCause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CFileException::badSeek, nCause);
    EXPECT_EQ(10u, file.GetPosition());

    file.SeekToBegin();
    file.Write("ab", 2);
    EXPECT_EQ("ab23456789", strData);
    bool bThrew = false;
    try {
        file.Write("too far", 9);
    } catch (CMemoryException* e) {
        bThrew = true;
        e->Delete();
    }
    EXPECT_TRUE(bThrew);
    EXPECT_EQ(10u, file.GetLength());
}

TEST(ArchiveTest, ModeDecidesWhatItMayDo) {
    CMemFile file;
    int nCause = -1;
    {
        CArchive ar(&file, CArchive::store);
        EXPECT_TRUE(ar.IsStoring());
        EXPECT_FALSE(ar.IsLoading());
        EXPECT_EQ(nullptr, ar.m_pDocument);
        EXPECT_EQ(&file, ar.GetFile());
        BYTE by;
        try {
            ar >> by;
        } catch (CArchiveException* e) {
            nCause = e->m_cause;
            e->Delete();
        }
        EXPECT_EQ(CArchiveException::writeOnly, nCause);
    }
    CArchive ar(&file, CArchive::load);
    EXPECT_TRUE(ar.IsLoading());
    try {
        ar << static_cast<BYTE>(1);
    } catch (CArchiveException* e) {
        nCause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(CArchiveException::readOnly, nCause);
}

TEST(ArchiveTest, AStoringArchiveReachesItsFileOnCloseOrDestructionUnlessToldNotTo) {
    const struct {
        UINT nMode;
        bool bClose;
        DWORD dwLength;
    } cases[] = {
        {CArchive::store, true, 6},
        {CArchive::store, false, 6},
        {CArchive::store | CArchive::bNoFlushOnDelete, false, 0},
    };
    for (const auto& c : cases) {
        CMemFile file;
        {
            CArchive ar(&file, c.nMode);
            ar << static_cast<WORD>(0x0102) << static_cast<LONG>(-2);
            EXPECT_EQ(0u, file.GetLength()); // still in the archive's buffer
            if (c.bClose)
                ar.Close();
        }
        EXPECT_EQ(c.dwLength, file.GetLength()) << c.nMode << " " << c.bClose;
    }
}

TEST(ArchiveFormatTest, CollectionsStoreTheFrameworksBytesAndLoadThemBack) {
    const struct {
        const char* pszName;
        std::function<std::unique_ptr<CObject>()> fnMake;
        std::string strHead; // the first bytes stored
        size_t nLength;      // all bytes stored
    } cases[] = {
        {"string array",
         [] {
             return ArrayOf<CStringArray, const char*>({"ab", "", "xyz"});
         },
         Bytes("03 00 02 61 62 00 03 78 79 7a"), 10},
        {"string list",
         [] {
             return ListOf({"ab", "", "xyz"});
         },
         Bytes("03 00 02 61 62 00 03 78 79 7a"), 10},
        {"rectangle",
         [] {
             return ArrayOf<CDWordArray, DWORD>({~19u, 40, ~9u, 30, 0});
         },
         Bytes("05 00 ec ff ff ff 28 00 00 00 f6 ff ff ff 1e 00 00 00 00 00 00 00"), 22},
        {"words",
         [] {
             return ArrayOf<CWordArray, WORD>({1, 0xBEEF});
         },
         Bytes("02 00 01 00 ef be"), 6},
        {"empty bytes", [] { return ArrayOf<CByteArray, BYTE>({}); }, Bytes("00 00"), 2},
        {"empty list", [] { return ListOf({}); }, Bytes("00 00"), 2},
        {"0xFFFE bytes", [] { return ByteArrayOfSize(0xFFFE); }, Bytes("fe ff 00 07 0e"),
         2 + 0xFFFE},
        {"0xFFFF bytes", [] { return ByteArrayOfSize(0xFFFF); },
         Bytes("ff ff ff ff 00 00 00 07 0e"), 6 + 0xFFFF},
        {"string of 254", [] { return StringOfLength(254); }, Bytes("01 00 fe 61 62"), 3 + 254},
        {"string of 255", [] { return StringOfLength(255); }, Bytes("01 00 ff ff 00 61"), 5 + 255},
        {"string of 0xFFFD", [] { return StringOfLength(0xFFFD); }, Bytes("01 00 ff fd ff 61"),
         5 + 0xFFFD},
        {"string of 0xFFFE", [] { return StringOfLength(0xFFFE); },
         Bytes("01 00 ff ff ff fe ff 00 00 61"), 9 + 0xFFFE},
    };
    for (const auto& c : cases) {
        for (int nBufSize : {1, 3, 4096}) {
            SCOPED_TRACE(std::string(c.pszName) + ", buffer " + std::to_string(nBufSize));
            std::unique_ptr<CObject> pStored = c.fnMake();
            std::string strStored = Store(*pStored, nBufSize);
            EXPECT_EQ(c.nLength, strStored.size());
            EXPECT_EQ(Hex(c.strHead), Hex(strStored.substr(0, c.strHead.size())));

            std::unique_ptr<CObject> pLoaded(pStored->GetRuntimeClass()->CreateObject());
            ASSERT_EQ(kLoaded, Load(*pLoaded, strStored, nBufSize));
            EXPECT_TRUE(Store(*pLoaded) == strStored) << "loaded differs";
        }
    }
}

TEST(ArchiveFormatTest, StringsLoadFromEveryLengthFormIncludingWideOnes) {
    std::string strWide256 = Bytes("01 00 ff fe ff ff 00 01");
    for (int i = 0; i < 256; i++)
        strWide256 += Bytes("41 00");
    const struct {
        const char* pszName;
        std::string strBytes;
        std::string strText;
    } cases[] = {
        {"wide", Bytes("01 00 ff fe ff 03 61 00 62 00 63 00"), "abc"},
        {"wide, 16-bit length", strWide256, std::string(256, 'A')},
        {"wide, 32-bit length", Bytes("01 00 ff fe ff ff ff ff 01 00 00 00 7a 00"), "z"},
        {"wide, outside the code page", Bytes("01 00 ff fe ff 02 16 04 61 00"), "?a"},
        {"wide, zero character", Bytes("01 00 ff fe ff 02 62 00 00 00"), "b"},
        {"8-bit, zero character", Bytes("01 00 03 61 00 62"), "a"},
        {"8-bit, 32-bit length though short", Bytes("01 00 ff ff ff 02 00 00 00 61 62"), "ab"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CStringArray arr;
        ASSERT_EQ(kLoaded, Load(arr, c.strBytes));
        EXPECT_EQ(std::vector<std::string>{c.strText}, Strings(arr));
    }
}

TEST(ArchiveFormatTest, DataCutShortAtEveryByteEndsTheLoadWithEndOfFile) {
    const struct {
        const char* pszName;
        const CRuntimeClass* pClass;
        std::string strBytes;
    } cases[] = {
        {"string array", RUNTIME_CLASS(CStringArray), Bytes("03 00 02 61 62 00 03 78 79 7a")},
        {"string list", RUNTIME_CLASS(CStringList), Bytes("03 00 02 61 62 00 03 78 79 7a")},
        {"dwords", RUNTIME_CLASS(CDWordArray), Bytes("02 00 ec ff ff ff 28 00 00 00")},
        {"words", RUNTIME_CLASS(CWordArray), Bytes("02 00 01 00 ef be")},
        {"bytes, 32-bit count", RUNTIME_CLASS(CByteArray), Bytes("ff ff 02 00 00 00 07 08")},
        {"string, 16-bit length", RUNTIME_CLASS(CStringArray), Bytes("01 00 ff 02 00 61 62")},
        {"string, 32-bit length", RUNTIME_CLASS(CStringArray),
         Bytes("01 00 ff ff ff 02 00 00 00 61 62")},
        {"wide string", RUNTIME_CLASS(CStringList), Bytes("01 00 ff fe ff 01 61 00")},
        {"wide, 16-bit length", RUNTIME_CLASS(CStringList), Bytes("01 00 ff fe ff ff 01 00 61 00")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        std::unique_ptr<CObject> pWhole(c.pClass->CreateObject());
        EXPECT_EQ(kLoaded, Load(*pWhole, c.strBytes));
        for (size_t nCut = 0; nCut < c.strBytes.size(); nCut++) {
            for (int nBufSize : {1, 4096}) {
                std::unique_ptr<CObject> pObject(c.pClass->CreateObject());
                EXPECT_EQ(CArchiveException::endOfFile,
                          Load(*pObject, c.strBytes.substr(0, nCut), nBufSize))
                    << "cut at " << nCut;
            }
        }
    }
}

TEST(ArchiveFormatTest, ASecondWideMarkerIsNotInTheFormat) {
    CStringArray arr;
    EXPECT_EQ(CArchiveException::badIndex, Load(arr, Bytes("01 00 ff fe ff ff fe ff 01 61 00")));
}

TEST(ArchiveFormatTest, CountsFarLargerThanTheDataTakeNoMoreRoomThanTheDataHolds) {
    CByteArray bytes;
    CWordArray words;
    CDWordArray dwords;
    CStringArray strings;
    CStringList list;
    const struct {
        const char* pszName;
        CObject* pObject;
        std::string strBytes;
        std::function<int()> fnElements; // elements held after the load
        int nElements;
    } cases[] = {
        {"bytes", &bytes, Bytes("ff ff ff ff ff ff 01 02"), [&] { return bytes.GetSize(); }, 2},
        {"words", &words, Bytes("ff ff fe ff ff ff 01 00 02"), [&] { return words.GetSize(); }, 1},
        {"dwords", &dwords, Bytes("fe ff 01 00 00 00"), [&] { return dwords.GetSize(); }, 1},
        {"strings", &strings, Bytes("ff ff ff ff ff ff 00 00"), [&] { return strings.GetSize(); },
         2},
        {"string of 0xFFFFFFF0", &strings, Bytes("01 00 ff ff ff f0 ff ff ff 61"),
         [&] { return strings.GetSize(); }, 0},
        {"list", &list, Bytes("ff ff ff ff ff ff 01 61"), [&] { return list.GetCount(); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        EXPECT_EQ(CArchiveException::endOfFile, Load(*c.pObject, c.strBytes));
        EXPECT_EQ(c.nElements, c.fnElements());
    }
}
