// The registry error box as a user sees it: shown from a worker thread, read and dismissed from
// the main thread. Runs sandboxed, with a display of its own.
#include "RegistryEx.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <thread>

TEST(RegistryErrorBox, ShowsTheSystemTextAsCaptionAndCodeCallFileAndLineWithAnOkButton) {
    std::thread worker(
        [] { ShowRegistryError(2, "RegEnumKeyEx", "registry/RegistryEx.cpp", 118); });
    test_support::Box box = test_support::WaitForBox(GetCurrentProcessId(), 10000);
    test_support::PressButton(box, IDOK);
    worker.join(); // returns only once the box is gone

    LPSTR lpszSystemText = NULL;
    FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_IGNORE_INSERTS |
                       FORMAT_MESSAGE_FROM_SYSTEM,
                   NULL, 2, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
                   reinterpret_cast<LPSTR>(&lpszSystemText), 0, NULL);
    ASSERT_NE(nullptr, lpszSystemText);
    std::string strSystemText = lpszSystemText;
    LocalFree(lpszSystemText);

    ASSERT_NE(nullptr, box.hWnd);
    EXPECT_EQ(strSystemText, box.strCaption);
    EXPECT_EQ("2 RegEnumKeyEx\nregistry/RegistryEx.cpp 118", box.strBody);
    EXPECT_TRUE(box.bHasIcon);
    EXPECT_EQ(std::vector<std::string>{"OK"}, box.buttons);
}
