// LAYERS: the overlays three scenes share: the sine scroller, the raster bars that colour it, and
// the bouncing letters of the brand word.
// Depends on: core/demo, vector/disty, vector/scroll, raster/rgb888, base/sine.
// NOTE: everything a set-up creates lives until the process ends and is reused by later set-ups;
// the layers draw into the work image on top of a scene's own picture.
#pragma once

// The scroll text: key help, then free paragraphs, one text line after another.
extern const char demo_scroll_text[];

// Creates the strips, the scroller and the distorter when missing; binds the small font.
void demo_scroll_setup();
// The scroll text, coloured by the bars and laid along a sine wave, into the work image.
void demo_scroll_draw();
// Builds the shared raster from the 32-step shine when missing; speed -2 colours per frame.
void demo_rasters_setup_wide();
// Builds the shared raster from the 16-step shine when missing; speed -1 colour per frame.
void demo_rasters_setup();
// Prepares the second colour table and raster (not drawn; their random draws count).
void demo_wave_rasters_setup();
// Steps the shared raster and paints the colour strip.
void demo_rasters_draw();
