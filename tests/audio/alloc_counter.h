#pragma once
#include <cstddef>

namespace vortel::testing {

// Number of calls to the global operator new (all forms) since the program
// started. The test program replaces the global allocation functions to
// count them.
std::size_t allocationCount();

// Counts the allocations made while it is alive.
class AllocationScope {
public:
    AllocationScope() : start_(allocationCount()) {}
    std::size_t count() const { return allocationCount() - start_; }

private:
    std::size_t start_;
};

}  // namespace vortel::testing
