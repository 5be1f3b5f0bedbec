// Counts heap allocations made through operator new, so tests can show that frames allocate nothing.
#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "support/child.h"

static std::atomic<long> allocations{0};
static std::atomic<long> live_bytes{0};

long allocation_count() { return allocations.load(std::memory_order_relaxed); }
long live_heap_bytes() { return live_bytes.load(std::memory_order_relaxed); }

static void* counted(void* p)
{
    if (p) live_bytes.fetch_add(static_cast<long>(malloc_usable_size(p)), std::memory_order_relaxed);
    return p;
}

static void release(void* p) noexcept
{
    if (p) live_bytes.fetch_sub(static_cast<long>(malloc_usable_size(p)), std::memory_order_relaxed);
    std::free(p);
}

static void* allocate(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = counted(std::malloc(size ? size : 1))) return p;
    throw std::bad_alloc();
}

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return counted(std::malloc(size ? size : 1));
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return counted(std::malloc(size ? size : 1));
}
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
