// The allocator of the framework's strings and arrays. Memory that cannot be had throws the
// framework's CMemoryException, which a caller's catch (CException* e) sees, rather than the
// standard library's std::bad_alloc, which it would not.
#pragma once

#include <cstddef>
#include <new>

[[noreturn]] void AfxThrowMemoryException();

template <class T> class CAfxAllocator {
public:
    typedef T value_type;

    CAfxAllocator() = default;
    template <class U> CAfxAllocator(const CAfxAllocator<U>&) {}

    T* allocate(std::size_t nCount) {
        if (nCount > static_cast<std::size_t>(-1) / sizeof(T))
            AfxThrowMemoryException();
        try {
            return static_cast<T*>(::operator new(nCount * sizeof(T)));
        } catch (const std::bad_alloc&) {
            AfxThrowMemoryException();
        }
    }
    void deallocate(T* p, std::size_t) { ::operator delete(p); }
};

template <class T, class U> bool operator==(const CAfxAllocator<T>&, const CAfxAllocator<U>&) {
    return true;
}
template <class T, class U> bool operator!=(const CAfxAllocator<T>&, const CAfxAllocator<U>&) {
    return false;
}
