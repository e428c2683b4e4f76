// GoogleTest's own port of one thread primitive for the win32 thread model, whose C++ library
// has no std::mutex or std::condition_variable: a Notification on a manual-reset event. GoogleTest
// includes this file, ahead of its own empty one, from the include directory that names it.
#pragma once

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : m_hEvent(CreateEventW(NULL, TRUE, FALSE, NULL)) {}
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;
    ~Notification() { CloseHandle(m_hEvent); }

    void Notify() { SetEvent(m_hEvent); }
    void WaitForNotification() { WaitForSingleObject(m_hEvent, INFINITE); }

private:
    HANDLE m_hEvent;
};

} // namespace internal
} // namespace testing
