// Observes the framework's debug assertions instead of stopping at them, while it lives.
// Portable: the native tests use it too.
#pragma once

#include "AfxDebug.h"

#include <string>
#include <vector>

namespace test_support {

struct Assertion {
    std::string strFile;
    int nLine;
};

class AssertionRecorder {
public:
    AssertionRecorder() : m_pfnOldHook(AfxSetAssertHook(Record)) { s_assertions.clear(); }
    AssertionRecorder(const AssertionRecorder&) = delete;
    AssertionRecorder& operator=(const AssertionRecorder&) = delete;
    ~AssertionRecorder() { AfxSetAssertHook(m_pfnOldHook); }

    const std::vector<Assertion>& Assertions() const { return s_assertions; }

private:
    static BOOL Record(LPCSTR lpszFileName, int nLine) {
        s_assertions.push_back({lpszFileName, nLine});
        return FALSE; // go on, as after Ignore
    }

    inline static std::vector<Assertion> s_assertions;
    AFX_ASSERT_HOOK m_pfnOldHook;
};

} // namespace test_support
