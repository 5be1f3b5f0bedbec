// The desktop program: the show in a window, with sound. It takes no command line.
#include "core/demo.h"

int main() { demo_main(); }
