// voxa7100-record: runs the show on the headless backend and writes what the window would show.
//
//   voxa7100-record --frames N [--out DIR] [--every K] [--keys P:KEY,...] [--frame-ms MS]
//                   [--pointer X,Y] [--wav FILE] [--bars DIR] [--video FILE] [--hash] [--hash-each]
//                   [--golden FILE] [--scale N]
//
// Presentations are numbered from 0 (start-up pictures included). Every K-th one is written as
// DIR/frame-NNNNNN.png; a listed key is pressed just before presentation P (KEY is one character,
// `space` or `esc`); every presentation costs MS milliseconds of virtual time (default 0). The
// pointer rests at (X, Y) in window pixels (default 0,0). --hash prints one hash of all frames,
// --hash-each one line "NUMBER HASH" per presentation (64-bit FNV-1a of the 0x00RRGGBB words).
// --wav writes what a listener hears from the start up to the last recorded presentation;
// --bars writes every bar the player starts, its WAV image as is: DIR/bar-000.wav, bar-001.wav...
// --video writes a 50 frames per second video with its sound through the ffmpeg program; each frame
// shows what the window shows at its instant of virtual time, and every presentation then costs
// 20 ms unless --frame-ms says otherwise.
// --golden writes the run's golden record (tests/golden): a digest of every stretch of the show and
// of every block of 50 presentations in it, and of every bar.
// --scale N writes the PNG frames and the video N times as large, every pixel an N x N block; the
// hashes and the golden record always digest the 256 x 256 presentation, so they never change.
// While the show is paused nothing is presented, so the next listed key arrives at once; a show
// paused with no key left to resume it cannot make what was asked, and the run ends with status 1.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/demo.h"
#include "core/song.h"
#include "app/recorder/fileout.h"
#include "app/recorder/framehash.h"
#include "app/recorder/golden.h"
#include "backends/headless.h"
#include "app/recorder/pngout.h"
#include "app/recorder/upscale.h"
#include "app/recorder/videoout.h"
#include "app/recorder/wavout.h"

namespace {

struct StopRun {
    int status;
};

struct Options {
    int64_t frames = -1;
    std::string out;
    int64_t every = 1;
    uint32_t frame_ms = 0;
    bool frame_ms_given = false;
    int32_t scale = 1;
    bool hash = false;
    bool hash_each = false;
    std::string wav;
    std::string bars;
    std::string video;
    std::string golden;
    std::string run;  // the arguments but --golden and --scale, which reproduce the run
    int32_t pointer_x = 0, pointer_y = 0;
    std::vector<std::pair<int64_t, int32_t>> keys;
};

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

void parse_keys(const std::string& list, Options& options)
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

Options parse(int argc, char** argv)
{
    Options o;
    for (int i = 1; i < argc; ++i) {
        const int first = i;
        const std::string arg = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) usage_error(arg + " needs a value");
            return argv[++i];
        };
        int64_t v = 0;
        if (arg == "--frames") {
            if (!parse_count(value(), 1, INT64_MAX / 2, &v)) usage_error("--frames needs a whole number of 1 or more");
            o.frames = v;
        } else if (arg == "--out") {
            o.out = value();
            if (o.out.empty()) usage_error("--out needs a folder");
        } else if (arg == "--every") {
            if (!parse_count(value(), 1, INT64_MAX / 2, &v)) usage_error("--every needs a whole number of 1 or more");
            o.every = v;
        } else if (arg == "--frame-ms") {
            if (!parse_count(value(), 0, 60000, &v)) usage_error("--frame-ms needs a whole number from 0 to 60000");
            o.frame_ms = static_cast<uint32_t>(v);
            o.frame_ms_given = true;
        } else if (arg == "--keys") {
            parse_keys(value(), o);
        } else if (arg == "--hash") {
            o.hash = true;
        } else if (arg == "--wav") {
            o.wav = value();
            if (o.wav.empty()) usage_error("--wav needs a file name");
        } else if (arg == "--bars") {
            o.bars = value();
            if (o.bars.empty()) usage_error("--bars needs a folder");
        } else if (arg == "--video") {
            o.video = value();
            if (o.video.empty()) usage_error("--video needs a file name");
        } else if (arg == "--golden") {
            o.golden = value();
            if (o.golden.empty()) usage_error("--golden needs a file name");
            continue;
        } else if (arg == "--scale") {
            if (!parse_count(value(), 1, UPSCALE_max, &v))
                usage_error("--scale needs a whole number from 1 to " + std::to_string(UPSCALE_max));
            o.scale = static_cast<int32_t>(v);
            // A viewing choice: the golden record of a run is the same at every scale.
            continue;
        } else if (arg == "--hash-each") {
            o.hash_each = true;
        } else if (arg == "--pointer") {
            const std::string xy = value();
            const std::size_t comma = xy.find(',');
            int64_t x = 0, y = 0;
            if (comma == std::string::npos || !parse_count(xy.substr(0, comma).c_str(), -100000, 100000, &x) ||
                !parse_count(xy.substr(comma + 1).c_str(), -100000, 100000, &y))
                usage_error("--pointer needs X,Y in window pixels");
            o.pointer_x = static_cast<int32_t>(x), o.pointer_y = static_cast<int32_t>(y);
        } else {
            usage_error("unknown argument '" + arg + "'");
        }
        for (int k = first; k <= i; ++k) {
            if (!o.run.empty()) o.run += ' ';
            o.run += argv[k];
        }
    }
    if (o.frames < 0) usage_error("--frames is required");
#if defined(VOXA_RECORD_NO_PNG_VIDEO)
    // The WebAssembly build has no libpng and cannot start an encoder process.
    if (!o.out.empty()) usage_error("--out is not available in this build (no PNG writer); use --hash-each or --golden");
    if (!o.video.empty()) usage_error("--video is not available in this build (it cannot run ffmpeg)");
#endif
    // Unpaced parts would flash by in a video: charge each presentation one video frame's time.
    if (!o.video.empty() && !o.frame_ms_given) o.frame_ms = VIDEOOUT_frame_ms;
    return o;
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

}  // namespace

int main(int argc, char** argv)
{
    const Options options = parse(argc, argv);
    prepare_out(options.out);
    prepare_out(options.bars);
    if (!options.wav.empty()) {
        // Fail before the show rather than after it when the sound file cannot be written.
        std::string error;
        if (!WAVOUT_write_pcm(options.wav, {}, &error)) usage_error("cannot write '" + options.wav + "'");
        std::remove(options.wav.c_str());
    }
    if (!options.golden.empty()) {
        std::string error;
        if (!FILEOUT_write(options.golden, nullptr, 0, &error)) usage_error("cannot write '" + options.golden + "'");
        std::remove(options.golden.c_str());
    }
    // The show's listeners are plain functions: what they fill lives here.
    static std::string bars_dir;
    static int bar_number = 0;
    static bool bar_failed = false;
    static Golden golden;
    static bool keep_golden = false;
    bars_dir = options.bars;
    keep_golden = !options.golden.empty();
    golden.run = options.run;
    golden.frame_ms = options.frame_ms;
    if (!bars_dir.empty() || keep_golden)
        demo_set_bar_listener([](const uint8_t* wav, std::size_t size) {
            if (keep_golden) GOLDEN_bar(&golden, wav, size);
            if (bars_dir.empty()) return;
            char name[32];
            std::snprintf(name, sizeof name, "/bar-%03d.wav", bar_number++);
            std::string error;
            if (!bar_failed && !FILEOUT_write(bars_dir + name, wav, size, &error)) {
                std::fprintf(stderr, "voxa7100-record: %s\n", error.c_str());
                bar_failed = true;
            }
        });
    if (keep_golden) demo_set_stage_listener([](const char* stage) { GOLDEN_stage(&golden, stage); });

    // Made last: an error above ends the process at once, and the video's temporaries must not outlive it.
    VideoOut* video = nullptr;
    if (!options.video.empty()) {
        const std::string ffmpeg = VIDEOOUT_find_program("ffmpeg");
        std::string error;
        if (ffmpeg.empty())
            error = "--video needs the ffmpeg program, which is not installed (not found on PATH); "
                    "install it (for example: apt-get install ffmpeg)";
        else
            video = VIDEOOUT_new(ffmpeg, options.video, frame_width, frame_height, options.scale, &error);
        if (!video) {
            std::fprintf(stderr, "voxa7100-record: %s\n", error.c_str());
            return 2;
        }
    }

    uint64_t hash = FRAMEHASH_basis;
    uint32_t last_ms = 0;
    HEADLESS_set_frame_ms(options.frame_ms);
    // The sound timeline grows with every bar; keep it only when the sound is written.
    HEADLESS_keep_audio(!options.wav.empty() || video);
    HEADLESS_set_pointer(options.pointer_x, options.pointer_y);
    for (const auto& [number, key] : options.keys) HEADLESS_schedule_key(number, key);
    HEADLESS_set_sink([&](const HeadlessFrame& frame) {
        if (options.hash) hash = FRAMEHASH_pixels(hash, frame.pixels, frame.width * frame.height);
        if (options.hash_each || keep_golden) {
            const uint64_t one = FRAMEHASH_frame(frame.pixels, frame.width * frame.height);
            if (options.hash_each) std::printf("%lld %016llx\n", static_cast<long long>(frame.number), static_cast<unsigned long long>(one));
            if (keep_golden) GOLDEN_frame(&golden, one);
        }
        if (!options.out.empty() && frame.number % options.every == 0) {
            char name[32];
            std::snprintf(name, sizeof name, "/frame-%06lld.png", static_cast<long long>(frame.number));
            std::string error;
            if (!PNGOUT_write(options.out + name, frame.pixels, frame.width, frame.height, options.scale, &error)) {
                std::fprintf(stderr, "voxa7100-record: %s\n", error.c_str());
                throw StopRun{2};
            }
        }
        if (video) {
            std::string error;
            if (frame.width != frame_width || frame.height != frame_height) error = "the frame size changed";
            if (!error.empty() || !VIDEOOUT_present(video, frame.pixels, frame.ms, &error)) {
                std::fprintf(stderr, "voxa7100-record: %s\n", error.c_str());
                throw StopRun{2};
            }
        }
        last_ms = frame.ms;
        const int64_t done = frame.number + 1;
        if (options.frames >= 2000 && done % 1000 == 0)
            std::fprintf(stderr, "voxa7100-record: %lld of %lld frames\n", static_cast<long long>(done),
                         static_cast<long long>(options.frames));
        if (done >= options.frames) throw StopRun{0};
    });
    HEADLESS_set_exit([](int status) { throw StopRun{status}; });
    HEADLESS_set_idle([&options] {
        // Paused with no key left in the script: nothing more will ever be shown, so the run cannot
        // make what it was asked for.
        std::fprintf(stderr, "voxa7100-record: the show is paused and no key is left to resume it; stopped after "
                             "%lld of %lld presentations\n",
                     static_cast<long long>(HEADLESS_presentations()), static_cast<long long>(options.frames));
        throw StopRun{1};
    });

    int status = 0;
    try {
        demo_main();
    } catch (const StopRun& stop) {
        status = stop.status;
    }
    if (!options.wav.empty() && status != 2) {
        std::string error;
        if (!WAVOUT_write_pcm(options.wav, HEADLESS_render_audio(0, last_ms), &error)) {
            std::fprintf(stderr, "voxa7100-record: %s\n", error.c_str());
            status = 2;
        }
    }
    if (video && status != 2) {
        std::string error;
        if (!VIDEOOUT_finish(video, HEADLESS_render_audio, &error)) {
            std::fprintf(stderr, "voxa7100-record: %s\n", error.c_str());
            status = 2;
        }
    }
    VIDEOOUT_free(&video);
    if (bar_failed) status = 2;
    if (keep_golden) {
        golden.status = status;
        const std::string text = GOLDEN_text(&golden);
        std::string error;
        if (!FILEOUT_write(options.golden, reinterpret_cast<const uint8_t*>(text.data()), text.size(), &error)) {
            std::fprintf(stderr, "voxa7100-record: %s\n", error.c_str());
            status = 2;
        }
    }
    if (options.hash) std::printf("%016llx %lld\n", static_cast<unsigned long long>(hash), static_cast<long long>(HEADLESS_presentations()));
    return status;
}
