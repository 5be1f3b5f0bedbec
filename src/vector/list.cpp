#include "vector/list.h"

#include "base/record.h"

static ErrorReport list_errors{"LIST error\n", false, 0};

ErrorReport& LIST_report() { return list_errors; }

LIST* LIST_new()
{
    LIST* list = record_new<LIST>();
    if (!list) {
        REPORT_raise(list_errors);
        return nullptr;
    }
    list->items = block_new<void*>(2);
    if (!list->items) {
        record_free(&list);
        REPORT_raise(list_errors);
        return nullptr;
    }
    list->capacity = 2;
    return list;
}

void LIST_free(LIST** list)
{
    if (!list || !*list) {
        REPORT_raise(list_errors);
        return;
    }
    record_free(list);
}

bool LIST_resize(LIST* list, int32_t capacity)
{
    if (!list || capacity < list->count || capacity <= 0) {
        REPORT_raise(list_errors);
        return false;
    }
    auto items = block_new<void*>(static_cast<std::size_t>(capacity));
    if (!items) {
        REPORT_raise(list_errors);
        return false;
    }
    for (int32_t i = list->count - 1; i >= 0; --i) items[i] = list->items[i];
    list->items = std::move(items);
    list->capacity = capacity;
    return true;
}

bool LIST_grow(LIST* list)
{
    if (!list) {
        REPORT_raise(list_errors);
        return false;
    }
    if (list->capacity > INT32_MAX / 2) {
        REPORT_raise(list_errors);
        return false;
    }
    return LIST_resize(list, list->capacity > 0 ? list->capacity * 2 : 2);
}

void LIST_append(LIST* list, void* item)
{
    if (!list) {
        REPORT_raise(list_errors);
        return;
    }
    // A failed growth leaves the list as it was; the item is not stored.
    if (list->count == list->capacity && !LIST_grow(list)) return;
    list->items[list->count++] = item;
}

void* LIST_pop(LIST* list)
{
    if (!list || list->count <= 0) {
        REPORT_raise(list_errors);
        return nullptr;
    }
    void* item = list->items[--list->count];
    list->items[list->count] = nullptr;
    return item;
}

int32_t LIST_remove_at(LIST* list, int32_t index)
{
    if (!list || index < 0 || index >= list->count) {
        REPORT_raise(list_errors);
        return -1;
    }
    for (int32_t i = index; i < list->count - 1; ++i) list->items[i] = list->items[i + 1];
    list->items[--list->count] = nullptr;
    return list->count;
}

void* LIST_get(const LIST* list, int32_t index)
{
    if (!list || index < 0 || index >= list->count) {
        REPORT_raise(list_errors);
        return nullptr;
    }
    return list->items[index];
}
