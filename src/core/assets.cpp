// Start-up assets: every embedded picture, font and line drawing is decoded once, in a fixed
// order, and lives until the process ends.
#include "assets/embedded.h"
#include "core/demo.h"
#include "raster/imgfx.h"
#include "vector/obj2d.h"

// Decodes an embedded PNM image; null when it is missing or broken (users then skip it).
static Image* decode(const char* name)
{
    const EmbeddedAsset* asset = EMBEDDED_find(name);
    return asset ? IMG_decode_pnm(asset->data, asset->size) : nullptr;
}

// Parses an embedded line-drawing text (the block ends with a zero byte).
static LIST* parse(const char* name)
{
    const EmbeddedAsset* asset = EMBEDDED_find(name);
    return asset ? OBJ2D_parse(reinterpret_cast<const char*>(asset->data)) : nullptr;
}

static Font* new_font(int32_t cell, Image* sheet)
{
    Font* font = FONT_new();
    if (!font) return nullptr;
    font->glyph_width = font->glyph_height = cell;
    font->sheet = sheet;
    font->target = demo.work;
    return font;
}

static LFONT* new_writer(LIST* glyphs, int32_t advance)
{
    LFONT* writer = LFONT_new();
    if (!writer) return nullptr;
    writer->glyphs = glyphs;
    writer->advance.x = writer->advance.y = advance;
    writer->target = demo.work;
    return writer;
}

// One turn of the hue circle in six runs of 256: green, cyan, blue, magenta, red, yellow, green.
static void fill_colour_ramp(SAMPLE* ramp)
{
    SAMPLE_set_length(ramp, 1536);
    for (int32_t i = 0; i < 256; ++i) {
        SAMPLE_set(ramp, i, 0x00FF00 + i);
        SAMPLE_set(ramp, 256 + i, 0x00FFFF - i * 0x100);
        SAMPLE_set(ramp, 512 + i, 0x0000FF + i * 0x10000);
        SAMPLE_set(ramp, 768 + i, 0xFF00FF - i);
        SAMPLE_set(ramp, 1024 + i, 0xFF0000 + i * 0x100);
        SAMPLE_set(ramp, 1280 + i, 0xFFFF00 - i * 0x10000);
    }
}

void demo_loading_picture()
{
    Image* splash = decode("splash.pbm");
    if (!splash) return;
    IMGFX_invert(splash);
    IMGFX_blit_add(splash, demo.work, 0, 0, (frame_width - splash->width) / 2, (frame_height - splash->height) / 2,
                   splash->width, splash->height);
    IMG_free(&splash);
}

void demo_build_assets()
{
    DemoAssets& a = demo.assets;
    a.radial_image = decode("radial.pbm");
    IMGFX_invert(a.radial_image);
    // Not drawn in the show, but its speed draw belongs to the fixed sequence of random numbers.
    a.spare_raster = RASTER_new();
    a.scroll_font16 = new_font(16, decode("scroll_font16.pgm"));
    a.scroll_font32 = new_font(32, decode("scroll_font32.pbm"));
    a.stack_font_a = new_font(16, decode("stack_font_a.ppm"));
    a.stack_font_b = new_font(16, decode("stack_font_b.ppm"));

    a.font8 = parse("font8.obj2d");
    // The small glyphs are centred on the pen point.
    for (int32_t i = 0; a.font8 && i < a.font8->count; ++i) {
        auto* glyph = static_cast<OBJ2D*>(LIST_get(a.font8, i));
        if (!glyph) continue;
        glyph->position.x = glyph->position.y = -4;
        OBJ2D_shift_segments(glyph);
    }
    a.writer8 = new_writer(a.font8, 8);
    a.font16 = parse("font16.obj2d");
    a.writer16 = new_writer(a.font16, 16);
    a.pictures = parse("pictures.obj2d");
    a.writer_pictures = new_writer(a.pictures, 16);

    a.colour_ramp = SAMPLE_new();
    fill_colour_ramp(a.colour_ramp);
    a.logo_image = decode("logo.ppm");
}

void demo_build_pointer_assets()
{
    DemoAssets& a = demo.assets;
    a.logo_fly = LOGOFLY_new();  // three random draws
    if (a.logo_fly) {
        a.logo_fly->text = "VOXA";
        a.logo_fly->font = a.writer16;
        a.logo_fly->colour = 0xFFFFFF;
        a.logo_fly->target = demo.work;
    }
    a.mouse_sprite = decode("mouse.ppm");
    demo.mouse = MOUSE_new();
    if (demo.mouse) {
        demo.mouse->pointer = demo.pointer;
        demo.mouse->target = demo.work;
        demo.mouse->sprite = a.mouse_sprite;
    }
}
