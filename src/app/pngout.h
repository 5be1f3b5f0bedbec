// PNGOUT: writes frames as PNG files for the recorder.
// Depends on: libpng.
// NOTE: pixels are 0x00RRGGBB words, top row first; the file is written under a temporary name
// and renamed when complete, so a failed write leaves nothing half-written behind.
#pragma once
#include <cstdint>
#include <string>

// Writes a width x height RGB PNG; false (with a reason in *error) when it cannot.
bool PNGOUT_write(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height, std::string* error);
