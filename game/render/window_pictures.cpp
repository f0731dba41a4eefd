#include "render/window_pictures.h"

#include "render/quad_batch.h"
#include "render/resources.h"
#include "render/scene_target.h"

#include <kestrune_system.h>

#include <cmath>
#include <cstring>

namespace {

// Flat colours over the scene's clear colour, in drawing order: what the scene holds under a
// picture, as the driver itself blends them. Probed once per set of colours on a texel of the
// scene's format and kept, since a screen shows the same panels frame after frame.
constexpr int32_t most_flat_colours = 8;
constexpr int32_t kept_backgrounds = 16;

struct Background {
    int32_t colour_count;
    Color colours[most_flat_colours];
    int32_t bytes[4];
};

struct KeptBackgrounds {
    int64_t scene_generation;
    int32_t count;
    int32_t next;
    Background entries[kept_backgrounds];
};

KeptBackgrounds kept;

void probe_background(Background* background) {
    frame_buffer_bind(FRAME_BUFFER_BOTH, probe_frame_buffer);
    pipeline_viewport(0, 0, 1, 1);
    pipeline_scissor_enable(false);
    pipeline_blend_enable(true);
    pipeline_clear_color(scene_clear_color.r, scene_clear_color.g, scene_clear_color.b, scene_clear_color.a);
    pipeline_clear(BUFFER_COLOR);
    start_batch();
    for (int32_t i = 0; i < background->colour_count; i++) {
        QuadRecord flat = region_quad(whole_window_rect());
        flat.color = background->colours[i];
        batch_quad(flat);
    }
    upload_batch();
    shader_bind(flat_shader);
    draw_batch_quads(0, background->colour_count);
    finish_batch();
    uint8_t bytes[4] = {};
    pipeline_read_pixels(0, 0, 1, 1, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, bytes);
    for (int channel = 0; channel < 4; channel++) background->bytes[channel] = bytes[channel];
    frame_buffer_bind(FRAME_BUFFER_BOTH, scene_frame_buffer);
    pipeline_viewport(0, 0, window_width, window_height);
}

const int32_t* background_bytes(const Color* colours, int32_t count) {
    if (kept.scene_generation != scene_generation) {
        kept = KeptBackgrounds{};
        kept.scene_generation = scene_generation;
    }
    for (int32_t i = 0; i < kept.count; i++) {
        const Background& entry = kept.entries[i];
        if (entry.colour_count == count && memcmp(entry.colours, colours, sizeof(Color) * count) == 0) return entry.bytes;
    }
    Background& entry = kept.entries[kept.next];
    kept.next = (kept.next + 1) % kept_backgrounds;
    if (kept.count < kept_backgrounds) kept.count++;
    entry.colour_count = count;
    memcpy(entry.colours, colours, sizeof(Color) * count);
    probe_background(&entry);
    return entry.bytes;
}

// Whether an upright quad's edges leave every pixel of the rectangle inside.
bool covers(const WindowEdges& edges, PixelRect rect) {
    return fmin(edges.x0, edges.x1) <= rect.left && fmax(edges.x0, edges.x1) >= rect.right &&
           fmin(edges.y0, edges.y1) <= rect.bottom && fmax(edges.y0, edges.y1) >= rect.top;
}

// The rectangle's quads, when they are flat colours covering it and then one picture.
bool window_picture(PixelRect rect, WindowPicture* out) {
    WindowPicture found{rect, {}, -1, false};
    Color flat_colours[most_flat_colours];
    int32_t flat_count = 0;
    for (int64_t i = 0; i < frame_quads.count; i++) {
        const QuadRecord& quad = frame_quads.data[i];
        if (!rects_meet(quad_bounds(quad), rect)) continue;
        if (found.picture >= 0) return false;
        // Only upright quads: their texture coordinates do not depend on the target's row order.
        WindowEdges edges;
        if (!upright_edges(quad, &edges)) return false;
        uint8_t shading = quad.texture->shading;
        if (shading == shading_picture) {
            found.picture = i;
            found.picture_covers_rect = covers(edges, rect);
        } else if (shading == shading_flat && covers(edges, rect) && flat_count < most_flat_colours) {
            flat_colours[flat_count++] = quad.color;
        } else {
            return false;
        }
    }
    if (found.picture < 0) return false;
    memcpy(found.background, background_bytes(flat_colours, flat_count), sizeof found.background);
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
    texture_bind(TEXTURE_2D, frame_quads.data[picture.picture].texture->name);
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
