#include "support/child.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>

#include "app/recorder/framehash.h"
#include "core/demo.h"
#include "core/song.h"

ChildResult run_in_child(const std::function<void(std::string& out)>& body)
{
    int fds[2];
    ChildResult result;
    if (pipe(fds) != 0) return result;
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        std::string out;
        HEADLESS_reset();
        body(out);
        std::size_t at = 0;
        while (at < out.size()) {
            const ssize_t n = write(fds[1], out.data() + at, out.size() - at);
            if (n <= 0) break;
            at += static_cast<std::size_t>(n);
        }
        close(fds[1]);
        std::fflush(stdout);
        _exit(0);
    }
    close(fds[1]);
    char buffer[65536];
    for (;;) {
        const ssize_t n = read(fds[0], buffer, sizeof buffer);
        if (n <= 0) break;
        result.output.append(buffer, static_cast<std::size_t>(n));
    }
    close(fds[0]);
    int wstatus = 0;
    waitpid(pid, &wstatus, 0);
    result.status = WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : 128 + WTERMSIG(wstatus);
    return result;
}

static std::vector<uint64_t>* bar_hashes = nullptr;

ShowTrace run_show(int64_t presentations, const std::function<void()>& setup, int64_t keep_frame)
{
    const ChildResult child = run_in_child([&](std::string& out) {
        std::vector<FrameRecord> frames;
        std::vector<uint32_t> full;
        std::vector<uint64_t> bars;
        std::vector<long> allocations;
        std::vector<long> heap;
        heap.reserve(static_cast<std::size_t>(presentations) + 64);
        // Reserved up front so that recording allocates nothing while the show runs.
        frames.reserve(static_cast<std::size_t>(presentations) + 64);
        allocations.reserve(static_cast<std::size_t>(presentations) + 64);
        bars.reserve(4096);
        full.reserve(65536);
        bar_hashes = &bars;
        demo_set_bar_listener([](const uint8_t* wav, std::size_t size) {
            if (bar_hashes->size() < bar_hashes->capacity()) bar_hashes->push_back(FRAMEHASH_bytes(wav, size));
        });
        int status = -1;
        if (setup) setup();
        HEADLESS_set_sink([&](const HeadlessFrame& f) {
            FrameRecord r{};
            r.number = f.number;
            r.ms = f.ms;
            r.hash = FRAMEHASH_frame(f.pixels, f.width * f.height);
            r.probe[0] = f.pixels[0];
            r.probe[1] = f.pixels[255];
            r.probe[2] = f.pixels[255 * 256];
            r.probe[3] = f.pixels[128 * 256 + 128];
            r.frame_count = demo.timer ? demo.timer->frame_count : -1;
            r.target_rate = demo.timer ? demo.timer->target_rate : -1;
            r.background_mode = demo.background_mode, r.fade_on = demo.fade_on, r.blur_on = demo.blur_on;
            r.glare_on = demo.glare_on, r.paused = demo.paused, r.fps_overlay_on = demo.fps_overlay_on;
            r.music_muted = demo.music_muted, r.scroll_on = demo.scroll_on, r.rasters_on = demo.rasters_on;
            r.fade_step = demo.fade_step, r.background_colour = demo.background_colour;
            frames.push_back(r);
            allocations.push_back(allocation_count());
            heap.push_back(live_heap_bytes());
            if (f.number == keep_frame) full.assign(f.pixels, f.pixels + f.width * f.height);
            if (f.number + 1 >= presentations) throw ShowStop{};
        });
        HEADLESS_set_exit([](int s) { throw ShowExit{s}; });
        try {
            demo_main();
        } catch (const ShowStop&) {
        } catch (const ShowExit& e) {
            status = e.status;
        }
        const uint64_t nframes = frames.size(), nfull = full.size();
        out.append(reinterpret_cast<const char*>(&status), sizeof status);
        out.append(reinterpret_cast<const char*>(&nframes), sizeof nframes);
        out.append(reinterpret_cast<const char*>(frames.data()), nframes * sizeof(FrameRecord));
        out.append(reinterpret_cast<const char*>(&nfull), sizeof nfull);
        out.append(reinterpret_cast<const char*>(full.data()), nfull * sizeof(uint32_t));
        const uint64_t nbars = bars.size(), nallocs = allocations.size();
        out.append(reinterpret_cast<const char*>(&nbars), sizeof nbars);
        out.append(reinterpret_cast<const char*>(bars.data()), nbars * sizeof(uint64_t));
        out.append(reinterpret_cast<const char*>(&nallocs), sizeof nallocs);
        out.append(reinterpret_cast<const char*>(allocations.data()), nallocs * sizeof(long));
        out.append(reinterpret_cast<const char*>(heap.data()), nallocs * sizeof(long));
    });
    ShowTrace trace;
    const std::string& s = child.output;
    std::size_t at = 0;
    auto take = [&](void* dst, std::size_t n) {
        if (n == 0) return true;
        if (at + n > s.size()) return false;
        std::memcpy(dst, s.data() + at, n);
        at += n;
        return true;
    };
    uint64_t n = 0;
    if (!take(&trace.status, sizeof trace.status) || !take(&n, sizeof n)) return trace;
    trace.frames.resize(n);
    take(trace.frames.data(), n * sizeof(FrameRecord));
    if (take(&n, sizeof n)) {
        trace.full.resize(n);
        take(trace.full.data(), n * sizeof(uint32_t));
    }
    if (take(&n, sizeof n)) {
        trace.bars.resize(n);
        take(trace.bars.data(), n * sizeof(uint64_t));
    }
    if (take(&n, sizeof n)) {
        trace.allocations.resize(n);
        take(trace.allocations.data(), n * sizeof(long));
        trace.heap.resize(n);
        take(trace.heap.data(), n * sizeof(long));
    }
    return trace;
}
