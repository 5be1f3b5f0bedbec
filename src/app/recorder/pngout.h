// PNGOUT: writes frames as PNG files for the recorder.
// Depends on: app/recorder/fileout, app/recorder/upscale, libpng.
// NOTE: pixels are 0x00RRGGBB words, top row first; the file is written through FILEOUT, so a
// failed write leaves nothing half-written behind. The scaled row
// is kept between calls, so that writing frame after frame of one size allocates no pixel buffer.
#pragma once
#include <cstdint>
#include <string>

// Writes a width x height picture as a (width * scale) x (height * scale) RGB PNG, every pixel a
// scale x scale block (scale 1 to UPSCALE_max); false (with a reason in *error) when it cannot.
bool PNGOUT_write(const std::string& path, const uint32_t* pixels, int32_t width, int32_t height, int32_t scale,
                  std::string* error);
