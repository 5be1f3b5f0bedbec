#include "platform/desktop.h"

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
