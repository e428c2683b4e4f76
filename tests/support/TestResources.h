// A program's resources read back through the platform's own readers, for the resource tests of
// both programs. Failures are gtest failures of the calling test.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace test_support {

// The language of both programs' resources.
const WORD kKorean = 0x0412;

// The bytes of resource |nId| of numbered type |pszType| stored for |wLanguage| in |hModule|;
// empty when there is none.
std::string ResourceBytes(HMODULE hModule, LPCSTR pszType, WORD nId, WORD wLanguage);

// Expects icon group |nId| (|wLanguage|) of |hModule| to hold the two images of the icon file
// |strIconFile|, 32 x 32 and 16 x 16 in 16 colours, byte for byte.
void ExpectIconGroupHoldsIconFile(HMODULE hModule, WORD nId, WORD wLanguage,
                                  const std::string& strIconFile);

// The version block of a program file, as GetFileVersionInfoW reads it.
class VersionBlock {
public:
    explicit VersionBlock(const std::string& strPath);

    // The fixed fields; NULL when the block has none.
    const VS_FIXEDFILEINFO* Fixed() const;
    // The value of |strKey| in string table |strTable| ("040904B0"); NULL when it is missing.
    const wchar_t* String(const std::wstring& strTable, const std::wstring& strKey) const;
    // The language and code page pairs of the translation value.
    std::vector<WORD> Translation() const;

private:
    const void* Query(const std::wstring& strKey, UINT* pnLength) const;

    std::string m_strBlock;
};

// A fixture over the resources of one program, loaded as data for each test and freed after it.
class ProgramResourcesTest : public testing::Test {
protected:
    // |pszProgram|: the program's Linux path.
    explicit ProgramResourcesTest(const char* pszProgram) : m_strProgram(pszProgram) {}
    void SetUp() override;
    void TearDown() override;

    // ResourceBytes of the program, in Korean.
    std::string Resource(LPCSTR pszType, WORD nId) const;

    HMODULE m_hModule = NULL;

private:
    std::string m_strProgram;
};

} // namespace test_support
