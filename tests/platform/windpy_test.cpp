// WINDPY on the headless backend: which images it presents, and a freed display forgotten.
#include <gtest/gtest.h>

#include <string>

#include "backends/headless.h"
#include "platform/windpy.h"
#include "raster/img.h"
#include "support/child.h"

namespace {

TEST(Display, PresentsOnlyImagesOfItsOwnSize)
{
    const ChildResult r = run_in_child([](std::string& out) {
        WINDPY* d = WINDPY_new();
        Image* ok = IMG_new();
        IMG_resize(ok, 256, 256);
        Image* small = IMG_new();
        const long errors = WINDPY_report().count;
        WINDPY_show(d, ok);
        WINDPY_show(d, small);
        WINDPY_show(d, nullptr);
        out = std::to_string(HEADLESS_presentations()) + " " + std::to_string(WINDPY_report().count - errors);
        WINDPY_free(&d);  // the module forgets a freed display
        out += WINDPY_current() || d ? " kept" : " gone";
        IMG_free(&ok);
        IMG_free(&small);
    });
    EXPECT_EQ(r.output, "1 2 gone");
}

}  // namespace
