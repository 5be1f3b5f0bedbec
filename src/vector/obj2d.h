// OBJ2D: vector objects made of straight segments, parsed from the object text format and drawn
// into an image with per-axis scale, rotation and translation.
// Depends on: vector/list, vector/seg2d, vector/vec2d, raster/img, base/record, base/report,
// base/wrap.
// NOTE: segment coordinates are object units; `scale` turns them into pixels, `angle` is in
// sine-table steps (1024 to a turn) about the object's origin, `position` is in pixels. An object
// owns its texts, its segments and both lists; `points` holds the very end points of the segments
// (p1 then p2, in segment order), not copies. An object set is a LIST of OBJ2D (entries may be
// null) owned by whoever parsed it; OBJ2D_free_set releases it with every object.
#pragma once
#include <cstdint>
#include <memory>

#include "base/report.h"
#include "raster/img.h"
#include "vector/list.h"
#include "vector/seg2d.h"
#include "vector/vec2d.h"

struct OBJ2D {
    std::unique_ptr<char[]> name;     // zero-terminated, or null
    std::unique_ptr<char[]> version;  // zero-terminated, or null
    std::unique_ptr<char[]> author;   // zero-terminated, or null
    std::unique_ptr<char[]> type;     // zero-terminated, or null
    VEC2D position{0, 0, 0xFFFFFF};   // where the origin is drawn, in pixels
    VEC2D scale{1, 1, 0xFFFFFF};      // per-axis integer magnification
    int32_t angle = 0;                // rotation in sine-table steps
    LIST* segments = nullptr;         // SEG2D entries, owned
    LIST* points = nullptr;           // VEC2D entries: the end points of the segments
};

// The module's error report ("OBJ2D error\n").
ErrorReport& OBJ2D_report();

// Parses a zero-terminated object text into a new object set, in the order the blocks close;
// null only for a null text (or when memory runs out). Never reads past the terminating zero.
LIST* OBJ2D_parse(const char* text);
// A new object: no texts, position (0, 0), scale (1, 1), angle 0, no segments; null on failure.
OBJ2D* OBJ2D_new();
// Frees the object with its texts and segments and nulls the owner's pointer.
void OBJ2D_free(OBJ2D** object);
// Frees every object of a set, then the set itself, and nulls the owner's pointer.
void OBJ2D_free_set(LIST** set);
// Appends the segment and its two end points; the object owns the segment from then on. When it
// cannot be stored (no object, no memory) the segment is freed.
void OBJ2D_add_segment(OBJ2D* object, SEG2D* segment);
// Writes colour into both end points of every segment.
void OBJ2D_set_colour(OBJ2D* object, uint32_t colour);
// Adds position to both end points of every segment, permanently.
void OBJ2D_shift_segments(OBJ2D* object);
// Draws every segment, last to first: scaled, rotated about the origin, moved by position.
void OBJ2D_draw(const OBJ2D* object, Image* image);
