// The show in a web page (the program inside build-web/voxa7100.html, with the browser backend).
// It tells the page where each stretch of the show begins, so that the page can time each scene's
// frames and tests can follow the show.
#include <emscripten.h>

#include "core/demo.h"

EM_JS(void, web_stage, (const char* stage), { Module.page.stage(UTF8ToString(stage)); });

int main()
{
    demo_set_stage_listener(web_stage);
    demo_main();
}
