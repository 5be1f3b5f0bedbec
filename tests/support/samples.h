// The values of a SAMPLE as a vector, for comparing whole sounds.
#pragma once
#include <cstdint>
#include <vector>

#include "audio/sample.h"

inline std::vector<int32_t> values(const SAMPLE* s) { return {s->data.get(), s->data.get() + s->length}; }
