// The desktop program (SDL, and native Windows as a GUI program): the show in a window, with
// sound. Its options choose how the window shows the frame (size, fullscreen, pacing); they never
// change what the show draws or plays. Help, version and usage go where the backend's user sees them.

#include "app/options.h"
#include "core/demo.h"

int main(int argc, char** argv)
{
    DesktopView view;
    std::string text;
    switch (OPTIONS_parse(argc, argv, &view, &text)) {
    case OPTIONS_SHOW:
        OS_show_text(text.c_str(), false);
        return 0;
    case OPTIONS_BAD:
        OS_show_text(text.c_str(), true);
        return 2;
    case OPTIONS_RUN:
        break;
    }
    OS_set_desktop_view(view);
    demo_main();
}
