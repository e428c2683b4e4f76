#include "Allocations.h"

#include <cstdlib>
#include <new>

namespace {
bool g_bWatching = false;
bool g_bFail = false;
int g_nCount = 0;
std::size_t g_nLargest = 0;
std::size_t g_nTotal = 0;

void* Allocate(std::size_t nBytes) {
    if (g_bWatching) {
        if (g_bFail)
            return NULL;
        g_nCount++;
        g_nLargest = nBytes > g_nLargest ? nBytes : g_nLargest;
        g_nTotal += nBytes;
    }
    return std::malloc(nBytes != 0 ? nBytes : 1);
}
} // namespace

namespace test_support {

Allocations::Allocations(bool bFail) {
    g_bWatching = true;
    g_bFail = bFail;
    g_nCount = 0;
    g_nLargest = 0;
    g_nTotal = 0;
}

Allocations::~Allocations() {
    g_bWatching = false;
    g_bFail = false;
}

int Allocations::Count() const {
    return g_nCount;
}

std::size_t Allocations::Largest() const {
    return g_nLargest;
}

std::size_t Allocations::Total() const {
    return g_nTotal;
}

} // namespace test_support

// Every form that a plain or nothrow new or delete takes, so that the runtime's own (or the
// sanitizer's) never frees what these allocated.
void* operator new(std::size_t nBytes) {
    void* p = Allocate(nBytes);
    if (p == NULL)
        throw std::bad_alloc();
    return p;
}

void* operator new(std::size_t nBytes, const std::nothrow_t&) noexcept {
    return Allocate(nBytes);
}

void* operator new[](std::size_t nBytes) {
    return operator new(nBytes);
}

void* operator new[](std::size_t nBytes, const std::nothrow_t&) noexcept {
    return Allocate(nBytes);
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

void operator delete[](void* p) noexcept {
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
