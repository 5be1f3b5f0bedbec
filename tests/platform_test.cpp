// The platform layer on the headless backend: keys, pointer, display checks.
#include <gtest/gtest.h>

#include "backends/headless.h"
#include "platform/mouse.h"
#include "platform/windpy.h"
#include "platform/winkbd.h"
#include "platform/winmain.h"
#include "platform/winptr.h"
#include "support/child.h"

namespace {

TEST(Keyboard, ALaterKeyReplacesOneStillPendingAndActsOnce)
{
    const ChildResult r = run_in_child([](std::string& out) {
        WINKBD* kbd = WINKBD_new();
        HEADLESS_push_key('a');
        HEADLESS_push_key('7');
        WINMAIN_pump();
        WINMAIN_pump();  // the second key-down overwrites the first before the poll
        WINKBD_poll(kbd);
        out += static_cast<char>(kbd->key_buffer[0]);
        kbd->key_buffer[0] = 0;
        WINKBD_poll(kbd);  // nothing pending: the buffer keeps what it has
        out += static_cast<char>(kbd->key_buffer[0] ? kbd->key_buffer[0] : '-');
        out += WINKBD_new() == kbd ? "S" : "N";
    });
    EXPECT_EQ(r.output, "7-S");
}

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
