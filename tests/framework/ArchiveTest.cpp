// The framework's runtime classes, exceptions, memory file and archive, and the byte format of
// the serialisable collections: what the framework writes, that it loads it back, and that
// malformed data ends a load with an archive exception and nothing read beyond the data.
#include "Afx.h"
#include "Allocations.h"
#include "ArchiveBytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace test_support;

namespace {

class CPlainObject : public CObject {};

// The cause of the TException that |fnCall| throws (deleted here), or -1 when none is thrown.
template <class TException> int CauseOf(const std::function<void()>& fnCall) {
    try {
        fnCall();
    } catch (TException* e) {
        int nCause = e->m_cause;
        e->Delete();
        return nCause;
    }
    return -1;
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

std::unique_ptr<CObject> ByteArrayOfSize(int nSize) {
    auto pArray = std::make_unique<CByteArray>();
    for (int i = 0; i < nSize; i++)
        pArray->Add(static_cast<BYTE>(i * 7));
    return pArray;
}

std::unique_ptr<CObject> StringOfLength(size_t nLength) {
    auto pArray = std::make_unique<CStringArray>();
    std::string str(nLength, 'a');
    for (size_t i = 0; i < nLength; i++)
        str[i] = static_cast<char>('a' + i % 26);
    pArray->Add(str.c_str());
    return pArray;
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
        EXPECT_TRUE(c.pObject->IsKindOf(pClass) && c.pObject->IsKindOf(RUNTIME_CLASS(CObject)));
        EXPECT_TRUE(c.pKind == NULL || c.pObject->IsKindOf(c.pKind));
        EXPECT_FALSE(c.pObject->IsKindOf(c.pNotKind));
        EXPECT_EQ(c.bSerializable, c.pObject->IsSerializable());
        std::unique_ptr<CObject> pMade(pClass->CreateObject()); // serial classes only
        EXPECT_EQ(c.bSerializable ? pClass : NULL, pMade ? pMade->GetRuntimeClass() : NULL);
    }
}

#ifdef _WIN32
TEST(RuntimeClassTest, WindowClassesKnowTheirBases) {
    CDialog dialog(100);
    EXPECT_STREQ("CDialog", dialog.GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CWnd)) && dialog.IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_FALSE(dialog.IsKindOf(RUNTIME_CLASS(CWinApp)));
    CMenu menu;
    EXPECT_STREQ("CMenu", menu.GetRuntimeClass()->m_lpszClassName);
}

namespace {
class CCommandCounter : public CCmdTarget {
public:
    void OnCount() { m_nCalls++; }
    int m_nCalls = 0;
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCommandCounter, CCmdTarget)
ON_COMMAND(100, CCommandCounter::OnCount)
END_MESSAGE_MAP()
} // namespace

TEST(CmdTargetTest, AskedWhoHandlesACommandItNamesTheHandlerAndCallsNothing) {
    CCommandCounter target;
    AFX_CMDHANDLERINFO info = {NULL, NULL};
    EXPECT_FALSE(target.OnCmdMsg(101, CN_COMMAND, NULL, &info));
    EXPECT_TRUE(target.OnCmdMsg(100, CN_COMMAND, NULL, &info));
    EXPECT_EQ(0, target.m_nCalls);
    EXPECT_TRUE(info.pTarget == &target &&
                info.pmf == static_cast<AFX_PMSG>(&CCommandCounter::OnCount));
}

TEST(DeviceContextTest, ACdcDeletesTheContextItHolds) {
    HDC hDC = ::CreateCompatibleDC(NULL);
    {
        CDC dc;
        dc.m_hDC = hDC;
    }
    EXPECT_EQ(0u, ::GetObjectType(hDC)); // deleted with the object
}
#endif

TEST(ExceptionTest, ThrownAsPointersCaughtAsTheBaseAndDeletedByTheCatcher) {
    CException* pCaught = NULL;
    try {
        AfxThrowArchiveException(CArchiveException::badIndex, "name");
    } catch (CException* e) {
        pCaught = e;
    }
    ASSERT_TRUE(pCaught != NULL && pCaught->IsKindOf(RUNTIME_CLASS(CArchiveException)));
    EXPECT_EQ(CArchiveException::badIndex, static_cast<CArchiveException*>(pCaught)->m_cause);
    EXPECT_STREQ("name", static_cast<CArchiveException*>(pCaught)->m_strFileName);
    pCaught->Delete(); // the sanitizers report a leak when a catcher does not delete
    EXPECT_EQ(CFileException::badSeek,
              CauseOf<CFileException>([] { AfxThrowFileException(CFileException::badSeek); }));
    // Memory may have run out: that exception is made once, and Delete leaves it alone (the
    // sanitizers report a bad free otherwise).
    EXPECT_EQ(CaughtMemoryException(), CaughtMemoryException());
    EXPECT_TRUE(CaughtMemoryException()->IsKindOf(RUNTIME_CLASS(CMemoryException)));
}

TEST(MemFileTest, GrowsTheCallersBlockInStepsAndDetachHandsItBack) {
    CMemFile file(static_cast<BYTE*>(std::calloc(4, 1)), 4, 16);
    EXPECT_EQ(0u, file.GetLength());
    const std::string strData = "0123456789abcdefghijklmnopqrstuvwxyz";
    file.Write(strData.data(), 5);
    file.Write(strData.data() + 5, 31);
    EXPECT_EQ(36u, file.GetLength());
    BYTE* lpDetached = file.Detach(); // the file must not free it as well
    EXPECT_EQ(0u, file.GetLength());
    EXPECT_EQ(strData, std::string(reinterpret_cast<char*>(lpDetached), 36));
    std::free(lpDetached);
}

TEST(MemFileTest, ReadsAndSeeksWithinItsBytesAndDoesNotGrowWithoutAStep) {
    std::string strData = "0123456789";
    CMemFile file(reinterpret_cast<BYTE*>(&strData[0]), 10);
    char achRead[16] = {};
    EXPECT_EQ(4u, file.Read(achRead, 4));
    EXPECT_EQ(2, file.Seek(-2, CFile::current));
    EXPECT_EQ(7, file.Seek(-3, CFile::end));
    EXPECT_EQ(3u, file.Read(achRead, sizeof achRead));
    EXPECT_EQ(0u, file.Read(achRead, sizeof achRead));
    EXPECT_EQ("7893", std::string(achRead));
    EXPECT_EQ(CFileException::badSeek,
              CauseOf<CFileException>([&] { file.Seek(-11, CFile::end); }));
    EXPECT_EQ(10u, file.GetPosition());
    file.SeekToBegin();
    file.Write("ab", 2);
    EXPECT_EQ("ab23456789", strData);
    bool bNoRoom = false;
    try {
        file.Write("too far", 9);
    } catch (CMemoryException* e) {
        bNoRoom = true;
        e->Delete();
    }
    EXPECT_TRUE(bNoRoom);
    EXPECT_EQ(10u, file.GetLength());
}

TEST(MemFileTest, AGrowPastFourGigabytesThrowsRatherThanWrappingToNothing) {
    CMemFile file(0x80000000u);
    file.Seek(0x7FFFFFFF, CFile::begin);
    bool bNoRoom = false;
    try {
        file.Write("ab", 2); // two steps of 2 GB: one beyond what 32 bits hold
    } catch (CMemoryException* e) {
        bNoRoom = true;
        e->Delete();
    }
    EXPECT_TRUE(bNoRoom);
    EXPECT_EQ(0u, file.GetLength());
}

TEST(ArchiveTest, ModeDecidesWhatItMayDoAndAStoringArchiveFlushesWhenClosedOrDestroyed) {
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
            EXPECT_TRUE(ar.IsStoring() && !ar.IsLoading() && ar.m_pDocument == NULL);
            ar << static_cast<WORD>(0x0102) << static_cast<LONG>(-2);
            BYTE by;
            EXPECT_EQ(CArchiveException::writeOnly, CauseOf<CArchiveException>([&] { ar >> by; }));
            EXPECT_EQ(0u, file.GetLength()); // still in the archive's buffer
            if (c.bClose)
                ar.Close();
        }
        EXPECT_EQ(c.dwLength, file.GetLength()) << c.nMode << " " << c.bClose;
    }
    CMemFile file;
    CArchive ar(&file, CArchive::load);
    EXPECT_TRUE(ar.IsLoading());
    EXPECT_EQ(CArchiveException::readOnly,
              CauseOf<CArchiveException>([&] { ar << static_cast<DWORD>(1); }));
}

TEST(ArchiveTest, BuffersBelowTheSmallestGetOneOfTheArchivesOwnOfThatSize) {
    CDWordArray dwords; // 402 bytes, whose numbers cross the edges of the smaller buffers
    for (int i = 0; i < 100; i++)
        dwords.Add(0x01020304u * i);
    const std::string strExpected = Store(dwords);
    for (int nBufSize : {-1, 0, 1, CArchive::kMinBufSize - 1, CArchive::kMinBufSize, 129}) {
        SCOPED_TRACE(nBufSize);
        for (bool bCallersBuffer : {false, true}) {
            // Exactly the size given, so that a use beyond it shows under AddressSanitizer.
            std::vector<BYTE> abBuffer(std::max(nBufSize, 1), 0xCD);
            CMemFile file(16);
            {
                CArchive ar(&file, CArchive::store, nBufSize,
                            bCallersBuffer ? abBuffer.data() : NULL);
                dwords.Serialize(ar);
            }
            BYTE* lpStored = file.Detach();
            EXPECT_EQ(strExpected, std::string(reinterpret_cast<char*>(lpStored), 402));
            std::free(lpStored);
            bool bUsed = abBuffer != std::vector<BYTE>(abBuffer.size(), 0xCD);
            EXPECT_EQ(bCallersBuffer && nBufSize >= CArchive::kMinBufSize, bUsed);
            CDWordArray loaded;
            ASSERT_EQ(kLoaded, Load(loaded, strExpected, nBufSize));
            EXPECT_EQ(strExpected, Store(loaded));
        }
    }
}

TEST(ArchiveTest, ALoadingArchiveLetGoOfEarlyGivesTheBytesItReadAheadBackToItsFile) {
    std::string strData = Bytes("01 00 02 00 03 00");
    for (bool bClose : {true, false}) { // closed, or destroyed
        CMemFile file(reinterpret_cast<BYTE*>(&strData[0]), static_cast<UINT>(strData.size()));
        WORD w1, w2;
        {
            CArchive ar(&file, CArchive::load);
            ar >> w1; // the archive holds all six bytes now
            if (bClose)
                ar.Close();
        }
        EXPECT_EQ(2u, file.GetPosition());
        CArchive ar(&file, CArchive::load); // the next reader goes on where the first stopped
        ar >> w2;
        EXPECT_EQ(1, w1);
        EXPECT_EQ(2, w2);
    }
}

TEST(ArchiveFormatTest, CountsAndLengthsTakeTheirLongerFormsAtTheMarkersAndLoadBack) {
    const struct {
        std::function<std::unique_ptr<CObject>()> fnMake;
        const char* pszHeadHex; // the first bytes stored
        size_t nLength;         // all bytes stored
    } cases[] = {
        {[] { return ByteArrayOfSize(0xFFFE); }, "fe ff 00 07 0e", 2 + 0xFFFE},
        {[] { return ByteArrayOfSize(0xFFFF); }, "ff ff ff ff 00 00 00 07 0e", 6 + 0xFFFF},
        {[] { return StringOfLength(254); }, "01 00 fe 61 62", 3 + 254},
        {[] { return StringOfLength(255); }, "01 00 ff ff 00 61", 5 + 255},
        {[] { return StringOfLength(0xFFFD); }, "01 00 ff fd ff 61", 5 + 0xFFFD},
        {[] { return StringOfLength(0xFFFE); }, "01 00 ff ff ff fe ff 00 00 61", 9 + 0xFFFE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszHeadHex);
        std::unique_ptr<CObject> pStored = c.fnMake();
        std::string strStored = Store(*pStored, 3); // the smallest buffer there is
        EXPECT_EQ(c.nLength, strStored.size());
        EXPECT_EQ(c.pszHeadHex, Hex(strStored.substr(0, Bytes(c.pszHeadHex).size())));
        std::unique_ptr<CObject> pLoaded(pStored->GetRuntimeClass()->CreateObject());
        ASSERT_EQ(kLoaded, Load(*pLoaded, strStored, 3));
        EXPECT_TRUE(Store(*pLoaded) == strStored) << "loaded differs";
    }
}

TEST(ArchiveFormatTest, EachKindLoadsWhatItStoresAndEndsWithEndOfFileWhenCutAtAnyByte) {
    const struct {
        const CRuntimeClass* pClass;
        const char* pszHex;
        const char* pszStoredBackHex; // NULL: the same bytes
    } cases[] = {
        {RUNTIME_CLASS(CStringArray), "03 00 02 61 62 00 03 78 79 7a", NULL},
        {RUNTIME_CLASS(CStringArray), "02 00 03 61 00 62 01 00", NULL}, // zero characters
        {RUNTIME_CLASS(CStringList), "02 00 03 61 00 62 01 00", NULL},
        {RUNTIME_CLASS(CStringList), "02 00 01 61 ff 01 00 62", "02 00 01 61 01 62"},
        {RUNTIME_CLASS(CDWordArray), "02 00 ec ff ff ff 28 00 00 00", NULL},
        {RUNTIME_CLASS(CWordArray), "02 00 01 00 ef be", NULL},
        {RUNTIME_CLASS(CByteArray), "ff ff 02 00 00 00 07 08", "02 00 07 08"},
        {RUNTIME_CLASS(CStringArray), "01 00 ff ff ff 02 00 00 00 61 62", "01 00 02 61 62"},
        {RUNTIME_CLASS(CStringList), "01 00 ff fe ff ff 01 00 61 00", "01 00 01 61"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszHex);
        std::string strBytes = Bytes(c.pszHex);
        for (size_t nCut = 0; nCut <= strBytes.size(); nCut++) {
            for (int nBufSize : {1, 4096}) {
                std::unique_ptr<CObject> pObject(c.pClass->CreateObject());
                int nResult = Load(*pObject, strBytes.substr(0, nCut), nBufSize);
                if (nCut < strBytes.size()) {
                    EXPECT_EQ(CArchiveException::endOfFile, nResult) << "cut at " << nCut;
                } else {
                    ASSERT_EQ(kLoaded, nResult);
                    EXPECT_EQ(c.pszStoredBackHex ? c.pszStoredBackHex : c.pszHex,
                              Hex(Store(*pObject)));
                }
            }
        }
    }
}

TEST(ArchiveFormatTest, StringsLoadFromWideFormsAndKeepZeroCharacters) {
    std::string strWide256 = Bytes("01 00 ff fe ff ff 00 01");
    for (int i = 0; i < 256; i++)
        strWide256 += Bytes("41 00");
    const struct {
        const char* pszName;
        std::string strBytes;
        std::string strText;
        int nResult;
    } cases[] = {
        {"wide", Bytes("01 00 ff fe ff 03 61 00 62 00 63 00"), "abc", kLoaded},
        {"wide, 16-bit length", strWide256, std::string(256, 'A'), kLoaded},
        {"wide, 32-bit length", Bytes("01 00 ff fe ff ff ff ff 01 00 00 00 7a 00"), "z", kLoaded},
        {"wide, outside the code page", Bytes("01 00 ff fe ff 02 01 0e 61 00"), "?a", kLoaded},
        {"wide, the first past Latin-1", Bytes("01 00 ff fe ff 02 00 01 61 00"), "?a", kLoaded},
        {"wide, zero character", Bytes("01 00 ff fe ff 02 62 00 00 00"), std::string("b\0", 2),
         kLoaded},
        {"8-bit, zero character", Bytes("01 00 03 61 00 62"), std::string("a\0b", 3), kLoaded},
        {"second wide marker", Bytes("01 00 ff fe ff ff fe ff 01 61 00"), "",
         CArchiveException::badIndex},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        CStringArray arr;
        ASSERT_EQ(c.nResult, Load(arr, c.strBytes));
        EXPECT_EQ(c.strText, arr.GetSize() > 0 ? std::string(arr[0], arr[0].GetLength()) : "");
    }
}

TEST(ArchiveFormatTest, CountsFarLargerThanTheDataTakeNoMoreRoomThanTheDataHolds) {
    CByteArray bytes;
    CWordArray words;
    CDWordArray dwords;
    CStringArray strings;
    CStringList list;
    const struct {
        CObject* pObject;
        const char* pszHex;
        std::function<int()> fnElements; // elements held after the load
        int nElements;
    } cases[] = {
        {&bytes, "ff ff ff ff ff ff 01 02", [&] { return bytes.GetSize(); }, 2},
        {&words, "ff ff fe ff ff ff 01 00 02", [&] { return words.GetSize(); }, 1},
        {&dwords, "fe ff 01 00 00 00", [&] { return dwords.GetSize(); }, 1},
        {&strings, "ff ff ff ff ff ff 00 00", [&] { return strings.GetSize(); }, 2},
        {&strings, "01 00 ff ff ff f0 ff ff ff 61", [&] { return strings.GetSize(); }, 0},
        {&list, "ff ff ff ff ff ff 01 61", [&] { return list.GetCount(); }, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszHex);
        std::string strBytes = Bytes(c.pszHex);
        CMemFile file(reinterpret_cast<BYTE*>(&strBytes[0]), static_cast<UINT>(strBytes.size()));
        CArchive ar(&file, CArchive::load);
        Allocations allocations;
        try {
            c.pObject->Serialize(ar);
            ADD_FAILURE() << "loaded";
        } catch (CArchiveException* e) {
            EXPECT_EQ(CArchiveException::endOfFile, e->m_cause);
            e->Delete();
        }
        EXPECT_EQ(c.nElements, c.fnElements());
        // Room for the few elements that the bytes can hold, however many the count says.
        EXPECT_LE(allocations.Largest(), 4 * sizeof(CString));
    }
}
