// The fixture of the CRegistryEx tests on Wine's registry. Each test works below a scratch key of
// its own under HKEY_CURRENT_USER, to which HKEY_LOCAL_MACHINE is redirected, and checks the
// results through the platform's own registry calls. Message boxes are recorded instead of shown.
#pragma once

#include "RegistryEx.h"
#include "TestRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <regex>
#include <string>
#include <tuple>
#include <vector>

namespace registry_test {

using namespace test_support;

struct RecordedBox {
    std::string strCaption;
    std::string strBody;
    UINT uType;
};
inline std::vector<RecordedBox> g_boxes;

inline int WINAPI RecordBox(HWND, LPCSTR lpszText, LPCSTR lpszCaption, UINT uType) {
    g_boxes.push_back({lpszCaption != NULL ? lpszCaption : "(null)", lpszText, uType});
    return IDOK;
}

inline LONG InfoStatus(HKEY hKey) {
    return RegQueryInfoKeyA(hKey, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL);
}

struct Value {
    LONG lStatus;
    DWORD dwType;
    std::string strData;
};

inline Value QueryValue(HKEY hKey, LPCSTR lpszName) {
    BYTE abData[512];
    DWORD dwType = 0xdeadbeef, dwSize = sizeof abData;
    LONG lStatus = RegQueryValueExA(hKey, lpszName, NULL, &dwType, abData, &dwSize);
    return {lStatus, dwType, std::string(reinterpret_cast<char*>(abData), dwSize)};
}

using CallRecord = std::tuple<LONG, DWORD, DWORD>;

inline CallRecord RecordOf(const CRegistryEx& reg) {
    return {reg.GetLastStatus(), reg.GetLastType(), reg.GetLastSize()};
}

inline std::vector<std::string> Names(const CStringArray& arrNames) {
    std::vector<std::string> names;
    for (int i = 0; i < arrNames.GetSize(); i++)
        names.push_back(std::string(arrNames[i]));
    return names;
}

const std::string kSourceFile = "registry/RegistryEx.cpp";

class RegistryExTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_boxPatch.Patched());
        m_machine = std::make_unique<MachineRedirect>(
            std::string("RegistryExTests.") +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
        ASSERT_TRUE(m_machine->Redirected());
        g_boxes.clear();
    }

    void TearDown() override {
        // Locked keys are opened again before the scratch tree can go.
        for (const ScopedKey& locked : m_locked)
            SetKeyDacl(locked.get(), "D:(A;;KA;;;WD)");
        m_locked.clear();
        m_machine.reset();
    }

    // The scratch key that HKEY_LOCAL_MACHINE stands for.
    HKEY Scratch() const { return m_machine->Key(); }

    // Creates |lpszPath| below |hParent| (the scratch key by default) and returns it opened.
    ScopedKey MakeKey(LPCSTR lpszPath, HKEY hParent = NULL) {
        return CreateTestKey(hParent != NULL ? hParent : Scratch(), lpszPath);
    }

    // Replaces the DACL of |lpszPath| by |lpszSddl|, by default one that grants only KEY_READ
    // to everyone ("D:" grants nothing). The full-access handle that restricted it stays open so
    // that TearDown can lift the restriction again.
    void Restrict(LPCSTR lpszPath, LPCSTR lpszSddl = "D:(A;;KR;;;WD)") {
        HKEY hKey = NULL;
        ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(Scratch(), lpszPath, 0, KEY_ALL_ACCESS, &hKey));
        m_locked.emplace_back(hKey);
        SetKeyDacl(hKey, lpszSddl);
    }

    // Exactly one box was shown, for a failed |strCall| with |lStatus|.
    static void ExpectEnumerationBox(LONG lStatus, const std::string& strCall = "RegEnumKeyEx") {
        ASSERT_EQ(1u, g_boxes.size());
        EXPECT_EQ(SystemText(lStatus), g_boxes[0].strCaption);
        std::regex body(std::to_string(lStatus) + " " + strCall + "\n" + kSourceFile +
                        " [1-9][0-9]*");
        EXPECT_TRUE(std::regex_match(g_boxes[0].strBody, body)) << g_boxes[0].strBody;
        EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), g_boxes[0].uType);
    }

    ImportPatch m_boxPatch{"user32.dll", "MessageBoxA", reinterpret_cast<void*>(&RecordBox)};
    std::unique_ptr<MachineRedirect> m_machine;
    std::vector<ScopedKey> m_locked;
};

} // namespace registry_test
