// Halvex.exe's resources read back through the platform's own readers: the Korean resource of
// each kind found by FindResourceExW, the dialog templates decoded from their bytes, the string
// through LoadStringW, the icon images against the icon file, the version block through
// GetFileVersionInfoW and VerQueryValueW.
#include "TestResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdarg>
#include <cstring>

using namespace test_support;

namespace {

// Reads a template front to back: little-endian fields, strings, ordinals, alignment.
class TemplateReader {
public:
    explicit TemplateReader(const std::string& strBytes) : m_strBytes(strBytes) {}

    template <class T> T Read() {
        T value = T();
        if (m_nOffset + sizeof(T) <= m_strBytes.size())
            std::memcpy(&value, m_strBytes.data() + m_nOffset, sizeof(T));
        m_nOffset += sizeof(T);
        return value;
    }
    std::string String() {
        std::wstring str;
        for (WCHAR ch; (ch = Read<WCHAR>()) != 0 && m_nOffset <= m_strBytes.size();)
            str += ch;
        return Utf8(str);
    }
    // A string, or an ordinal written as "#n"; "" for none.
    std::string StringOrOrdinal() {
        if (Peek() != 0xFFFF)
            return String();
        Read<WORD>();
        return "#" + std::to_string(Read<WORD>());
    }
    void AlignToDword() { m_nOffset = (m_nOffset + 3) & ~size_t(3); }

private:
    WORD Peek() {
        WORD w = Read<WORD>();
        m_nOffset -= sizeof(WORD);
        return w;
    }

    const std::string& m_strBytes;
    size_t m_nOffset = 0;
};

std::string ClassName(const std::string& strClass) {
    const char* const names[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    for (int i = 0; i < 6; i++)
        if (strClass == "#" + std::to_string(0x80 + i))
            return names[i];
    return strClass;
}

std::string Format(const char* pszFormat, ...) {
    char sz[512];
    va_list args;
    va_start(args, pszFormat);
    vsnprintf(sz, sizeof sz, pszFormat, args);
    va_end(args);
    return sz;
}

// A classic or extended dialog template, decoded a line per group of fields so that a difference
// names them: the dialog, its font, then each control. Predefined classes read as names,
// ordinals as "#n".
std::vector<std::string> DescribeDialog(const std::string& strBytes) {
    TemplateReader in(strBytes);
    WORD wVersion = in.Read<WORD>(), wSignature = in.Read<WORD>();
    bool bExtended = wVersion == 1 && wSignature == 0xFFFF;
    DWORD dwHelpId = 0, dwExStyle, dwStyle = MAKELONG(wVersion, wSignature);
    if (bExtended) {
        dwHelpId = in.Read<DWORD>();
        dwExStyle = in.Read<DWORD>();
        dwStyle = in.Read<DWORD>();
    } else {
        dwExStyle = in.Read<DWORD>();
    }
    WORD wItems = in.Read<WORD>();
    short x = in.Read<short>(), y = in.Read<short>(), cx = in.Read<short>(), cy = in.Read<short>();
    std::string strMenu = in.StringOrOrdinal(), strClass = in.StringOrOrdinal();
    std::vector<std::string> lines = {
        Format("%s help %lu exstyle %08lX style %08lX at %d,%d size %dx%d menu '%s' class '%s'",
               bExtended ? "extended" : "classic", dwHelpId, dwExStyle, dwStyle, x, y, cx, cy,
               strMenu.c_str(), strClass.c_str())};
    lines.push_back("caption '" + in.String() + "'");
    if (dwStyle & DS_SETFONT) {
        WORD wPointSize = in.Read<WORD>();
        std::string strFont = Format("font %u", wPointSize);
        if (bExtended) {
            WORD wWeight = in.Read<WORD>();
            BYTE bItalic = in.Read<BYTE>(), bCharSet = in.Read<BYTE>();
            strFont += Format(" weight %u italic %u charset %u", wWeight, bItalic, bCharSet);
        }
        lines.push_back(strFont + " '" + in.String() + "'");
    }
    for (WORD i = 0; i < wItems; i++) {
        in.AlignToDword();
        DWORD dwItemHelpId = 0, dwItemExStyle, dwItemStyle;
        if (bExtended) {
            dwItemHelpId = in.Read<DWORD>();
            dwItemExStyle = in.Read<DWORD>();
            dwItemStyle = in.Read<DWORD>();
        } else {
            dwItemStyle = in.Read<DWORD>();
            dwItemExStyle = in.Read<DWORD>();
        }
        x = in.Read<short>(), y = in.Read<short>(), cx = in.Read<short>(), cy = in.Read<short>();
        int nId = bExtended ? in.Read<int>() : in.Read<short>();
        std::string strItemClass = ClassName(in.StringOrOrdinal());
        std::string strText = in.StringOrOrdinal();
        WORD wCreationData = in.Read<WORD>();
        lines.push_back(Format("%s %d '%s' style %08lX exstyle %lX help %lu at %d,%d size %dx%d "
                               "data %u",
                               strItemClass.c_str(), nId, strText.c_str(), dwItemStyle,
                               dwItemExStyle, dwItemHelpId, x, y, cx, cy, wCreationData));
    }
    return lines;
}

// The paths of the nodes of a version block's bytes, depth first ("VS_VERSION_INFO",
// "VS_VERSION_INFO\\StringFileInfo", ...), down to the values of the string tables.
void AddVersionNodes(const std::string& strBlock, size_t nBegin, size_t nEnd,
                     const std::string& strParent, int nDepth, std::vector<std::string>& paths) {
    auto Align = [](size_t n) { return (n + 3) & ~size_t(3); };
    auto WordAt = [&](size_t n) {
        WORD w = 0;
        if (n + sizeof w <= strBlock.size())
            std::memcpy(&w, strBlock.data() + n, sizeof w);
        return w;
    };
    for (size_t nNode = nBegin; nNode + 6 <= nEnd;) {
        WORD wLength = WordAt(nNode), wValueLength = WordAt(nNode + 2), wType = WordAt(nNode + 4);
        if (wLength < 6)
            break;
        std::wstring strKey;
        size_t nPos = nNode + 6;
        for (; nPos < nEnd && WordAt(nPos) != 0; nPos += sizeof(WCHAR))
            strKey += static_cast<WCHAR>(WordAt(nPos));
        std::string strPath = (strParent.empty() ? "" : strParent + "\\") + Utf8(strKey);
        paths.push_back(strPath);
        // A text value's length counts characters, a binary one's bytes.
        nPos = Align(Align(nPos + sizeof(WCHAR)) + wValueLength * (wType == 1 ? sizeof(WCHAR) : 1));
        if (nDepth < 3)
            AddVersionNodes(strBlock, nPos, std::min(nEnd, nNode + wLength), strPath, nDepth + 1,
                            paths);
        nNode = Align(nNode + wLength);
    }
}

// Adds the id of resource |pszName| to the vector of ids |lParam|.
BOOL CALLBACK AddResourceId(HMODULE, LPCWSTR, LPWSTR pszName, LONG_PTR lParam) {
    reinterpret_cast<std::vector<ULONG_PTR>*>(lParam)->push_back(
        reinterpret_cast<ULONG_PTR>(pszName));
    return TRUE;
}

// Adds "type name language" of each language of resource |pszName| to the vector |lParam|.
BOOL CALLBACK AddResourceLanguage(HMODULE, LPCWSTR pszType, LPCWSTR pszName, WORD wLanguage,
                                  LONG_PTR lParam) {
    reinterpret_cast<std::vector<std::string>*>(lParam)->push_back(
        Format("%u %u %04X", static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(pszType)),
               static_cast<unsigned>(reinterpret_cast<ULONG_PTR>(pszName)), wLanguage));
    return TRUE;
}

BOOL CALLBACK AddResourceLanguages(HMODULE hModule, LPCWSTR pszType, LPWSTR pszName,
                                   LONG_PTR lParam) {
    return EnumResourceLanguagesW(hModule, pszType, pszName, AddResourceLanguage, lParam);
}

BOOL CALLBACK AddResourcesOfType(HMODULE hModule, LPWSTR pszType, LONG_PTR lParam) {
    return EnumResourceNamesW(hModule, pszType, AddResourceLanguages, lParam);
}

class HalvexResources : public ProgramResourcesTest {
protected:
    HalvexResources() : ProgramResourcesTest(HALVEX_EXE) {}
};
} // namespace

TEST_F(HalvexResources, EveryResourceButTheManifestIsKoreanAndNoneIsBeyondTheProgramsOwn) {
    // Type, id, language: two icon images, the dialogs, string block 7, icon group 128 and the
    // version block, all numbered, all Korean; then the manifest, language neutral.
    std::vector<std::string> resources;
    EnumResourceTypesW(m_hModule, AddResourcesOfType, reinterpret_cast<LONG_PTR>(&resources));
    EXPECT_EQ((std::vector<std::string>{"3 1 0412", "3 2 0412", "5 100 0412", "5 102 0412",
                                        "6 7 0412", "14 128 0412", "16 1 0412", "24 1 0000"}),
              resources);
}

TEST_F(HalvexResources, DialogTemplatesHoldEveryStyleFontAndControl) {
    // Styles: 50000000 is WS_CHILD | WS_VISIBLE, 20000 WS_GROUP, 10000 WS_TABSTOP; then SS_ICON 3,
    // SS_NOPREFIX 80, BS_DEFPUSHBUTTON 1. Popups: WS_POPUP | WS_CAPTION | WS_SYSMENU |
    // DS_MODALFRAME | DS_SETFONT, and WS_VISIBLE for the main dialog.
    const std::pair<WORD, std::vector<std::string>> expected[] = {
        {100,
         {"classic help 0 exstyle 00000000 style 80C800C0 at 0,0 size 235x55 menu '' class ''",
          "caption 'Halvex 정보'", "font 9 '굴림'",
          "Static -1 '#128' style 50000003 exstyle 0 help 0 at 11,17 size 20x20 data 0",
          "Static -1 'Halvex 버전 1.0' style 50020080 exstyle 0 help 0 at 40,10 size 119x8 data 0",
          "Static -1 'Copyright (C) 2003' style 50020000 exstyle 0 help 0 at 40,25 size 119x8 "
          "data 0",
          "Button 1 '확인' style 50030001 exstyle 0 help 0 at 178,7 size 50x14 data 0"}},
        {102,
         {"extended help 0 exstyle 00040000 style 90C800C0 at 0,0 size 320x200 menu '' class ''",
          "caption 'Halvex'", "font 9 weight 0 italic 0 charset 1 '굴림'",
          "Button 1 '확인' style 50010001 exstyle 0 help 0 at 260,7 size 50x14 data 0",
          "Button 2 '취소' style 50010000 exstyle 0 help 0 at 260,23 size 50x14 data 0",
          "Static -1 'TODO: 대화 상자 컨트롤을 여기에 두십시오.' style 50020000 exstyle 0 help 0 "
          "at 50,90 size 200x8 data 0"}},
    };
    for (const auto& [nId, lines] : expected) {
        std::string strBytes = Resource(RT_DIALOG, nId);
        ASSERT_NE("", strBytes) << "dialog " << nId;
        EXPECT_EQ(lines, DescribeDialog(strBytes)) << "dialog " << nId;
    }
}

TEST_F(HalvexResources, String101IsTheAboutEntryAndTheOnlyString) {
    WCHAR szText[64] = L"sentinel";
    EXPECT_EQ(16, LoadStringW(m_hModule, 101, szText, 64));
    EXPECT_STREQ(L"Halvex 정보(&A)...", szText);

    // String block 7 holds ids 96 to 111: every other slot is empty, and there is no other block.
    std::string strBlock = Resource(RT_STRING, 101 / 16 + 1);
    ASSERT_EQ(2u * (16 + 16), strBlock.size());
    for (int nId = 96; nId < 112; nId++) {
        WCHAR szOther[64] = L"sentinel";
        EXPECT_EQ(nId == 101 ? 16 : 0, LoadStringW(m_hModule, nId, szOther, 64)) << nId;
    }
    std::vector<ULONG_PTR> blocks;
    EnumResourceNamesW(m_hModule, MAKEINTRESOURCEW(6), AddResourceId,
                       reinterpret_cast<LONG_PTR>(&blocks));
    EXPECT_EQ(std::vector<ULONG_PTR>{7}, blocks);
}

TEST_F(HalvexResources, IconGroup128HoldsTheApplicationIconImages) {
    ExpectIconGroupHoldsIconFile(m_hModule, 128, kKorean, WindowsPath(APP_ICON));
}

TEST_F(HalvexResources, VersionBlockHoldsFixedInfoKoreanStringsAndTranslation) {
    EXPECT_NE("", Resource(RT_VERSION, 1));
    VersionBlock version(WindowsPath(HALVEX_EXE));
    const VS_FIXEDFILEINFO* pFixed = version.Fixed();
    ASSERT_NE(nullptr, pFixed);
    const std::pair<const char*, DWORD> fixed[] = {
        {"signature", 0xFEEF04BD},
        {"file version MS", 0x00010000},
        {"file version LS", 1},
        {"product version MS", 0x00010000},
        {"product version LS", 1},
        {"flags mask", 0x3F},
        {"flags", VS_FF_DEBUG},
        {"os", VOS__WINDOWS32},
        {"type", VFT_APP},
        {"subtype", 0},
        {"date MS", 0},
        {"date LS", 0},
    };
    const DWORD actual[] = {
        pFixed->dwSignature,        pFixed->dwFileVersionMS,    pFixed->dwFileVersionLS,
        pFixed->dwProductVersionMS, pFixed->dwProductVersionLS, pFixed->dwFileFlagsMask,
        pFixed->dwFileFlags,        pFixed->dwFileOS,           pFixed->dwFileType,
        pFixed->dwFileSubtype,      pFixed->dwFileDateMS,       pFixed->dwFileDateLS};
    for (size_t i = 0; i < std::size(fixed); i++)
        EXPECT_EQ(fixed[i].second, actual[i]) << fixed[i].first;

    const std::pair<const wchar_t*, const wchar_t*> strings[] = {
        {L"CompanyName", L""},
        {L"FileDescription", L"Halvex MFC 응용 프로그램"},
        {L"FileVersion", L"1, 0, 0, 1"},
        {L"InternalName", L"Halvex"},
        {L"LegalCopyright", L"Copyright (C) 2003"},
        {L"LegalTrademarks", L""},
        {L"OriginalFilename", L"Halvex.EXE"},
        {L"ProductName", L"Halvex 응용 프로그램"},
        {L"ProductVersion", L"1, 0, 0, 1"},
    };
    for (const auto& [pszKey, pszValue] : strings) {
        const wchar_t* pszFound = version.String(L"041204B0", pszKey);
        ASSERT_NE(nullptr, pszFound) << Utf8(pszKey);
        EXPECT_EQ(Utf8(pszValue), Utf8(pszFound)) << Utf8(pszKey);
    }
    EXPECT_EQ((std::vector<WORD>{0x0412, 0x04B0}), version.Translation());

    // Those keys are all: one string table, one translation, nothing else.
    std::string strBlock = Resource(RT_VERSION, 1);
    std::vector<std::string> nodes;
    AddVersionNodes(strBlock, 0, strBlock.size(), "", 0, nodes);
    std::vector<std::string> expected = {"VS_VERSION_INFO", "VS_VERSION_INFO\\StringFileInfo",
                                         "VS_VERSION_INFO\\StringFileInfo\\041204B0"};
    for (const auto& [pszKey, pszValue] : strings)
        expected.push_back("VS_VERSION_INFO\\StringFileInfo\\041204B0\\" + Utf8(pszKey));
    expected.push_back("VS_VERSION_INFO\\VarFileInfo");
    expected.push_back("VS_VERSION_INFO\\VarFileInfo\\Translation");
    EXPECT_EQ(expected, nodes);
}
