// The registry error box as a user sees it: shown from a worker thread, read and dismissed from
// the main thread. Runs sandboxed, with a display of its own.
#include "RegistryEx.h"
#include "TestRegistry.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

TEST(RegistryErrorBox, ShowsTheSystemTextAsCaptionAndCodeCallFileAndLineWithAnOkButton) {
    test_support::Thread worker(
        [] { ShowRegistryError(2, "RegEnumKeyEx", "registry/RegistryEx.cpp", 118); });
    // Until the box appears, or the worker returns without one: however long a loaded machine
    // takes to show it.
    test_support::Box box;
    while (box.hWnd == NULL && worker.Running())
        box = test_support::WaitForBox(GetCurrentProcessId(), 100);
    test_support::PressButton(box, IDOK);
    worker.Join(); // returns only once the box is gone

    ASSERT_NE(nullptr, box.hWnd);
    EXPECT_EQ(test_support::SystemText(2), box.strCaption);
    EXPECT_EQ("2 RegEnumKeyEx\nregistry/RegistryEx.cpp 118", box.strBody);
    EXPECT_TRUE(box.bHasIcon);
    EXPECT_EQ(std::vector<std::string>{"OK"}, box.buttons);
}
