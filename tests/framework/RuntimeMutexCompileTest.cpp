// Compiled, never run: the programs' stand-ins for the C++ runtime's mutex functions beside the C++
// library's own declarations of the same functions, which <memory> brings; and the layout check
// refusing a mutex that is not a critical section.
#include <memory>

#include "AfxWinMain.cpp"

struct SemaphoreMutex { // GCC 12's: a count and a semaphore's handle
    long nCounter;
    void* hSemaphore;
};
static_assert(!AfxIsCriticalSection<SemaphoreMutex>, "the layout check takes any mutex");
