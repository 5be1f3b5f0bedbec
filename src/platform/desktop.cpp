#include "platform/desktop.h"

#include "platform/pace.h"

std::string DESKTOP_scale_refusal(int32_t scale, int32_t free_w, int32_t free_h, int32_t most)
{
    std::string text = "voxa7100: --scale " + std::to_string(scale) + " does not fit the screen (" +
                       std::to_string(free_w) + " x " + std::to_string(free_h) + " pixels free";
    if (most >= 1) text += "; at most --scale " + std::to_string(most);
    return text + ")\n";
}

std::string DESKTOP_verbose_line(const std::string& renderer, const std::string& pacing)
{
    return "voxa7100: renderer " + renderer + "; pacing: " + pacing + "\n";
}

std::string DESKTOP_pacing_text(bool vsync, int32_t refresh_hz, const std::string& detail)
{
    const std::string display = refresh_hz > 0 ? "the display's " + std::to_string(refresh_hz) + " Hz"
                                               : "the display's rate unknown, taken as 60 Hz";
    const std::string hold = "held to " + std::to_string(PACE_hold_rate) + " presentations a second";
    if (vsync) return "vsync (" + detail + "; " + display + "), " + hold;
    return hold + ", no vsync (" + detail + "; " + display + ")";
}
