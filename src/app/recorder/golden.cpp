#include "app/recorder/golden.h"

#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "app/recorder/framehash.h"

void GOLDEN_stage(Golden* golden, const char* stage)
{
    if (!golden || !stage) return;
    std::string name = stage;
    // Every pass through the sequence begins with the first scene's fade-out.
    if (name == "radial fade-out") ++golden->pass;
    if (name != "start-up" && name != "exit fade-out") name = "pass " + std::to_string(golden->pass) + ": " + name;
    golden->stretches.push_back({name, golden->presentations, 0, FRAMEHASH_basis, {}});
}

void GOLDEN_frame(Golden* golden, uint64_t frame_hash)
{
    if (!golden) return;
    if (golden->stretches.empty()) golden->stretches.push_back({"start-up", golden->presentations, 0, FRAMEHASH_basis, {}});
    GoldenStretch& s = golden->stretches.back();
    if (s.length % GOLDEN_block == 0) s.blocks.push_back(FRAMEHASH_basis);
    s.blocks.back() = FRAMEHASH_step(s.blocks.back(), frame_hash);
    s.digest = FRAMEHASH_step(s.digest, frame_hash);
    ++s.length;
    ++golden->presentations;
}

void GOLDEN_bar(Golden* golden, const uint8_t* wav, std::size_t size)
{
    if (golden && wav) golden->bars.push_back(FRAMEHASH_bytes(wav, size));
}

std::string GOLDEN_text(const Golden* golden)
{
    if (!golden) return {};
    std::string out = "voxa7100 golden record\n";
    char line[160];
    out += "run " + golden->run + "\n";
    std::snprintf(line, sizeof line, "frame-ms %" PRIu32 "\n", golden->frame_ms);
    out += line;
    for (const GoldenStretch& s : golden->stretches) {
        // A stretch that presented nothing (a scene left at once) still shows where it stood.
        std::snprintf(line, sizeof line, "stretch %" PRId64 " %" PRId64 " %016" PRIx64 " %s\n", s.first, s.length,
                      s.digest, s.name.c_str());
        out += line;
        for (std::size_t b = 0; b < s.blocks.size(); ++b) {
            std::snprintf(line, sizeof line, "block %" PRId64 " %016" PRIx64 "\n",
                          s.first + static_cast<int64_t>(b) * GOLDEN_block, s.blocks[b]);
            out += line;
        }
    }
    for (std::size_t b = 0; b < golden->bars.size(); ++b) {
        std::snprintf(line, sizeof line, "bar %zu %016" PRIx64 "\n", b, golden->bars[b]);
        out += line;
    }
    std::snprintf(line, sizeof line, "end %" PRId64 " status %" PRId32 "\n", golden->presentations, golden->status);
    out += line;
    return out;
}
