#include "TestResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {

class SetupResources : public ProgramResourcesTest {
protected:
    SetupResources() : ProgramResourcesTest(SETUP_EXE) {}
};

} // namespace

TEST_F(SetupResources, IconGroup128HoldsTheApplicationIconImages) {
    ExpectIconGroupHoldsIconFile(m_hModule, 128, kKorean, WindowsPath(APP_ICON));
}

TEST_F(SetupResources, String101IsSetupInformationInKorean) {
    EXPECT_NE("", Resource(RT_STRING, 101 / 16 + 1));
    WCHAR szText[64] = L"sentinel";
    EXPECT_EQ(25, LoadStringW(m_hModule, 101, szText, 64));
    EXPECT_STREQ(L"Setup Information (&A)...", szText);
}

TEST_F(SetupResources, VersionBlockHoldsFixedInfoStringsAndTranslation) {
    EXPECT_NE("", Resource(RT_VERSION, 1));
    VersionBlock version(WindowsPath(SETUP_EXE));
    const VS_FIXEDFILEINFO* pFixed = version.Fixed();
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
        const wchar_t* pszFound = version.String(L"040904B0", pszKey);
        ASSERT_NE(nullptr, pszFound) << pszKey;
        EXPECT_STREQ(pszValue, pszFound) << pszKey;
    }
    EXPECT_EQ((std::vector<WORD>{0x0409, 0x04B0}), version.Translation());
}
