// The program's entry point. Linked into each program as an object of its own, so that the
// runtime's reference to WinMain finds it.
#include "CWinApp.h"

#include <exception>

// The mutex type of the C++ runtime's exception allocator, as the runtime declares it.
#include <ext/concurrence.h>

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR lpCmdLine, int nCmdShow) {
    // The C++ runtime allocates a thread's exception state at its first throw, and ends the
    // program when it cannot: made now, a first throw for want of memory (CMemoryException)
    // finds it, and the exception object itself comes from the runtime's emergency pool.
    // Read through the runtime, which makes it; kept, though the runtime calls the read pure.
    volatile int nUncaught = std::uncaught_exceptions();
    (void)nUncaught;
    return AfxWinMain(hInstance, lpCmdLine, nCmdShow);
}

#ifdef AFX_WRAP_RUNTIME_MUTEX
// The C++ runtime's exception allocator locks its mutex through four out-of-line functions of
// libgcc's gthr-win32.o, in every GCC. Up to GCC 12 that object builds the mutex on a semaphore,
// which every Windows has. From GCC 13 on the mutex is a critical section, but the object also
// imports GetThreadId (Windows Vista and Server 2003): a program that links it does not start on
// Windows 2000 or XP. So the build links the programs with the linker's --wrap for the four
// (framework/CMakeLists.txt): the allocator's calls come here instead, and nothing of ours pulls
// the object in. Whatever else would (a guarded static, a thread_local with a destructor, a
// trylock) still links it, and the import check then names its imports.
//
// The functions take the runtime's mutex to be a critical section (GCC 13's and later's mirror
// CRITICAL_SECTION field for field), made by the init function below: a mutex that the runtime
// initialised statically would reach them never made.
static_assert(sizeof(__gthread_mutex_t) == sizeof(CRITICAL_SECTION) &&
                  alignof(__gthread_mutex_t) == alignof(CRITICAL_SECTION),
              "the C++ runtime's mutex is no longer a critical section: these would overrun it");
#ifdef __GTHREAD_MUTEX_INIT
#error "the C++ runtime initialises its mutex statically: these would lock one never made"
#endif

extern "C" {
void __wrap___gthr_win32_mutex_init_function(__gthread_mutex_t* pMutex) {
    ::InitializeCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(pMutex));
}
void __wrap___gthr_win32_mutex_destroy(__gthread_mutex_t* pMutex) {
    ::DeleteCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(pMutex));
}
int __wrap___gthr_win32_mutex_lock(__gthread_mutex_t* pMutex) {
    ::EnterCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(pMutex));
    return 0;
}
int __wrap___gthr_win32_mutex_unlock(__gthread_mutex_t* pMutex) {
    ::LeaveCriticalSection(reinterpret_cast<CRITICAL_SECTION*>(pMutex));
    return 0;
}
}
#endif
