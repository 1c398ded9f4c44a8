// Replaces the global operator new and delete of this test program with ones that note the
// largest request while an AllocationWatch is alive; the blocks come from malloc as usual.
#include "AllocationWatch.h"

#include <cstdlib>
#include <new>

namespace {

bool watching = false;
size_t largestRequest = 0;

void* allocate(size_t size) {
    if (watching && size > largestRequest) largestRequest = size;
    if (void* block = std::malloc(size ? size : 1)) return block;
    throw std::bad_alloc();
}

}  // namespace

AllocationWatch::AllocationWatch() {
    largestRequest = 0;
    watching = true;
}

AllocationWatch::~AllocationWatch() { watching = false; }

size_t AllocationWatch::largest() const { return largestRequest; }

void* operator new(size_t size) { return allocate(size); }
void* operator new[](size_t size) { return allocate(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, size_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t) noexcept { std::free(block); }
