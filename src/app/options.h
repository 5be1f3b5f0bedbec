// OPTIONS: the desktop programs' command line: --scale N, --fullscreen, --no-vsync, --verbose,
// --help and --version.
// Depends on: platform/desktop.
// NOTE: parsing prints nothing; it hands back the text to show (help, version or a usage message)
// so that each program can put it where its user sees it (a terminal, or a message box).
#pragma once
#include <string>

#include "platform/desktop.h"

// What the program does after parsing.
enum OptionsAction {
    OPTIONS_RUN = 0,   // play the show with the view parsed
    OPTIONS_SHOW = 1,  // print the text (help or version) on standard output; status 0
    OPTIONS_BAD = 2,   // print the text (one usage message) on standard error; status 2
};

// The program's version, one for the whole project.
const char* OPTIONS_version();
// Parses argv[1 .. argc-1] into *view; *text receives the help, version or usage message.
OptionsAction OPTIONS_parse(int argc, const char* const* argv, DesktopView* view, std::string* text);
