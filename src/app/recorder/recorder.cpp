#include "app/recorder/recorder.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "app/recorder/fileout.h"
#include "app/recorder/pngout.h"
#include "app/recorder/upscale.h"
#include "app/recorder/wavout.h"
#include "backends/headless.h"
#include "core/demo.h"
#include "core/song.h"

namespace {

// Thrown by the backend's hooks to leave the show with an exit status.
struct StopRun {
    int status;
};

// The show's bar and stage listeners are plain functions: they find the run they fill here.
struct {
    Recorder* listening = nullptr;
} recorder_hooks;

[[noreturn]] void usage_error(const std::string& message)
{
    std::fprintf(stderr,
                 "voxa7100-record: %s\n"
                 "usage: voxa7100-record --frames N [--out DIR] [--every K] [--keys P:KEY,...] [--frame-ms MS] "
                 "[--pointer X,Y] [--wav FILE] [--bars DIR] [--video FILE] [--hash] [--hash-each] [--golden FILE] "
                 "[--scale N]\n",
                 message.c_str());
    std::exit(2);
}

// Says why something failed during the run, in the recorder's own words.
void say(const std::string& error) { std::fprintf(stderr, "voxa7100-record: %s\n", error.c_str()); }

bool parse_count(const char* text, int64_t min, int64_t max, int64_t* value)
{
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(text, &end, 10);
    if (errno != 0 || *end != '\0' || v < min || v > max) return false;
    *value = v;
    return true;
}

int32_t parse_key(const std::string& name)
{
    if (name == "space") return 0x20;
    if (name == "esc") return 0x1B;
    if (name.size() == 1 && static_cast<unsigned char>(name[0]) > 0x20 && static_cast<unsigned char>(name[0]) < 0x7F)
        return static_cast<unsigned char>(name[0]);
    return -1;
}

void parse_keys(const std::string& list, RecorderOptions& options)
{
    std::size_t at = 0;
    while (at <= list.size()) {
        const std::size_t comma = list.find(',', at);
        const std::string item = list.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
        const std::size_t colon = item.find(':');
        int64_t number = 0;
        if (colon == std::string::npos || !parse_count(item.substr(0, colon).c_str(), 0, INT64_MAX / 2, &number))
            usage_error("bad --keys item '" + item + "' (expected P:KEY, KEY one character, space or esc)");
        const int32_t key = parse_key(item.substr(colon + 1));
        if (key < 0) usage_error("bad key in --keys item '" + item + "' (one character, space or esc)");
        options.keys.emplace_back(number, key);
        if (comma == std::string::npos) break;
        at = comma + 1;
    }
}

void parse_pointer(const std::string& xy, RecorderOptions& options)
{
    const std::size_t comma = xy.find(',');
    int64_t x = 0, y = 0;
    if (comma == std::string::npos || !parse_count(xy.substr(0, comma).c_str(), -100000, 100000, &x) ||
        !parse_count(xy.substr(comma + 1).c_str(), -100000, 100000, &y))
        usage_error("--pointer needs X,Y in window pixels");
    options.pointer_x = static_cast<int32_t>(x), options.pointer_y = static_cast<int32_t>(y);
}

// The arguments being read; `at` is the one in hand.
struct Args {
    int count;
    char** values;
    int at;
};

// The value after the option in hand, which becomes the argument in hand.
const char* option_value(Args& args)
{
    if (args.at + 1 >= args.count) usage_error(std::string(args.values[args.at]) + " needs a value");
    return args.values[++args.at];
}

// Takes a file or folder option and its value; false when arg is none of them.
bool take_path(RecorderOptions& o, Args& args, const std::string& arg)
{
    static const struct {
        const char* name;
        std::string RecorderOptions::*field;
        const char* what;  // what the option names, for the message when its value is empty
    } paths[] = {{"--out", &RecorderOptions::out, "a folder"},
                 {"--wav", &RecorderOptions::wav, "a file name"},
                 {"--bars", &RecorderOptions::bars, "a folder"},
                 {"--video", &RecorderOptions::video, "a file name"},
                 {"--golden", &RecorderOptions::golden, "a file name"}};
    for (const auto& path : paths) {
        if (arg != path.name) continue;
        std::string& value = o.*path.field;
        value = option_value(args);
        if (value.empty()) usage_error(arg + " needs " + path.what);
        return true;
    }
    return false;
}

// Takes an option with a number (or numbers) and its value; false when arg is none of them.
bool take_number(RecorderOptions& o, Args& args, const std::string& arg)
{
    int64_t v = 0;
    if (arg == "--frames") {
        if (!parse_count(option_value(args), 1, INT64_MAX / 2, &v)) usage_error("--frames needs a whole number of 1 or more");
        o.frames = v;
    } else if (arg == "--every") {
        if (!parse_count(option_value(args), 1, INT64_MAX / 2, &v)) usage_error("--every needs a whole number of 1 or more");
        o.every = v;
    } else if (arg == "--frame-ms") {
        if (!parse_count(option_value(args), 0, 60000, &v)) usage_error("--frame-ms needs a whole number from 0 to 60000");
        o.frame_ms = static_cast<uint32_t>(v);
        o.frame_ms_given = true;
    } else if (arg == "--scale") {
        if (!parse_count(option_value(args), 1, UPSCALE_max, &v))
            usage_error("--scale needs a whole number from 1 to " + std::to_string(UPSCALE_max));
        o.scale = static_cast<int32_t>(v);
    } else if (arg == "--pointer") {
        parse_pointer(option_value(args), o);
    } else {
        return false;
    }
    return true;
}

// Takes the option in hand (and its value).
void take_option(RecorderOptions& o, Args& args)
{
    const std::string arg = args.values[args.at];
    if (arg == "--hash")
        o.hash = true;
    else if (arg == "--hash-each")
        o.hash_each = true;
    else if (arg == "--keys")
        parse_keys(option_value(args), o);
    else if (!take_path(o, args, arg) && !take_number(o, args, arg))
        usage_error("unknown argument '" + arg + "'");
}

// What the options ask for together, once all are read.
void check_options(RecorderOptions& o)
{
    if (o.frames < 0) usage_error("--frames is required");
#if defined(VOXA_RECORD_NO_PNG_VIDEO)
    // The WebAssembly build has no libpng and cannot start an encoder process.
    if (!o.out.empty()) usage_error("--out is not available in this build (no PNG writer); use --hash-each or --golden");
    if (!o.video.empty()) usage_error("--video is not available in this build (it cannot run ffmpeg)");
#endif
    // Unpaced parts would flash by in a video: charge each presentation one video frame's time.
    if (!o.video.empty() && !o.frame_ms_given) o.frame_ms = VIDEOOUT_frame_ms;
}

// Makes the output folder (and checks that it can be written) before the show starts.
void prepare_out(const std::string& dir)
{
    if (dir.empty()) return;
    if (::mkdir(dir.c_str(), 0777) != 0 && errno != EEXIST) usage_error("cannot create '" + dir + "': " + std::strerror(errno));
    struct stat st {};
    if (::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) usage_error("'" + dir + "' is not a folder");
    const std::string probe = dir + "/.voxa7100-record-probe";
    std::FILE* f = std::fopen(probe.c_str(), "wb");
    if (!f) usage_error("cannot write into '" + dir + "': " + std::strerror(errno));
    std::fclose(f);
    std::remove(probe.c_str());
}

// Fails before the show rather than after it when a file the run ends with cannot be written.
void prepare_files(const RecorderOptions& o)
{
    std::string error;
    if (!o.wav.empty()) {
        if (!WAVOUT_write_pcm(o.wav, {}, &error)) usage_error("cannot write '" + o.wav + "'");
        std::remove(o.wav.c_str());
    }
    if (!o.golden.empty()) {
        if (!FILEOUT_write(o.golden, nullptr, 0, &error)) usage_error("cannot write '" + o.golden + "'");
        std::remove(o.golden.c_str());
    }
}

// Every bar the player starts: into the golden record, and as a file of its own with --bars.
void on_bar(const uint8_t* wav, std::size_t size)
{
    Recorder* r = recorder_hooks.listening;
    if (!r) return;
    if (!r->options.golden.empty()) GOLDEN_bar(&r->golden, wav, size);
    if (r->options.bars.empty()) return;
    char name[32];
    std::snprintf(name, sizeof name, "/bar-%03d.wav", r->bar_number++);
    std::string error;
    if (!r->bar_failed && !FILEOUT_write(r->options.bars + name, wav, size, &error)) {
        say(error);
        r->bar_failed = true;
    }
}

// Every stretch the show begins (a scene's loop, a fade), for the golden record.
void on_stage(const char* stage)
{
    if (recorder_hooks.listening) GOLDEN_stage(&recorder_hooks.listening->golden, stage);
}

// Hands the show's bars and stages to the record, as far as the options need them.
void listen_to_show(Recorder* r)
{
    const RecorderOptions& o = r->options;
    recorder_hooks.listening = r;
    r->golden.run = o.run;
    r->golden.frame_ms = o.frame_ms;
    if (!o.bars.empty() || !o.golden.empty()) demo_set_bar_listener(on_bar);
    if (!o.golden.empty()) demo_set_stage_listener(on_stage);
}

// Starts the video writer when --video asks for one; false (the reason said) when it cannot.
bool start_video(Recorder* r)
{
    const RecorderOptions& o = r->options;
    if (o.video.empty()) return true;
    const std::string ffmpeg = VIDEOOUT_find_program("ffmpeg");
    std::string error;
    if (ffmpeg.empty())
        error = "--video needs the ffmpeg program, which is not installed (not found on PATH); "
                "install it (for example: apt-get install ffmpeg)";
    else
        r->video = VIDEOOUT_new(ffmpeg, o.video, frame_width, frame_height, o.scale, &error);
    if (r->video) return true;
    say(error);
    return false;
}

// The hashes of a presentation: the run's, the line of --hash-each and the golden record's.
void hash_frame(Recorder* r, const HeadlessFrame& frame)
{
    const RecorderOptions& o = r->options;
    const int32_t count = frame.width * frame.height;
    if (o.hash) r->hash = FRAMEHASH_pixels(r->hash, frame.pixels, count);
    if (!o.hash_each && o.golden.empty()) return;
    const uint64_t one = FRAMEHASH_frame(frame.pixels, count);
    if (o.hash_each) std::printf("%lld %016llx\n", static_cast<long long>(frame.number), static_cast<unsigned long long>(one));
    if (!o.golden.empty()) GOLDEN_frame(&r->golden, one);
}

// Writes every K-th presentation as a PNG file; a failure stops the run.
void write_png_frame(const Recorder* r, const HeadlessFrame& frame)
{
    const RecorderOptions& o = r->options;
    if (o.out.empty() || frame.number % o.every != 0) return;
    char name[32];
    std::snprintf(name, sizeof name, "/frame-%06lld.png", static_cast<long long>(frame.number));
    std::string error;
    if (!PNGOUT_write(o.out + name, frame.pixels, frame.width, frame.height, o.scale, &error)) {
        say(error);
        throw StopRun{2};
    }
}

// Hands the presentation to the video writer; a failure stops the run.
void present_video(Recorder* r, const HeadlessFrame& frame)
{
    if (!r->video) return;
    std::string error;
    if (frame.width != frame_width || frame.height != frame_height) error = "the frame size changed";
    if (!error.empty() || !VIDEOOUT_present(r->video, frame.pixels, frame.ms, &error)) {
        say(error);
        throw StopRun{2};
    }
}

// Every presentation: hashed, written, counted; the last one asked for ends the run.
void on_frame(Recorder* r, const HeadlessFrame& frame)
{
    hash_frame(r, frame);
    write_png_frame(r, frame);
    present_video(r, frame);
    r->last_ms = frame.ms;
    const int64_t done = frame.number + 1;
    const int64_t frames = r->options.frames;
    if (frames >= 2000 && done % 1000 == 0)
        std::fprintf(stderr, "voxa7100-record: %lld of %lld frames\n", static_cast<long long>(done),
                     static_cast<long long>(frames));
    if (done >= frames) throw StopRun{0};
}

// Paused with no key left in the script: nothing more will ever be shown, so the run cannot make
// what it was asked for.
[[noreturn]] void on_idle(const Recorder* r)
{
    std::fprintf(stderr, "voxa7100-record: the show is paused and no key is left to resume it; stopped after "
                         "%lld of %lld presentations\n",
                 static_cast<long long>(HEADLESS_presentations()), static_cast<long long>(r->options.frames));
    throw StopRun{1};
}

// Gives the headless backend the run's clock, keys and pointer, and hooks its presentations,
// its exit and its idle waits to the record.
void hook_backend(Recorder* r)
{
    const RecorderOptions& o = r->options;
    HEADLESS_set_frame_ms(o.frame_ms);
    // The sound timeline grows with every bar; keep it only when the sound is written.
    HEADLESS_keep_audio(!o.wav.empty() || r->video);
    HEADLESS_set_pointer(o.pointer_x, o.pointer_y);
    for (const auto& [number, key] : o.keys) HEADLESS_schedule_key(number, key);
    HEADLESS_set_sink([r](const HeadlessFrame& frame) { on_frame(r, frame); });
    HEADLESS_set_exit([](int status) { throw StopRun{status}; });
    HEADLESS_set_idle([r] { on_idle(r); });
}

// Writes what a listener heard up to the last presentation, unless the run already failed.
void write_sound(Recorder* r)
{
    if (r->options.wav.empty() || r->status == 2) return;
    std::string error;
    if (!WAVOUT_write_pcm(r->options.wav, HEADLESS_render_audio(0, r->last_ms), &error)) {
        say(error);
        r->status = 2;
    }
}

// Puts the video in place with its sound, unless the run already failed; the writer goes either way.
void finish_video(Recorder* r)
{
    if (r->video && r->status != 2) {
        std::string error;
        if (!VIDEOOUT_finish(r->video, HEADLESS_render_audio, &error)) {
            say(error);
            r->status = 2;
        }
    }
    VIDEOOUT_free(&r->video);
}

// Writes the golden record, which ends with the run's status.
void write_golden(Recorder* r)
{
    if (r->options.golden.empty()) return;
    r->golden.status = r->status;
    const std::string text = GOLDEN_text(&r->golden);
    std::string error;
    if (!FILEOUT_write(r->options.golden, reinterpret_cast<const uint8_t*>(text.data()), text.size(), &error)) {
        say(error);
        r->status = 2;
    }
}

}  // namespace

void RECORDER_parse(Recorder* recorder, int argc, char** argv)
{
    if (!recorder || !argv) return;
    RecorderOptions& o = recorder->options;
    for (Args args{argc, argv, 1}; args.at < argc; ++args.at) {
        const int first = args.at;
        take_option(o, args);
        // The record's file and the viewing scale do not change what the run shows.
        const std::string arg = argv[first];
        if (arg == "--golden" || arg == "--scale") continue;
        for (int k = first; k <= args.at; ++k) {
            if (!o.run.empty()) o.run += ' ';
            o.run += argv[k];
        }
    }
    check_options(o);
}

bool RECORDER_open(Recorder* recorder)
{
    if (!recorder) return false;
    prepare_out(recorder->options.out);
    prepare_out(recorder->options.bars);
    prepare_files(recorder->options);
    listen_to_show(recorder);
    // Made last: an error above ends the process at once, and the video's temporaries must not outlive it.
    if (!start_video(recorder)) {
        recorder->status = 2;
        return false;
    }
    hook_backend(recorder);
    return true;
}

void RECORDER_run(Recorder* recorder)
{
    if (!recorder) return;
    try {
        demo_main();
    } catch (const StopRun& stop) {
        recorder->status = stop.status;
    }
}

int32_t RECORDER_finish(Recorder* recorder)
{
    if (!recorder) return 2;
    write_sound(recorder);
    finish_video(recorder);
    if (recorder->bar_failed) recorder->status = 2;
    write_golden(recorder);
    if (recorder->options.hash)
        std::printf("%016llx %lld\n", static_cast<unsigned long long>(recorder->hash),
                    static_cast<long long>(HEADLESS_presentations()));
    recorder_hooks.listening = nullptr;
    return recorder->status;
}
