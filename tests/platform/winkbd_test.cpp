// WINKBD on the headless backend: the key pending at the poll, taken once.
#include <gtest/gtest.h>

#include <string>

#include "backends/headless.h"
#include "platform/winkbd.h"
#include "platform/winmain.h"
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

}  // namespace
