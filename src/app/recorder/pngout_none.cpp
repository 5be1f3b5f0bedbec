// PNGOUT for builds without libpng (the WebAssembly recorder): writes nothing and says why. The
// recorder refuses --out there before the show starts, so this is never reached in a run.
#include "app/recorder/pngout.h"

bool PNGOUT_write(const std::string& path, const uint32_t*, int32_t, int32_t, int32_t, std::string* error)
{
    if (error) *error = "cannot write '" + path + "': this build has no PNG writer";
    return false;
}
