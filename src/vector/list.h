// LIST: a growable list of untyped pointers that never owns its entries.
// Depends on: base/report, base/record.
// NOTE: indices run 0 .. count - 1; capacity starts at 2 and doubles; entries may be null. The
// list owns only its slot array: whoever owns the items frees them.
#pragma once
#include <cstdint>
#include <memory>

#include "base/report.h"

struct LIST {
    int32_t capacity = 0;                // slots in items
    int32_t count = 0;                   // slots in use
    std::unique_ptr<void*[]> items;      // capacity slots, index 0 first
};

// The module's error report ("LIST error\n").
ErrorReport& LIST_report();

// A new empty list of capacity 2, or null when memory runs out.
LIST* LIST_new();
// Frees the slot array and the record (not the items) and nulls the owner's pointer.
void LIST_free(LIST** list);
// Stores item at index count, growing the list first when it is full.
void LIST_append(LIST* list, void* item);
// Removes and returns the last item; null for an empty list.
void* LIST_pop(LIST* list);
// Removes the item at index, moving later items down; returns the new count, or -1 on a bad index.
int32_t LIST_remove_at(LIST* list, int32_t index);
// The item at index, or null outside 0 .. count - 1.
void* LIST_get(const LIST* list, int32_t index);
// Moves the items into a zeroed array of the new capacity; false (list unchanged) on failure.
bool LIST_resize(LIST* list, int32_t capacity);
// Doubles the capacity.
bool LIST_grow(LIST* list);
