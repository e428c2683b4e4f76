// The test executable's own operator new and delete, which watch the framework's allocations:
// while an Allocations lives it counts them, keeps the largest and adds up their bytes, and it
// can make them fail as when memory has run out.
#pragma once

#include <cstddef>

namespace test_support {

class Allocations {
public:
    explicit Allocations(bool bFail = false);
    Allocations(const Allocations&) = delete;
    Allocations& operator=(const Allocations&) = delete;
    ~Allocations();

    int Count() const;
    std::size_t Largest() const;
    // Every byte allocated, freed or not: a bound on the most held at once.
    std::size_t Total() const;
};

} // namespace test_support
