#include "app/recorder/videoout.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "app/recorder/upscale.h"
#include "base/record.h"

static ErrorReport videoout_errors{"VIDEOOUT error\n", false, 0};

ErrorReport& VIDEOOUT_report() { return videoout_errors; }

struct VideoOut {
    std::string ffmpeg;
    std::string path;
    std::string part;        // the finished file before it is renamed into place
    std::string video_part;  // the picture alone, as the encoder writes it
    std::string sound_part;  // the sound as raw 16-bit little-endian values
    int32_t width = 0;   // of a presentation
    int32_t height = 0;
    int32_t scale = 1;   // the video is width * scale x height * scale
    bool x264 = false;  // ffmpeg has libx264 (else mpeg4)
    bool aac = false;   // ffmpeg has the aac encoder (else its default for mp4)
    std::unique_ptr<uint8_t[]> held;  // rgb24 picture of the presentation on screen, scaled
    bool has_picture = false;
    uint32_t last_ms = 0;
    int64_t frames = 0;
    pid_t encoder = -1;
    int pipe_fd = -1;  // the encoder's standard input
};

namespace {

constexpr uint32_t sound_rate = 44100;
// Sound is rendered and written a second at a time so that memory stays bounded on long runs.
constexpr uint32_t sound_chunk_ms = 1000;

// ffmpeg reads "name:..." as a protocol and "-..." as an option; the file: prefix avoids both.
std::string file_arg(const std::string& path) { return "file:" + path; }

// Starts a program with stdin from in_fd (or /dev/null) and stdout into out_fd (or /dev/null);
// stderr is shared so that its own messages reach the user. -1 when it cannot be started.
pid_t spawn(const std::vector<std::string>& args, int in_fd, int out_fd)
{
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    const int null_fd = ::open("/dev/null", O_RDWR);
    ::dup2(in_fd >= 0 ? in_fd : null_fd, 0);
    ::dup2(out_fd >= 0 ? out_fd : null_fd, 1);
    // The recorder ignores SIGPIPE; the child should not inherit that.
    ::signal(SIGPIPE, SIG_DFL);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

// Waits for a child; its exit status, or -1 when it was killed or cannot be waited for.
int wait_for(pid_t pid)
{
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs a program to its end and returns what it printed; empty when it fails.
std::string capture(const std::vector<std::string>& args)
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return {};
    const pid_t pid = spawn(args, -1, fds[1]);
    ::close(fds[1]);
    std::string out;
    if (pid > 0) {
        char buffer[4096];
        for (;;) {
            const ssize_t n = ::read(fds[0], buffer, sizeof buffer);
            if (n > 0) out.append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 || errno != EINTR) break;
        }
    }
    ::close(fds[0]);
    if (pid <= 0 || wait_for(pid) != 0) return {};
    return out;
}

// Whether ffmpeg's encoder list (one "FLAGS NAME description" line each) names `name`.
bool has_encoder(const std::string& list, const std::string& name)
{
    std::size_t at = 0;
    while (at < list.size()) {
        std::size_t end = list.find('\n', at);
        if (end == std::string::npos) end = list.size();
        char flags[32], found[64];
        if (std::sscanf(list.substr(at, end - at).c_str(), "%31s %63s", flags, found) == 2 && name == found)
            return true;
        at = end + 1;
    }
    return false;
}

bool write_all(int fd, const uint8_t* bytes, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, bytes, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        bytes += n, size -= static_cast<std::size_t>(n);
    }
    return true;
}

// Lets the encoder finish what it was given; its exit status, or -1.
int close_encoder(VideoOut* video)
{
    if (video->pipe_fd >= 0) ::close(video->pipe_fd), video->pipe_fd = -1;
    if (video->encoder <= 0) return -1;
    const int status = wait_for(video->encoder);
    video->encoder = -1;
    return status;
}

// Bytes of one rgb24 video frame.
std::size_t picture_bytes(const VideoOut* video)
{
    return static_cast<std::size_t>(video->width) * static_cast<std::size_t>(video->height) *
           static_cast<std::size_t>(video->scale) * static_cast<std::size_t>(video->scale) * 3;
}

// Writes video frames showing the held picture until `count` frames are written.
bool write_frames_until(VideoOut* video, int64_t count, std::string* error)
{
    const std::size_t size = picture_bytes(video);
    for (; video->frames < count; ++video->frames) {
        if (video->pipe_fd < 0 || !write_all(video->pipe_fd, video->held.get(), size)) {
            if (error) *error = video->path + ": the video encoder stopped taking frames";
            return false;
        }
    }
    return true;
}

// Writes the sound of [0, to_ms) as raw little-endian values, one chunk at a time.
bool write_sound(const VideoOut* video, const VideoSound& sound, uint32_t to_ms, std::string* error)
{
    std::FILE* f = std::fopen(video->sound_part.c_str(), "wb");
    bool ok = f != nullptr;
    std::vector<uint8_t> bytes;
    for (uint32_t from = 0; ok && from < to_ms; from += sound_chunk_ms) {
        const uint32_t to = to_ms - from > sound_chunk_ms ? from + sound_chunk_ms : to_ms;
        const std::vector<int16_t> values = sound ? sound(from, to) : std::vector<int16_t>{};
        // Silence where the sound source gives less than the span asks for.
        const std::size_t want = static_cast<std::size_t>(int64_t{to} * sound_rate / 1000 - int64_t{from} * sound_rate / 1000);
        bytes.assign(want * 2, 0);
        for (std::size_t i = 0; i < want && i < values.size(); ++i) {
            const auto v = static_cast<uint16_t>(values[i]);
            bytes[2 * i] = static_cast<uint8_t>(v), bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
        }
        ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    }
    if (f && std::fclose(f) != 0) ok = false;
    if (!ok && error) *error = video->sound_part + ": cannot write the sound track: " + std::strerror(errno);
    return ok;
}

// A record for the settings with its picture buffer, once the output's folder has shown that it
// takes files; null (with the reason in *why) when memory runs out or the folder refuses.
VideoOut* new_record(const std::string& ffmpeg, const std::string& path, int32_t width, int32_t height,
                     int32_t scale, std::string* why)
{
    VideoOut* video = record_new<VideoOut>();
    if (!video) {
        *why = "out of memory";
        return nullptr;
    }
    video->ffmpeg = ffmpeg;
    video->path = path;
    video->part = path + ".part";
    video->video_part = path + ".video.part";
    video->sound_part = path + ".sound.part";
    video->width = width;
    video->height = height;
    video->scale = scale;
    // Made once: every presentation is scaled into it.
    video->held = block_new<uint8_t>(picture_bytes(video));
    // The output's folder must take files before the show starts, not after it.
    const int probe = ::open(video->part.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (!video->held || probe < 0) {
        *why = video->held ? "cannot write '" + video->part + "': " + std::strerror(errno) : "out of memory";
        VIDEOOUT_free(&video);
        return nullptr;
    }
    ::close(probe);
    return video;
}

// The encoder's command line: raw rgb24 frames on its standard input, the picture alone (no sound)
// into video_part, with the best encoder this ffmpeg has.
std::vector<std::string> encoder_args(const VideoOut* video)
{
    std::vector<std::string> args{video->ffmpeg, "-hide_banner", "-loglevel", "error", "-y", "-f", "rawvideo",
                                  "-pix_fmt", "rgb24", "-video_size",
                                  std::to_string(video->width * video->scale) + "x" +
                                      std::to_string(video->height * video->scale),
                                  "-framerate", std::to_string(1000 / VIDEOOUT_frame_ms), "-i", "pipe:0", "-an"};
    if (video->x264)
        args.insert(args.end(), {"-c:v", "libx264", "-preset", "fast", "-crf", "18"});
    else
        args.insert(args.end(), {"-c:v", "mpeg4", "-q:v", "2"});
    args.insert(args.end(), {"-pix_fmt", "yuv420p", "-f", "mp4", file_arg(video->video_part)});
    return args;
}

// Starts the encoder with a pipe to its standard input; empty, or the reason it could not start
// (the record then holds whatever must be undone).
std::string start_encoder(VideoOut* video)
{
    const std::string encoders = capture({video->ffmpeg, "-hide_banner", "-encoders"});
    video->x264 = has_encoder(encoders, "libx264");
    video->aac = has_encoder(encoders, "aac");
    // A write to an encoder that has died must come back as an error, not end the recorder.
    ::signal(SIGPIPE, SIG_IGN);
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return std::string("cannot make a pipe: ") + std::strerror(errno);
    video->encoder = spawn(encoder_args(video), fds[0], -1);
    ::close(fds[0]);
    video->pipe_fd = fds[1];
    if (video->encoder <= 0) return "cannot start '" + video->ffmpeg + "'";
    return {};
}

}  // namespace

std::string VIDEOOUT_find_program(const std::string& name)
{
    if (name.empty()) return {};
    if (name.find('/') != std::string::npos) return ::access(name.c_str(), X_OK) == 0 ? name : std::string{};
    const char* path = std::getenv("PATH");
    const std::string dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
    std::size_t at = 0;
    while (at <= dirs.size()) {
        std::size_t end = dirs.find(':', at);
        if (end == std::string::npos) end = dirs.size();
        // An empty entry means the current folder.
        const std::string dir = end > at ? dirs.substr(at, end - at) : ".";
        const std::string full = dir + "/" + name;
        struct stat st {};
        if (::stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(full.c_str(), X_OK) == 0) return full;
        at = end + 1;
    }
    return {};
}

int64_t VIDEOOUT_frames_before(uint32_t ms) { return (int64_t{ms} + VIDEOOUT_frame_ms - 1) / VIDEOOUT_frame_ms; }

VideoOut* VIDEOOUT_new(const std::string& ffmpeg, const std::string& path, int32_t width, int32_t height,
                       int32_t scale, std::string* error)
{
    auto fail = [&](const std::string& why) -> VideoOut* {
        if (error) *error = why;
        return nullptr;
    };
    // yuv420p needs an even picture size.
    if (ffmpeg.empty() || path.empty() || width <= 0 || height <= 0 || scale < 1 || scale > UPSCALE_max ||
        ((int64_t{width} * scale) & 1) || ((int64_t{height} * scale) & 1)) {
        REPORT_raise(videoout_errors);
        return fail("bad video settings");
    }
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return fail("'" + path + "' is a folder");
    std::string why;
    VideoOut* video = new_record(ffmpeg, path, width, height, scale, &why);
    if (!video) return fail(why);
    why = start_encoder(video);
    if (!why.empty()) {
        VIDEOOUT_free(&video);
        return fail(why);
    }
    return video;
}

bool VIDEOOUT_present(VideoOut* video, const uint32_t* pixels, uint32_t ms, std::string* error)
{
    if (!video || !pixels) {
        REPORT_raise(videoout_errors);
        return false;
    }
    // The first presentation also stands for the frames before it.
    if (video->has_picture && !write_frames_until(video, VIDEOOUT_frames_before(ms), error)) return false;
    UPSCALE_picture(pixels, video->width, video->height, video->scale, video->held.get());
    const bool first = !video->has_picture;
    video->has_picture = true;
    video->last_ms = ms;
    return !first || write_frames_until(video, VIDEOOUT_frames_before(ms), error);
}

bool VIDEOOUT_finish(VideoOut* video, const VideoSound& sound, std::string* error)
{
    if (!video) {
        REPORT_raise(videoout_errors);
        return false;
    }
    auto fail = [&](const std::string& why) {
        if (error) *error = why;
        return false;
    };
    if (!video->has_picture) return fail(video->path + ": nothing was presented, so there is no video");
    // The last frame is the one at or just before the last presentation's time.
    if (!write_frames_until(video, int64_t{video->last_ms} / VIDEOOUT_frame_ms + 1, error)) return false;
    if (close_encoder(video) != 0) return fail(video->path + ": the video encoder failed");

    const int64_t end_ms = video->frames * VIDEOOUT_frame_ms;
    if (end_ms > UINT32_MAX) return fail(video->path + ": the video is too long");
    if (!write_sound(video, sound, static_cast<uint32_t>(end_ms), error)) return false;

    std::vector<std::string> args{video->ffmpeg, "-nostdin", "-hide_banner", "-loglevel", "error", "-y",
                                  "-i", file_arg(video->video_part), "-f", "s16le", "-ar", std::to_string(sound_rate),
                                  "-ac", "1", "-i", file_arg(video->sound_part), "-map", "0:v:0", "-map", "1:a:0",
                                  "-c:v", "copy"};
    if (video->aac) args.insert(args.end(), {"-c:a", "aac", "-b:a", "192k"});
    args.insert(args.end(), {"-movflags", "+faststart", "-f", "mp4", file_arg(video->part)});
    const pid_t muxer = spawn(args, -1, -1);
    if (muxer <= 0 || wait_for(muxer) != 0) return fail(video->path + ": joining picture and sound failed");
    if (std::rename(video->part.c_str(), video->path.c_str()) != 0)
        return fail(video->path + ": cannot put the file in place: " + std::strerror(errno));
    std::remove(video->video_part.c_str());
    std::remove(video->sound_part.c_str());
    return true;
}

int64_t VIDEOOUT_frames(const VideoOut* video)
{
    if (!video) {
        REPORT_raise(videoout_errors);
        return 0;
    }
    return video->frames;
}

void VIDEOOUT_free(VideoOut** video)
{
    if (!video || !*video) return;
    VideoOut* v = *video;
    if (v->pipe_fd >= 0) ::close(v->pipe_fd), v->pipe_fd = -1;
    if (v->encoder > 0) {
        // An unfinished video is of no use: stop at once rather than let it finish encoding.
        ::kill(v->encoder, SIGTERM);
        close_encoder(v);
    }
    std::remove(v->part.c_str());
    std::remove(v->video_part.c_str());
    std::remove(v->sound_part.c_str());
    record_free(video);
}
