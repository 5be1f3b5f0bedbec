// SONG: the demo's music: composing the instrument bank and the first bar at start-up, and the
// music switch that remixes the bar at every scene start.
// Depends on: audio/music, audio/sound, audio/sam, audio/samdraw, audio/winsnd, core/demo,
// platform/windpy, raster/img, base/random.
// NOTE: the song state (music record, scratch buffer, holder, drawer, player, bar listener) lives
// in one record of this module. The player is created by start-up and handed over with
// demo_set_sound_player; the song never frees it. Every random draw follows the composing order,
// so the bank and every bar are the same on every run after the same seed.
#pragma once
#include <cstddef>
#include <cstdint>

#include "audio/music.h"
#include "audio/winsnd.h"
#include "platform/windpy.h"
#include "raster/img.h"

// Builds the 96 instrument sounds, drawing each one's waveform into work and presenting it on
// display (either may be null: nothing is drawn or shown), then makes and plays the first bar.
void demo_compose_song(WINDPY* display, Image* work);
// Mixes four new patterns into the bar (the old bar fading to a quarter) and restarts the loop
// with it; does nothing while the music is frozen.
void demo_music_switch();
// Chooses one of the five pattern generators at random and runs it.
void demo_music_pick_pattern();
// Whether the viewer has frozen the music (the demo state's music_muted).
bool demo_music_muted_flag();

// The sound player the song hands its bars to (null until set).
WINSND* demo_sound_player();
void demo_set_sound_player(WINSND* player);
// The song's music record (null before composing).
MUSIC* demo_music();
// Called with the player's WAV image after every bar that starts playing (null: nobody).
void demo_set_bar_listener(void (*listener)(const uint8_t* wav, std::size_t size));
// Frees everything the song made (not the player); the next compose starts afresh.
void demo_song_release();
