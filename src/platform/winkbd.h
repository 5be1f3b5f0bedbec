// WINKBD: the keyboard state: the current key character, taken once per frame.
// Depends on: platform/os, platform/winmain, base/record, base/report.
// NOTE: byte 0 of key_buffer is the current key character, 0 for none; the module keeps one
// record and returns it from every WINKBD_new.
#pragma once
#include <cstdint>

#include "base/report.h"

struct WINKBD {
    uint8_t key_buffer[8] = {};
};

// The module's error report ("WINKBD error\n").
ErrorReport& WINKBD_report();

// The keyboard record (made on the first call).
WINKBD* WINKBD_new();
// When a key is waiting, stores its unshifted character in byte 0 and clears the waiting key.
void WINKBD_poll(WINKBD* keyboard);
