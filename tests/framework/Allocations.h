// The test executable's own operator new and delete, which watch the framework's allocations:
// while an Allocations lives it counts them and keeps the largest, and it can make them fail
// as when memory has run out.
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
};

} // namespace test_support
