// FRAMEHASH: the 64-bit FNV-1a hash by which the recorder, its golden record and the tests know a
// frame, a bar of the music or a whole run.
// Depends on: the standard library only.
// NOTE: a frame is hashed a 0x00RRGGBB word at a time (not byte by byte), a bar over its WAV bytes,
// and a digest of hashes takes each 64-bit hash as one value. Hashes are plain values; the
// functions only read the caller's pixels and bytes and keep nothing.
#pragma once
#include <cstddef>
#include <cstdint>

// The hash of nothing, where every running hash starts. It is the published FNV offset basis
// short of its last digit; every golden record and every hash the recorder ever printed was made
// with it, so it stays.
inline constexpr uint64_t FRAMEHASH_basis = 1469598103934665603ull;

// Folds one value into a running hash.
uint64_t FRAMEHASH_step(uint64_t hash, uint64_t value);
// Folds count pixels into a running hash (--hash runs one over every frame of a run in turn);
// null pixels leave it as it is.
uint64_t FRAMEHASH_pixels(uint64_t hash, const uint32_t* pixels, int32_t count);
// The hash of one frame of count pixels, as --hash-each prints it.
uint64_t FRAMEHASH_frame(const uint32_t* pixels, int32_t count);
// The hash of size bytes (a bar's WAV image); null bytes hash as none.
uint64_t FRAMEHASH_bytes(const uint8_t* bytes, std::size_t size);
