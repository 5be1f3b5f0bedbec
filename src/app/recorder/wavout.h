// WAVOUT: writes sound as WAV files for the recorder.
// Depends on: the standard library only.
// NOTE: files are written under a temporary name and renamed when complete, so a failed write
// leaves nothing half-written behind.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Writes bytes as they are; false (with a reason in *error) when it cannot.
bool WAVOUT_write_bytes(const std::string& path, const uint8_t* bytes, std::size_t size, std::string* error);
// Writes 16-bit mono PCM values at 44100 per second as a WAV file.
bool WAVOUT_write_pcm(const std::string& path, const std::vector<int16_t>& values, std::string* error);
