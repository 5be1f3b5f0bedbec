// WAVOUT: writes sound as WAV files for the recorder.
// Depends on: app/recorder/fileout.
// NOTE: values are 16-bit mono at 44100 per second, read from the caller's vector; the file is
// written through FILEOUT, so a failed write leaves nothing half-written behind.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Writes 16-bit mono PCM values at 44100 per second as a WAV file.
bool WAVOUT_write_pcm(const std::string& path, const std::vector<int16_t>& values, std::string* error);
