// A program that no oldest Windows starts: it imports a function of Windows Vista and later (as
// the posix thread model's runtime once did), declared here rather than through a newer
// _WIN32_WINNT, and is linked to ask for subsystem 6.0.
#include <windows.h>

__declspec(dllimport) ULONGLONG WINAPI GetTickCount64(void);

int main(void) {
    return (int)(GetTickCount64() & 1);
}
