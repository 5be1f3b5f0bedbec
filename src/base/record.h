// RECORD: allocation of module records without raw new/delete.
// Depends on: the standard library only.
// NOTE: record_new returns a value-initialised (zeroed) record owned by the caller, or null when
// memory runs out; record_free deletes it and nulls the owner's pointer.
#pragma once
#include <memory>
#include <new>

template <class T>
T* record_new()
{
    try {
        return std::make_unique<T>().release();
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

template <class T>
void record_free(T** owner)
{
    if (owner) std::unique_ptr<T>(*owner).reset(), *owner = nullptr;
}

// A zeroed block of n values, or null when memory runs out.
template <class T>
std::unique_ptr<T[]> block_new(std::size_t n)
{
    try {
        return std::make_unique<T[]>(n);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
