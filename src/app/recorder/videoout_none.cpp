// VIDEOOUT for builds that cannot start processes (the WebAssembly recorder): no encoder, and
// every call says so. The recorder refuses --video there before the show starts.
#include "app/recorder/videoout.h"

std::string VIDEOOUT_find_program(const std::string&) { return {}; }

VideoOut* VIDEOOUT_new(const std::string&, const std::string&, int32_t, int32_t, int32_t, std::string* error)
{
    if (error) *error = "this build cannot write videos (it cannot run ffmpeg)";
    return nullptr;
}

bool VIDEOOUT_present(VideoOut*, const uint32_t*, uint32_t, std::string* error)
{
    if (error) *error = "this build cannot write videos";
    return false;
}

bool VIDEOOUT_finish(VideoOut*, const VideoSound&, std::string* error)
{
    if (error) *error = "this build cannot write videos";
    return false;
}

void VIDEOOUT_free(VideoOut** video)
{
    if (video) *video = nullptr;
}
