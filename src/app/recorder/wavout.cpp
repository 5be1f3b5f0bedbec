#include "app/recorder/wavout.h"

#include "app/recorder/fileout.h"

bool WAVOUT_write_pcm(const std::string& path, const std::vector<int16_t>& values, std::string* error)
{
    const auto data = static_cast<uint32_t>(values.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + data);
    auto text = [&](const char* s) { out.insert(out.end(), s, s + 4); };
    auto u32 = [&](uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](uint32_t v) {
        out.push_back(static_cast<uint8_t>(v));
        out.push_back(static_cast<uint8_t>(v >> 8));
    };
    text("RIFF");
    u32(36 + data);
    text("WAVE");
    text("fmt ");
    u32(16);
    u16(1);          // PCM
    u16(1);          // mono
    u32(44100);      // values per second
    u32(88200);      // bytes per second
    u16(2);          // bytes per value
    u16(16);         // bits per value
    text("data");
    u32(data);
    for (int16_t v : values) u16(static_cast<uint16_t>(v));
    return FILEOUT_write(path, out.data(), out.size(), error);
}
