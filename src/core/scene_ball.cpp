// Scene: shaded balls. One lit ball of random place, size and colour per frame over a picture that
// darkens after every presentation, the light swinging with three sines, the logo on top.
#include "core/demo.h"
#include "base/sine.h"
#include "core/song.h"
#include "effects/ball3d.h"

static struct {
    Ball* ball = nullptr;  // made on the first run, its light carried over to later passes
} ball_scene;

static void ball_frame(int32_t n)
{
    Ball* ball = ball_scene.ball;
    // Four draws per frame, in this order.
    const auto colour = static_cast<uint32_t>(RANDOM_rand30()) & 0x7F7F7F;
    const int32_t x = RANDOM_rand30() % frame_width;
    const int32_t y = RANDOM_rand30() % frame_height;
    const int32_t radius = (RANDOM_rand30() % frame_width) / 2;
    if (ball) {
        ball->colour = colour, ball->x = x, ball->y = y, ball->radius = radius;
        BALL3D_draw(ball);
        ball->light_x = (SINE_at(5 * n) * 10) >> 15;
        ball->light_y = (SINE_at(3 * n) * 10) >> 15;
        ball->light_z = (SINE_at(7 * n) * 10) >> 15;
    }
    const Image* logo = demo.assets.logo_image;
    if (logo) IMG_blit(logo, demo.work, 0, 0, (frame_width - logo->width) / 2, 64, logo->width, logo->height);
}

void scene_ball_setup()
{
    IMG_fill(demo.work, static_cast<uint32_t>(RANDOM_rand30()) & 0x1F1F1F);
    demo.fade_step = static_cast<uint32_t>((RANDOM_rand15() & 0xF) + 8) * 0x010101u;
    demo.blur_on = 0, demo.glare_on = 0, demo.fade_on = 1;
    demo.background_mode = 3;
    if (!ball_scene.ball) {
        ball_scene.ball = BALL3D_new();
        if (ball_scene.ball) {
            ball_scene.ball->target = demo.work;
            ball_scene.ball->light_x = ball_scene.ball->light_y = ball_scene.ball->light_z = 10;
        }
    }
    demo_music_switch();
}

const Ball* scene_ball_object() { return ball_scene.ball; }

void scene_ball()
{
    scene_ball_setup();
    demo_run_scene({"ball", 750, false, true, false, true}, ball_frame);
}
