#include "render/window_pictures.h"

#include "render/quad_batch.h"
#include "render/resources.h"
#include "render/scene.h"

#include <kestrune_system.h>

#include <cmath>
#include <cstring>

namespace {

// What an 8-bit colour target keeps of a shader's output: nearest, ties to even.
int32_t scene_byte(float value) {
    float clamped = value < 0 ? 0 : value > 1 ? 1 : value;
    return static_cast<int32_t>(nearbyintf(clamped * 255.0f));
}

// The renderer's product of two bytes as fractions of 255.
int32_t scaled(int32_t value, int32_t factor) {
    int32_t product = value * factor;
    return (product + (product >> 8) + 128) >> 8;
}

// A colour blended over the scene's bytes as an 8-bit target blends source alpha over the rest.
void blend_over(int32_t scene[4], const Color& color) {
    const int32_t source[4] = {scene_byte(color.r), scene_byte(color.g), scene_byte(color.b), scene_byte(color.a)};
    int32_t alpha = source[3];
    for (int channel = 0; channel < 4; channel++) {
        int32_t sum = scaled(source[channel], alpha) + scaled(scene[channel], 255 - alpha);
        scene[channel] = sum > 255 ? 255 : sum;
    }
}

// Whether an upright quad's edges leave every pixel of the rectangle inside.
bool covers(const WindowEdges& edges, PixelRect rect) {
    return fmin(edges.x0, edges.x1) <= rect.left && fmax(edges.x0, edges.x1) >= rect.right &&
           fmin(edges.y0, edges.y1) <= rect.bottom && fmax(edges.y0, edges.y1) >= rect.top;
}

// The rectangle's quads, when they are flat colours covering it and then one picture.
bool window_picture(PixelRect rect, WindowPicture* out) {
    WindowPicture found{rect, {}, -1, false};
    const Color& clear = scene_clear_color;
    const int32_t cleared[4] = {scene_byte(clear.r), scene_byte(clear.g), scene_byte(clear.b), scene_byte(clear.a)};
    for (int channel = 0; channel < 4; channel++) found.background[channel] = cleared[channel];
    for (int64_t i = 0; i < frame_quads.count; i++) {
        const QuadRecord& quad = frame_quads.data[i];
        if (!rects_meet(quad_bounds(quad), rect)) continue;
        if (found.picture >= 0) return false;
        // Only upright quads: their texture coordinates do not depend on the target's row order.
        WindowEdges edges;
        if (!upright_edges(quad, &edges)) return false;
        uint8_t shading = texture_shading(quad.texture);
        if (shading == shading_picture) {
            found.picture = i;
            found.picture_covers_rect = covers(edges, rect);
        } else if (shading == shading_flat && covers(edges, rect)) {
            blend_over(found.background, quad.color);
        } else {
            return false;
        }
    }
    if (found.picture < 0) return false;
    *out = found;
    return true;
}

// The same texture over the same background: one draw serves both.
bool alike(const WindowPicture& a, const WindowPicture& b) {
    return frame_quads.data[a.picture].texture == frame_quads.data[b.picture].texture &&
           memcmp(a.background, b.background, sizeof a.background) == 0;
}

void use_picture(const WindowPicture& picture) {
    shader_bind(window_picture_shader);
    shader_uniform4i(window_picture_background, picture.background[0], picture.background[1],
                     picture.background[2], picture.background[3]);
    texture_bind(TEXTURE_2D, frame_quads.data[picture.picture].texture);
}

}  // namespace

WindowPictures take_window_pictures(PixelRegion* changed) {
    WindowPictures pictures{};
    int32_t kept = 0;
    for (int32_t i = 0; i < changed->count; i++) {
        PixelRect rect = changed->rects[i];
        if (window_picture(rect, &pictures.rects[pictures.count])) {
            pictures.count++;
        } else {
            changed->rects[kept++] = rect;
        }
    }
    changed->count = kept;
    return pictures;
}

void draw_window_pictures(const WindowPictures& pictures) {
    if (pictures.count == 0) return;
    const WindowPicture* inside[region_rect_capacity];
    const WindowPicture* reaching[region_rect_capacity];
    int32_t inside_count = 0, reaching_count = 0;
    for (int32_t i = 0; i < pictures.count; i++) {
        const WindowPicture& picture = pictures.rects[i];
        if (picture.picture_covers_rect) {
            inside[inside_count++] = &picture;
        } else {
            reaching[reaching_count++] = &picture;
        }
    }
    // Rectangles inside their picture: quads of just the rectangle, one after another from 0.
    start_batch();
    for (int32_t i = 0; i < inside_count; i++) batch_quad_within(frame_quads.data[inside[i]->picture], inside[i]->rect);
    // Others: the background where the picture does not reach, then the whole picture, scissored.
    for (int32_t i = 0; i < reaching_count; i++) {
        const WindowPicture& picture = *reaching[i];
        QuadRecord fill = region_quad(picture.rect);
        fill.color = Color{shown_byte(picture.background[0]) / 255.0f, shown_byte(picture.background[1]) / 255.0f,
                           shown_byte(picture.background[2]) / 255.0f, picture.background[3] / 255.0f};
        batch_quad(fill);
        batch_quad(frame_quads.data[picture.picture]);
    }
    upload_batch();
    texture_unit(0);
    pipeline_scissor_enable(false);
    for (int32_t run = 0; run < inside_count;) {
        int32_t end = run + 1;
        while (end < inside_count && alike(*inside[end], *inside[run])) end++;
        use_picture(*inside[run]);
        draw_batch_quads(run, end - run);
        run = end;
    }
    for (int32_t i = 0; i < reaching_count; i++) {
        limit_to(reaching[i]->rect);
        shader_bind(flat_shader);
        draw_batch_quads(inside_count + 2 * i, 1);
        use_picture(*reaching[i]);
        draw_batch_quads(inside_count + 2 * i + 1, 1);
    }
    finish_batch();
    texture_unbind(TEXTURE_2D);
    pipeline_scissor_enable(false);
}
