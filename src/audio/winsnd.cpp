#include "audio/winsnd.h"

#include <cstring>

#include "base/record.h"
#include "base/random.h"
#include "platform/os.h"

static ErrorReport winsnd_errors{"WINSND error\n", false, 0};

ErrorReport& WINSND_report() { return winsnd_errors; }

namespace {

void put16(uint8_t* at, uint32_t v)
{
    at[0] = static_cast<uint8_t>(v);
    at[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* at, uint32_t v)
{
    put16(at, v);
    put16(at + 2, v >> 16);
}

void write_header(const WINSND* player, uint8_t* image)
{
    const auto data_bytes = static_cast<uint32_t>(player->bar_length) * 2;
    const auto bytes_per_value = static_cast<uint32_t>(player->depth / 8);
    std::memcpy(image + 0, "RIFF", 4);
    put32(image + 4, data_bytes + WINSND_header_size - 8);
    std::memcpy(image + 8, "WAVE", 4);
    std::memcpy(image + 12, "fmt ", 4);
    put32(image + 16, 16);
    put16(image + 20, 1);  // PCM
    put16(image + 22, 1);  // mono
    put32(image + 24, static_cast<uint32_t>(player->rate));
    put32(image + 28, static_cast<uint32_t>(player->rate) * bytes_per_value);
    put16(image + 32, bytes_per_value);
    put16(image + 34, static_cast<uint32_t>(player->depth));
    std::memcpy(image + 36, "INFO", 4);
    put32(image + 40, 12);
    std::memcpy(image + 44, "VOXAT R *()-", 12);
    std::memcpy(image + 56, "data", 4);
    put32(image + 60, data_bytes);
}

}  // namespace

std::size_t WINSND_image_size(const WINSND* player)
{
    if (!player) {
        REPORT_raise(winsnd_errors);
        return 0;
    }
    if (!player->image) return 0;
    return WINSND_header_size + 2 * static_cast<std::size_t>(player->bar_length);
}

WINSND* WINSND_new()
{
    WINSND* player = record_new<WINSND>();
    if (!player) {
        REPORT_raise(winsnd_errors);
        return nullptr;
    }
    player->rate = 44100;
    player->depth = 16;
    player->sign = 's';
    player->byte_order = 'l';
    player->queue = LIST_new();
    player->bar_length = 44100;
    player->image = block_new<uint8_t>(WINSND_header_size + 2 * static_cast<std::size_t>(player->bar_length));
    if (!player->image) {
        // Without an image there is nothing to write or to play; the queue still works.
        REPORT_raise(winsnd_errors);
        return player;
    }
    uint8_t* values = player->image.get() + WINSND_header_size;
    for (int32_t k = 0; k < player->bar_length; ++k)
        put16(values + 2 * k, static_cast<uint32_t>((RANDOM_rand30() & 0x1FF) - 255));
    write_header(player, player->image.get());
    OS_audio_stop();
    OS_audio_loop(player->image.get(), WINSND_image_size(player));
    return player;
}

bool WINSND_play_next(WINSND* player)
{
    if (!player) {
        REPORT_raise(winsnd_errors);
        return false;
    }
    if (!player->queue) {
        player->queue = LIST_new();
        return false;
    }
    if (player->queue->count == 0) return false;
    auto* bar = static_cast<SAMPLE*>(LIST_get(player->queue, 0));
    player->current = bar;
    // The entry is consumed even when it is then refused; a null entry left at the head would
    // block every later bar.
    LIST_remove_at(player->queue, 0);
    if (!bar || bar->length != player->bar_length || !bar->data || !player->image) return false;
    OS_audio_stop();
    uint8_t* values = player->image.get() + WINSND_header_size;
    const int32_t* in = bar->data.get();
    // Only the low 16 bits of each value are kept: no clamping.
    for (int32_t k = 0; k < player->bar_length; ++k) put16(values + 2 * k, static_cast<uint32_t>(in[k]));
    OS_audio_loop(player->image.get(), WINSND_image_size(player));
    return true;
}

void WINSND_free(WINSND** player)
{
    if (!player || !*player) {
        REPORT_raise(winsnd_errors);
        return;
    }
    OS_audio_stop();
    if ((*player)->queue) LIST_free(&(*player)->queue);
    record_free(player);
}
