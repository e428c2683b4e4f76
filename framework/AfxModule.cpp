#include "AfxModule.h"

namespace {
HINSTANCE g_hInstance = NULL;
HINSTANCE g_hInstResource = NULL;
} // namespace

HINSTANCE AfxGetInstanceHandle() {
    return g_hInstance != NULL ? g_hInstance : ::GetModuleHandleA(NULL);
}

HINSTANCE AfxGetResourceHandle() {
    return g_hInstResource != NULL ? g_hInstResource : AfxGetInstanceHandle();
}

void AfxSetResourceHandle(HINSTANCE hInstResource) {
    g_hInstResource = hInstResource;
}

void AfxSetInstanceHandle(HINSTANCE hInstance) {
    g_hInstance = hInstance;
}
