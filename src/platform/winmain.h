// WINMAIN: the message pump and the key the window left for the keyboard.
// Depends on: platform/os.
// NOTE: one pending event is taken per pump; a key-down overwrites any key still waiting; a
// window-close ends the process with status 0 from inside the pump.
#pragma once
#include <cstdint>

// Takes at most one pending event and acts on it.
void WINMAIN_pump();
// The backend's code of the latest key-down not yet polled, 0 when none is waiting.
int32_t WINMAIN_pending_key();
// Sets the waiting key code (0 clears it).
void WINMAIN_set_pending_key(int32_t key);
