// Watches the sizes the program asks of operator new, so that tests can bound the memory a
// hostile file costs without timing anything.
#pragma once

#include <cstddef>

// While one exists, the largest single allocation made is recorded.
class AllocationWatch {
public:
    AllocationWatch();
    ~AllocationWatch();
    AllocationWatch(const AllocationWatch&) = delete;
    AllocationWatch& operator=(const AllocationWatch&) = delete;

    // The largest block asked for since the watch began, in bytes.
    size_t largest() const;
};
