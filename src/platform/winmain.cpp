#include "platform/winmain.h"

#include "platform/os.h"

static struct {
    int32_t pending_key = 0;
} winmain_state;

int32_t WINMAIN_pending_key() { return winmain_state.pending_key; }

void WINMAIN_set_pending_key(int32_t key) { winmain_state.pending_key = key; }

void WINMAIN_pump()
{
    int32_t key = 0;
    switch (OS_pump(&key)) {
    case OS_EVENT_KEY_DOWN:
        winmain_state.pending_key = key;
        break;
    case OS_EVENT_CLOSE:
        // The window is gone: end at once, without a fade.
        OS_exit(0);
    default:
        break;
    }
}
