#include "platform/winkbd.h"

#include "base/record.h"
#include "platform/os.h"
#include "platform/winmain.h"

static ErrorReport winkbd_errors{"WINKBD error\n", false, 0};

static struct {
    WINKBD* keyboard = nullptr;
} winkbd_state;

ErrorReport& WINKBD_report() { return winkbd_errors; }

WINKBD* WINKBD_new()
{
    if (!winkbd_state.keyboard) winkbd_state.keyboard = record_new<WINKBD>();
    return winkbd_state.keyboard;
}

void WINKBD_poll(WINKBD* keyboard)
{
    if (!keyboard) {
        REPORT_raise(winkbd_errors);
        return;
    }
    const int32_t key = WINMAIN_pending_key();
    if (key == 0) return;
    keyboard->key_buffer[0] = static_cast<uint8_t>(OS_key_char(key));
    WINMAIN_set_pending_key(0);
}
