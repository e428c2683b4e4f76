// A newdev.dll without the driver installation function: some other DLL under that name.
#include <windows.h>

extern "C" __declspec(dllexport) BOOL WINAPI NotTheDriverInstaller() {
    return TRUE;
}
