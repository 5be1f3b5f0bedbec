#include "app/options.h"

#include <cerrno>
#include <cstdlib>

#ifndef VOXA_VERSION
#define VOXA_VERSION "0.0.0"
#endif

static constexpr char usage_line[] =
    "usage: voxa7100 [--scale N] [--fullscreen] [--no-vsync] [--verbose] [--help] [--version]\n";

static constexpr char help_text[] =
    "Plays the VOXA7100 show: five scenes with their own music, for ever.\n"
    "\n"
    "  --scale N     open the window at N x 256 (N from 1 up to what fits the screen)\n"
    "  --fullscreen  start in fullscreen; leaving it gives the window above\n"
    "  --no-vsync    never wait for the display's refresh (still at most 60 frames a second)\n"
    "  --verbose     say which renderer and which pacing are used\n"
    "  --help        show this text\n"
    "  --version     show the version\n"
    "\n"
    "Keys:\n"
    "  ESC           fade out and quit\n"
    "  SPACE         next part\n"
    "  1             scroll text on/off\n"
    "  4             raster bars on/off\n"
    "  5 / 6         pace at 50 / 100 frames per second\n"
    "  8             frame-rate and frame-counter overlay on/off\n"
    "  B             blur on/off\n"
    "  G             glare on/off\n"
    "  F             fading trails on/off\n"
    "  W             background: black, white, scene colour, trails (cycles)\n"
    "  O             freeze the music (the current bar keeps looping)\n"
    "  P             pause / resume\n"
    "  F11, Alt+Enter  fullscreen on/off\n"
    "\n"
    "The window can be resized: the frame is drawn at the largest whole-number scale that fits.\n";

const char* OPTIONS_version() { return VOXA_VERSION; }

static OptionsAction bad(std::string* text, const std::string& message)
{
    if (text) *text = "voxa7100: " + message + "\n" + usage_line + "Try 'voxa7100 --help' for more.\n";
    return OPTIONS_BAD;
}

OptionsAction OPTIONS_parse(int argc, const char* const* argv, DesktopView* view, std::string* text)
{
    DesktopView parsed;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i] ? argv[i] : "";
        if (arg == "--help" || arg == "-h") {
            if (text) *text = std::string(usage_line) + "\n" + help_text;
            return OPTIONS_SHOW;
        }
        if (arg == "--version") {
            if (text) *text = std::string("voxa7100 ") + VOXA_VERSION + "\n";
            return OPTIONS_SHOW;
        }
        if (arg == "--fullscreen") {
            parsed.fullscreen = true;
        } else if (arg == "--no-vsync") {
            parsed.vsync = false;
        } else if (arg == "--verbose") {
            parsed.verbose = true;
        } else if (arg == "--scale" || arg.rfind("--scale=", 0) == 0) {
            std::string value;
            if (arg == "--scale") {
                if (i + 1 >= argc || !argv[i + 1]) return bad(text, "--scale needs a whole number N of 1 or more");
                value = argv[++i];
            } else {
                value = arg.substr(8);
            }
            char* end = nullptr;
            errno = 0;
            const long n = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || errno != 0 || n < 1)
                return bad(text, "--scale needs a whole number N of 1 or more, not '" + value + "'");
            // Far beyond any screen; the backend refuses whatever does not fit the one it has.
            if (n > 1000) return bad(text, "--scale " + value + " does not fit any screen");
            parsed.scale = static_cast<int32_t>(n);
        } else {
            return bad(text, "unknown argument '" + arg + "'");
        }
    }
    if (view) *view = parsed;
    if (text) text->clear();
    return OPTIONS_RUN;
}
