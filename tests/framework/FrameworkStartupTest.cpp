#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace test_support;

namespace {
// The probe under a name of its own, so that the application name is seen to come from it.
class FrameworkStartupTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CopyFileA(WindowsPath(PROBE_EXE).c_str(), m_strProbe.c_str(), FALSE));
    }
    void TearDown() override { DeleteFileA(m_strProbe.c_str()); }

    // Runs the probe with |pszCommand|, presses |nButton| on the box it shows and returns the box.
    Box RunAndAnswer(const char* pszCommand, int nButton, DWORD* pdwExitCode) {
        ChildProcess probe(m_strProbe, pszCommand);
        EXPECT_TRUE(probe.Started()) << GetLastError();
        Box box = WaitForBox(probe.Id(), 10000);
        if (box.hWnd != NULL)
            PressButton(box, nButton);
        EXPECT_TRUE(probe.Wait(10000, pdwExitCode));
        return box;
    }

    const std::string m_strProbe = "C:\\Probe Program.v2.exe";
};
} // namespace

TEST_F(FrameworkStartupTest, MessageBoxIsCaptionedWithExecutableTitle) {
    DWORD dwExitCode = 0xdeadbeef;
    Box box = RunAndAnswer("box", IDOK, &dwExitCode);
    ASSERT_NE(nullptr, box.hWnd);
    EXPECT_EQ("Probe Program.v2", box.strCaption);
    EXPECT_EQ("Probe text", box.strBody);
    EXPECT_TRUE(box.bHasIcon);
    EXPECT_EQ(std::vector<std::string>({"OK"}), box.buttons);
    EXPECT_EQ(0u, dwExitCode);
}

TEST_F(FrameworkStartupTest, AssertionNamesFileAndLineAndIgnoreGoesOn) {
    DWORD dwExitCode = 0xdeadbeef;
    Box box = RunAndAnswer("assert", IDIGNORE, &dwExitCode);
    ASSERT_NE(nullptr, box.hWnd);
    EXPECT_EQ("Debug Assertion Failed!", box.strCaption);
    EXPECT_NE(std::string::npos,
              box.strBody.find("File: tests/framework/FrameworkProbe.cpp\nLine: "))
        << box.strBody;
    EXPECT_EQ(std::vector<std::string>({"&Abort", "&Retry", "&Ignore"}), box.buttons);
    EXPECT_EQ(0u, dwExitCode);
}

TEST_F(FrameworkStartupTest, AssertionAbortEndsProcessWithCode3) {
    DWORD dwExitCode = 0xdeadbeef;
    ASSERT_NE(nullptr, RunAndAnswer("assert", IDABORT, &dwExitCode).hWnd);
    EXPECT_EQ(3u, dwExitCode);
}

TEST_F(FrameworkStartupTest, FailedInitInstanceDestroysMainWindowAndRunsNoMessageLoop) {
    ChildProcess probe(m_strProbe, "mainwnd");
    ASSERT_TRUE(probe.Started()) << GetLastError();
    DWORD dwExitCode = 0xdeadbeef;
    ASSERT_TRUE(probe.Wait(10000, &dwExitCode)); // a message loop would never end
    EXPECT_EQ(42u, dwExitCode);
}

TEST_F(FrameworkStartupTest, ThrowWithoutMemoryIsCaught) {
    ChildProcess probe(m_strProbe, "pool");
    ASSERT_TRUE(probe.Started()) << GetLastError();
    DWORD dwExitCode = 0xdeadbeef;
    ASSERT_TRUE(probe.Wait(10000, &dwExitCode));
    EXPECT_EQ(43u, dwExitCode); // 3 when the runtime found no memory for it and ended the program
}
