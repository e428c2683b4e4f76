// Halvex.exe's resources read back through the platform's own readers: the Korean resource of
// each kind found by FindResourceExW, the dialog templates decoded from their bytes, the string
// through LoadStringW, the icon images against the icon file, the version block through
// GetFileVersionInfoW and VerQueryValueW.
#include "TestResources.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace test_support;

namespace {
const WORD kKorean = 0x0412;

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

struct Control {
    std::string strClass; // predefined classes by name
    int nId;
    std::string strText;
    DWORD dwStyle;
    short x, y, cx, cy;
};

// One dialog template, classic or extended; a classic one has no help id, weight, italic or
// character set, and reads as 0 for them.
struct Dialog {
    bool bExtended;
    DWORD dwHelpId, dwExStyle, dwStyle;
    short x, y, cx, cy;
    std::string strMenu, strClass, strCaption;
    WORD wPointSize, wWeight;
    BYTE bItalic, bCharSet;
    std::string strFont;
    std::vector<Control> controls;
};

std::string ClassName(const std::string& strClass) {
    const char* const names[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    for (int i = 0; i < 6; i++)
        if (strClass == "#" + std::to_string(0x80 + i))
            return names[i];
    return strClass;
}

Dialog ParseDialog(const std::string& strBytes) {
    TemplateReader in(strBytes);
    Dialog dlg = {};
    WORD wVersion = in.Read<WORD>(), wSignature = in.Read<WORD>();
    dlg.bExtended = wVersion == 1 && wSignature == 0xFFFF;
    if (dlg.bExtended) {
        dlg.dwHelpId = in.Read<DWORD>();
        dlg.dwExStyle = in.Read<DWORD>();
        dlg.dwStyle = in.Read<DWORD>();
    } else {
        dlg.dwStyle = MAKELONG(wVersion, wSignature);
        dlg.dwExStyle = in.Read<DWORD>();
    }
    WORD wItems = in.Read<WORD>();
    dlg.x = in.Read<short>(), dlg.y = in.Read<short>();
    dlg.cx = in.Read<short>(), dlg.cy = in.Read<short>();
    dlg.strMenu = in.StringOrOrdinal();
    dlg.strClass = in.StringOrOrdinal();
    dlg.strCaption = in.String();
    if (dlg.dwStyle & DS_SETFONT) {
        dlg.wPointSize = in.Read<WORD>();
        if (dlg.bExtended) {
            dlg.wWeight = in.Read<WORD>();
            dlg.bItalic = in.Read<BYTE>();
            dlg.bCharSet = in.Read<BYTE>();
        }
        dlg.strFont = in.String();
    }
    for (WORD i = 0; i < wItems; i++) {
        in.AlignToDword();
        Control control = {};
        DWORD dwExStyle = 0;
        if (dlg.bExtended) {
            EXPECT_EQ(0u, in.Read<DWORD>()) << "help id of control " << i;
            dwExStyle = in.Read<DWORD>();
            control.dwStyle = in.Read<DWORD>();
        } else {
            control.dwStyle = in.Read<DWORD>();
            dwExStyle = in.Read<DWORD>();
        }
        EXPECT_EQ(0u, dwExStyle) << "extended style of control " << i;
        control.x = in.Read<short>(), control.y = in.Read<short>();
        control.cx = in.Read<short>(), control.cy = in.Read<short>();
        control.nId = dlg.bExtended ? in.Read<int>() : in.Read<short>();
        control.strClass = ClassName(in.StringOrOrdinal());
        control.strText = in.StringOrOrdinal();
        EXPECT_EQ(0, in.Read<WORD>()) << "creation data of control " << i;
        dlg.controls.push_back(control);
    }
    return dlg;
}

// Every field on a line of its own, so that a difference names the field.
std::vector<std::string> Describe(const Dialog& dlg) {
    char sz[256];
    std::vector<std::string> lines;
    snprintf(sz, sizeof sz, "%s, help id %lu, exstyle 0x%08lX, style 0x%08lX",
             dlg.bExtended ? "extended" : "classic", dlg.dwHelpId, dlg.dwExStyle, dlg.dwStyle);
    lines.push_back(sz);
    snprintf(sz, sizeof sz, "at %d,%d size %dx%d, menu '%s', class '%s'", dlg.x, dlg.y, dlg.cx,
             dlg.cy, dlg.strMenu.c_str(), dlg.strClass.c_str());
    lines.push_back(sz);
    lines.push_back("caption '" + dlg.strCaption + "'");
    snprintf(sz, sizeof sz, "font %u pt '%s', weight %u, italic %u, charset %u", dlg.wPointSize,
             dlg.strFont.c_str(), dlg.wWeight, dlg.bItalic, dlg.bCharSet);
    lines.push_back(sz);
    for (const Control& c : dlg.controls) {
        snprintf(sz, sizeof sz, "%s %d '%s' style 0x%08lX at %d,%d size %dx%d", c.strClass.c_str(),
                 c.nId, c.strText.c_str(), c.dwStyle, c.x, c.y, c.cx, c.cy);
        lines.push_back(sz);
    }
    return lines;
}

class HalvexResources : public testing::Test {
protected:
    void SetUp() override {
        m_hModule = LoadLibraryExA(WindowsPath(HALVEX_EXE).c_str(), NULL, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, m_hModule) << GetLastError();
    }
    void TearDown() override {
        if (m_hModule != NULL)
            FreeLibrary(m_hModule);
    }

    std::string Resource(LPCSTR pszType, WORD nId) {
        return ResourceBytes(m_hModule, pszType, nId, kKorean);
    }

    HMODULE m_hModule = NULL;
};
} // namespace

TEST_F(HalvexResources, DialogTemplatesHoldEveryStyleFontAndControl) {
    const DWORD kChild = WS_CHILD | WS_VISIBLE;
    const Dialog expected[] = {
        {false,
         0,
         0,
         0x80C800C0,
         0,
         0,
         235,
         55,
         "",
         "",
         "Halvex 정보",
         9,
         0,
         0,
         0,
         "굴림",
         {{"Static", -1, "#128", SS_ICON | kChild, 11, 17, 20, 20},
          {"Static", -1, "Halvex 버전 1.0", SS_LEFT | SS_NOPREFIX | WS_GROUP | kChild, 40, 10, 119,
           8},
          {"Static", -1, "Copyright (C) 2003", SS_LEFT | WS_GROUP | kChild, 40, 25, 119, 8},
          {"Button", IDOK, "확인", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP | kChild, 178, 7, 50,
           14}}},
        {true,
         0,
         WS_EX_APPWINDOW,
         0x90C800C0,
         0,
         0,
         320,
         200,
         "",
         "",
         "Halvex",
         9,
         0,
         0,
         1,
         "굴림",
         {{"Button", IDOK, "확인", BS_DEFPUSHBUTTON | WS_TABSTOP | kChild, 260, 7, 50, 14},
          {"Button", IDCANCEL, "취소", BS_PUSHBUTTON | WS_TABSTOP | kChild, 260, 23, 50, 14},
          {"Static", -1, "TODO: 대화 상자 컨트롤을 여기에 두십시오.", SS_LEFT | WS_GROUP | kChild,
           50, 90, 200, 8}}},
    };
    const WORD ids[] = {100, 102};
    for (int i = 0; i < 2; i++) {
        std::string strBytes = Resource(RT_DIALOG, ids[i]);
        ASSERT_NE("", strBytes) << "dialog " << ids[i];
        EXPECT_EQ(Describe(expected[i]), Describe(ParseDialog(strBytes))) << "dialog " << ids[i];
    }
    EXPECT_EQ(0x80C800C0u, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
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
    EnumResourceNamesW(
        m_hModule, MAKEINTRESOURCEW(6),
        [](HMODULE, LPCWSTR, LPWSTR pszName, LONG_PTR lParam) -> BOOL {
            reinterpret_cast<std::vector<ULONG_PTR>*>(lParam)->push_back(
                reinterpret_cast<ULONG_PTR>(pszName));
            return TRUE;
        },
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
}
