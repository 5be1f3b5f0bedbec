#include "assets/embedded.h"

#include <cstring>

const EmbeddedAsset* EMBEDDED_find(const char* name)
{
    if (!name) return nullptr;
    for (const EmbeddedAsset* a = EMBEDDED_assets; a->name; ++a)
        if (std::strcmp(a->name, name) == 0) return a;
    return nullptr;
}
