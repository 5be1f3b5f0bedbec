// MOUSE and the pointer it follows, on the headless backend: both need a display, and the sprite
// is drawn at the pointer, clipped at the frame's edges.
#include <gtest/gtest.h>

#include <string>

#include "backends/headless.h"
#include "platform/mouse.h"
#include "platform/windpy.h"
#include "platform/winptr.h"
#include "raster/img.h"
#include "support/child.h"

namespace {

TEST(Pointer, NeedsADisplayAndDrawsTheSpriteClippedAtThePointer)
{
    const ChildResult r = run_in_child([](std::string& out) {
        out += WINPTR_new() ? "P" : "-";  // no display yet
        out += MOUSE_new() ? "M" : "-";
        WINDPY_new();
        WINPTR* ptr = WINPTR_new();
        MOUSE* mouse = MOUSE_new();
        out += HEADLESS_cursor_hidden() ? "H" : "-";
        Image* target = IMG_new();
        IMG_resize(target, 256, 256);
        Image* sprite = IMG_new();  // 16 x 16
        IMG_fill(sprite, 0x0000FF);
        IMG_put(sprite, 0, 0, 0);  // black is transparent
        mouse->pointer = ptr, mouse->sprite = sprite, mouse->target = target;
        HEADLESS_set_pointer(250, -4);
        WINPTR_update(ptr);
        MOUSE_update(mouse);
        MOUSE_draw(mouse);
        int count = 0;
        for (int i = 0; i < 65536; ++i) count += target->pixels[i] != 0;
        out += " " + std::to_string(count) + " " + std::to_string(IMG_get(target, 250, 0)) + " " +
               std::to_string(IMG_get(target, 255, 11));
        HEADLESS_set_pointer(-20, 300);  // wholly outside: nothing is drawn
        WINPTR_update(ptr);
        MOUSE_update(mouse);
        IMG_fill(target, 0);
        MOUSE_draw(mouse);
        count = 0;
        for (int i = 0; i < 65536; ++i) count += target->pixels[i] != 0;
        out += " " + std::to_string(count);
    });
    // 6 columns x 12 rows visible; the sprite's top-left pixel (transparent) is above the edge.
    EXPECT_EQ(r.output, "--H 72 255 255 0");
}

}  // namespace
