// The program's entry point. Linked into each program as an object of its own, so that the
// runtime's reference to WinMain finds it.
#include "CWinApp.h"

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}

#if defined(__GNUC__) && __GNUC__ >= 13
// GCC 13 and later keep the C++ runtime's thread primitives in one object of libgcc, which also
// imports GetThreadId (Windows Vista and Server 2003): a program linking it does not start on
// Windows 2000 or XP. Of that object the runtime's exception allocator needs only its mutex, a
// critical section there as here: these four keep the object out. (Older GCCs inline their own.)
extern "C" {
void __gthr_win32_mutex_init_function(void* pMutex) {
    ::InitializeCriticalSection(static_cast<CRITICAL_SECTION*>(pMutex));
}
void __gthr_win32_mutex_destroy(void* pMutex) {
    ::DeleteCriticalSection(static_cast<CRITICAL_SECTION*>(pMutex));
}
int __gthr_win32_mutex_lock(void* pMutex) {
    ::EnterCriticalSection(static_cast<CRITICAL_SECTION*>(pMutex));
    return 0;
}
int __gthr_win32_mutex_unlock(void* pMutex) {
    ::LeaveCriticalSection(static_cast<CRITICAL_SECTION*>(pMutex));
    return 0;
}
}
#endif
