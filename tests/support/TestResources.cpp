#include "TestResources.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace test_support {

std::string ResourceBytes(HMODULE hModule, LPCSTR pszType, WORD nId, WORD wLanguage) {
    LPCWSTR pszTypeW = MAKEINTRESOURCEW(LOWORD(reinterpret_cast<ULONG_PTR>(pszType)));
    HRSRC hInfo = FindResourceExW(hModule, pszTypeW, MAKEINTRESOURCEW(nId), wLanguage);
    if (hInfo == NULL)
        return "";
    const char* pData = static_cast<const char*>(LockResource(LoadResource(hModule, hInfo)));
    return std::string(pData, SizeofResource(hModule, hInfo));
}

namespace {
#pragma pack(push, 2)
struct IconEntry { // an image's entry in an .ico file; a group icon entry ends in a 2-byte id
    BYTE bWidth, bHeight, bColorCount, bReserved;
    WORD wPlanes, wBitCount;
    DWORD dwBytesInRes, dwOffsetOrId;
};
#pragma pack(pop)

IconEntry EntryAt(const std::string& strData, size_t nOffset) {
    IconEntry entry = {};
    if (nOffset < strData.size())
        memcpy(&entry, strData.data() + nOffset, std::min(sizeof entry, strData.size() - nOffset));
    return entry;
}
} // namespace

void ExpectIconGroupHoldsIconFile(HMODULE hModule, WORD nId, WORD wLanguage,
                                  const std::string& strIconFile) {
    std::string strFile = ReadText(strIconFile);
    std::string strGroup = ResourceBytes(hModule, RT_GROUP_ICON, nId, wLanguage);
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
        std::string strImage =
            ResourceBytes(hModule, RT_ICON, LOWORD(group.dwOffsetOrId), wLanguage);
        EXPECT_EQ(group.dwBytesInRes, strImage.size());
        EXPECT_TRUE(strImage == strFile.substr(file.dwOffsetOrId, file.dwBytesInRes)) << i;
    }
}

VersionBlock::VersionBlock(const std::string& strPath) {
    std::wstring strPathW(strPath.begin(), strPath.end());
    m_strBlock.assign(GetFileVersionInfoSizeW(strPathW.c_str(), NULL), '\0');
    EXPECT_TRUE(GetFileVersionInfoW(strPathW.c_str(), 0, static_cast<DWORD>(m_strBlock.size()),
                                    &m_strBlock[0]))
        << strPath;
}

const void* VersionBlock::Query(const std::wstring& strKey, UINT* pnLength) const {
    void* pValue = NULL;
    *pnLength = 0xdeadbeef;
    if (m_strBlock.empty() || !VerQueryValueW(m_strBlock.data(), strKey.c_str(), &pValue, pnLength))
        return NULL;
    return pValue;
}

const VS_FIXEDFILEINFO* VersionBlock::Fixed() const {
    UINT nLength;
    return static_cast<const VS_FIXEDFILEINFO*>(Query(L"\\", &nLength));
}

const wchar_t* VersionBlock::String(const std::wstring& strTable,
                                    const std::wstring& strKey) const {
    UINT nLength;
    auto pszValue = static_cast<const wchar_t*>(
        Query(L"\\StringFileInfo\\" + strTable + L"\\" + strKey, &nLength));
    return pszValue != NULL && nLength == 0 ? L"" : pszValue;
}

std::vector<WORD> VersionBlock::Translation() const {
    UINT nLength;
    auto pwValues = static_cast<const WORD*>(Query(L"\\VarFileInfo\\Translation", &nLength));
    return pwValues != NULL ? std::vector<WORD>(pwValues, pwValues + nLength / sizeof(WORD))
                            : std::vector<WORD>();
}

void ProgramResourcesTest::SetUp() {
    m_hModule = LoadLibraryExA(WindowsPath(m_strProgram).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(nullptr, m_hModule) << GetLastError();
}

void ProgramResourcesTest::TearDown() {
    if (m_hModule != NULL)
        FreeLibrary(m_hModule);
}

std::string ProgramResourcesTest::Resource(LPCSTR pszType, WORD nId) const {
    return ResourceBytes(m_hModule, pszType, nId, kKorean);
}

} // namespace test_support
