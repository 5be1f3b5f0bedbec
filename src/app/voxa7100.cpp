// The desktop program: the show in a window, with sound. Its options choose how the window shows
// the frame (size, fullscreen, pacing); they never change what the show draws or plays.
#include <cstdio>

#include "app/options.h"
#include "core/demo.h"

int main(int argc, char** argv)
{
    DesktopView view;
    std::string text;
    switch (OPTIONS_parse(argc, argv, &view, &text)) {
    case OPTIONS_SHOW:
        std::fputs(text.c_str(), stdout);
        return 0;
    case OPTIONS_BAD:
        std::fputs(text.c_str(), stderr);
        return 2;
    case OPTIONS_RUN:
        break;
    }
    OS_set_desktop_view(view);
    demo_main();
}
