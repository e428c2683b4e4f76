#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {
const WORD kKorean = 0x0412;

std::wstring Wide(const std::string& str) {
    return std::wstring(str.begin(), str.end());
}

#pragma pack(push, 2)
struct IconEntry { // an image's entry in an .ico file; a group icon entry ends in a 2-byte id
    BYTE bWidth, bHeight, bColorCount, bReserved;
    WORD wPlanes, wBitCount;
    DWORD dwBytesInRes, dwOffsetOrId;
};
#pragma pack(pop)

class SetupResources : public testing::Test {
protected:
    void SetUp() override {
        m_hModule = LoadLibraryExA(WindowsPath(SETUP_EXE).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, m_hModule) << GetLastError();
    }
    void TearDown() override {
        if (m_hModule != NULL)
            FreeLibrary(m_hModule);
    }

    // The bytes of a resource (numbered type and id) stored for Korean; empty when there is none.
    std::string Resource(LPCSTR pszType, WORD nId) {
        LPCWSTR pszTypeW = MAKEINTRESOURCEW(LOWORD(reinterpret_cast<ULONG_PTR>(pszType)));
        HRSRC hInfo = FindResourceExW(m_hModule, pszTypeW, MAKEINTRESOURCEW(nId), kKorean);
        if (hInfo == NULL)
            return "";
        const char* pData = static_cast<const char*>(LockResource(LoadResource(m_hModule, hInfo)));
        return std::string(pData, SizeofResource(m_hModule, hInfo));
    }

    HMODULE m_hModule = NULL;
};

IconEntry EntryAt(const std::string& strData, size_t nOffset) {
    IconEntry entry = {};
    memcpy(&entry, strData.data() + nOffset, std::min(sizeof entry, strData.size() - nOffset));
    return entry;
}
} // namespace

TEST_F(SetupResources, IconGroup128HoldsTheApplicationIconImages) {
    std::string strFile = ReadText(WindowsPath(APP_ICON));
    std::string strGroup = Resource(RT_GROUP_ICON, 128);
    ASSERT_EQ(6u + 2 * 14, strGroup.size());
    ASSERT_EQ(strFile.substr(0, 6), strGroup.substr(0, 6)); // type 1, two images
    const BYTE expectedSizes[] = {32, 16};
    for (int i = 0; i < 2; i++) {
        IconEntry group = EntryAt(strGroup, 6 + 14 * i), file = EntryAt(strFile, 6 + 16 * i);
        EXPECT_EQ(expectedSizes[i], group.bWidth);
        EXPECT_EQ(expectedSizes[i], group.bHeight);
        EXPECT_EQ(16, group.bColorCount);
        EXPECT_EQ(1, group.wPlanes);
        EXPECT_EQ(4, group.wBitCount);
        std::string strImage = Resource(RT_ICON, LOWORD(group.dwOffsetOrId));
        EXPECT_EQ(group.dwBytesInRes, strImage.size());
        EXPECT_TRUE(strImage == strFile.substr(file.dwOffsetOrId, file.dwBytesInRes)) << i;
    }
}

TEST_F(SetupResources, String101IsSetupInformationInKorean) {
    EXPECT_NE("", Resource(RT_STRING, 101 / 16 + 1));
    WCHAR szText[64] = L"sentinel";
    EXPECT_EQ(25, LoadStringW(m_hModule, 101, szText, 64));
    EXPECT_STREQ(L"Setup Information (&A)...", szText);
}

TEST_F(SetupResources, VersionBlockHoldsFixedInfoStringsAndTranslation) {
    EXPECT_NE("", Resource(RT_VERSION, 1));
    std::wstring strPath = Wide(WindowsPath(SETUP_EXE));
    std::string strBlock(GetFileVersionInfoSizeW(strPath.c_str(), NULL), '\0');
    ASSERT_TRUE(
        GetFileVersionInfoW(strPath.c_str(), 0, static_cast<DWORD>(strBlock.size()), &strBlock[0]));
    auto query = [&](const std::wstring& strKey, UINT* pnLength) {
        void* pValue = NULL;
        *pnLength = 0xdeadbeef;
        return VerQueryValueW(strBlock.data(), strKey.c_str(), &pValue, pnLength) ? pValue : NULL;
    };
    UINT nLength;
    const VS_FIXEDFILEINFO* pFixed = static_cast<VS_FIXEDFILEINFO*>(query(L"\\", &nLength));
    ASSERT_NE(nullptr, pFixed);
    EXPECT_EQ(0xFEEF04BDu, pFixed->dwSignature);
    EXPECT_EQ(0x00010000u, pFixed->dwFileVersionMS);
    EXPECT_EQ(0x00000001u, pFixed->dwFileVersionLS);
    EXPECT_EQ(0x00010000u, pFixed->dwProductVersionMS);
    EXPECT_EQ(0x00000001u, pFixed->dwProductVersionLS);
    EXPECT_EQ(0x3Fu, pFixed->dwFileFlagsMask);
    EXPECT_EQ(0u, pFixed->dwFileFlags);
    EXPECT_EQ(static_cast<DWORD>(VOS__WINDOWS32), pFixed->dwFileOS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), pFixed->dwFileType);

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"Comments", L""},
        {L"CompanyName", L""},
        {L"FileDescription", L"Device Driver Setup"},
        {L"FileVersion", L"1, 0, 0, 1"},
        {L"InternalName", L"Setup"},
        {L"LegalCopyright", L"Copyright (C) 2003"},
        {L"LegalTrademarks", L""},
        {L"OriginalFilename", L"Setup.EXE"},
        {L"PrivateBuild", L""},
        {L"ProductName", L"Device Driver Setup"},
        {L"ProductVersion", L"1, 0, 0, 1"},
        {L"SpecialBuild", L""},
    };
    for (const auto& [pszKey, pszValue] : strings) {
        const wchar_t* pszFound = static_cast<const wchar_t*>(
            query(std::wstring(L"\\StringFileInfo\\040904B0\\") + pszKey, &nLength));
        ASSERT_NE(nullptr, pszFound) << pszKey;
        EXPECT_STREQ(pszValue, nLength == 0 ? L"" : pszFound) << pszKey;
    }

    const WORD* pTranslation = static_cast<WORD*>(query(L"\\VarFileInfo\\Translation", &nLength));
    ASSERT_NE(nullptr, pTranslation);
    ASSERT_EQ(4u, nLength);
    EXPECT_EQ(0x0409, pTranslation[0]);
    EXPECT_EQ(0x04B0, pTranslation[1]);
}
