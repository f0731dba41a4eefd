#include "render/quad_batch.h"

#include "render/resources.h"
#include "render/scene.h"

#include <kestrune_system.h>

#include <cmath>
#include <cstring>

GrowableArray<QuadRecord> frame_quads;
GrowableArray<QuadRecord> shown_quads;

namespace {

// Four corners of every quad of one drawing, already in clip space, and the indices of its triangles.
struct QuadVertex {
    float position[4];
    float uv[2];
    float color[4];
};

GrowableArray<QuadVertex> batch_vertices;
GrowableArray<uint32_t> batch_textures;
int64_t index_buffer_quads;

constexpr int32_t vertex_stride = sizeof(QuadVertex);

// The shader's mvp * (x, y, 0, 1) for corners of 0 and 1, summed in the shader's order so that every
// corner lands on the same bits as it would there.
void corner_position(const Matrix& mvp, float x, float y, float* out) {
    const float* m = mvp.m;
    for (int row = 0; row < 4; row++) {
        float sum = m[row] * x + m[4 + row] * y;
        sum = sum + m[8 + row] * 0.0f;
        out[row] = sum + m[12 + row];
    }
}

void push_corners(const QuadRecord& quad) {
    const float corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};
    for (const auto& corner : corners) {
        QuadVertex vertex{};
        corner_position(quad.mvp, corner[0], corner[1], vertex.position);
        vertex.uv[0] = corner[0] * quad.rect.width + quad.rect.u;
        vertex.uv[1] = corner[1] * quad.rect.height + quad.rect.v;
        memcpy(vertex.color, &quad.color, sizeof vertex.color);
        array_push(&batch_vertices, vertex);
    }
}

// Two counter-clockwise triangles per quad, as the unit quad has them, for at least `quads` quads.
void reserve_indices(int64_t quads) {
    if (quads <= index_buffer_quads) return;
    int64_t capacity = index_buffer_quads > 0 ? index_buffer_quads : 1024;
    while (capacity < quads) capacity *= 2;
    ArenaMark before = arena_mark(FRAME_ARENA);
    auto* indices = static_cast<uint32_t*>(arena_allocate(FRAME_ARENA, capacity * 6 * 4));
    if (!indices) return;
    const uint32_t pattern[6] = {0, 1, 2, 2, 1, 3};
    for (int64_t quad = 0; quad < capacity; quad++) {
        for (int i = 0; i < 6; i++) indices[quad * 6 + i] = static_cast<uint32_t>(quad * 4) + pattern[i];
    }
    buffer_bind(BUFFER_ELEMENT_ARRAY, quad_batch_index_buffer);
    buffer_data(BUFFER_ELEMENT_ARRAY, capacity * 6 * 4, indices, USAGE_STATIC_DRAW);
    arena_reset_to(before);
    index_buffer_quads = capacity;
}

bool same_quad(const QuadRecord& a, const QuadRecord& b) { return memcmp(&a, &b, sizeof(QuadRecord)) == 0; }

PixelRect rect_union(PixelRect a, PixelRect b) {
    if (rect_is_empty(a)) return b;
    if (rect_is_empty(b)) return a;
    return PixelRect{a.left < b.left ? a.left : b.left, a.bottom < b.bottom ? a.bottom : b.bottom,
                     a.right > b.right ? a.right : b.right, a.top > b.top ? a.top : b.top};
}

bool rects_meet(PixelRect a, PixelRect b) {
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}

int32_t clamped_pixel(double value, int32_t limit) {
    if (value < 0) return 0;
    if (value > limit) return limit;
    return static_cast<int32_t>(value);
}

uint32_t program_for(uint32_t texture) {
    switch (texture_shading(texture)) {
        case shading_flat: return flat_shader;
        case shading_tint: return tint_shader;
        default: return simple_shader;
    }
}

}  // namespace

void record_quad(const Matrix& mvp, uint32_t texture, const Color& color, TextureRect rect) {
    array_push(&frame_quads, QuadRecord{mvp, color, rect, texture, 0});
}

bool rect_is_empty(PixelRect rect) { return rect.right <= rect.left || rect.top <= rect.bottom; }

PixelRect whole_window_rect() { return PixelRect{0, 0, window_width, window_height}; }

PixelRect quad_bounds(const QuadRecord& quad) {
    const float* m = quad.mvp.m;
    double low_x = INFINITY, low_y = INFINITY, high_x = -INFINITY, high_y = -INFINITY;
    for (int corner = 0; corner < 4; corner++) {
        float x = static_cast<float>(corner & 1), y = static_cast<float>(corner >> 1);
        double w = m[3] * x + m[7] * y + m[15];
        // A corner behind the eye has no window position; such a quad may cover anything.
        if (w <= 0) return whole_window_rect();
        double window_x = ((m[0] * x + m[4] * y + m[12]) / w + 1) * 0.5 * window_width;
        double window_y = ((m[1] * x + m[5] * y + m[13]) / w + 1) * 0.5 * window_height;
        low_x = fmin(low_x, window_x);
        low_y = fmin(low_y, window_y);
        high_x = fmax(high_x, window_x);
        high_y = fmax(high_y, window_y);
    }
    if (!(high_x >= low_x && high_y >= low_y)) return whole_window_rect();
    return PixelRect{clamped_pixel(floor(low_x) - 1, window_width), clamped_pixel(floor(low_y) - 1, window_height),
                     clamped_pixel(ceil(high_x) + 1, window_width), clamped_pixel(ceil(high_y) + 1, window_height)};
}

PixelRect changed_region(const GrowableArray<QuadRecord>& now, const GrowableArray<QuadRecord>& before) {
    PixelRect region{0, 0, 0, 0};
    int64_t common = now.count < before.count ? now.count : before.count;
    int64_t first_extra = common;
    for (int64_t i = 0; i < common; i++) {
        if (same_quad(now.data[i], before.data[i])) continue;
        // With different lengths a change shifts every later quad; from here on all of both lists count.
        if (now.count != before.count) {
            first_extra = i;
            break;
        }
        region = rect_union(region, rect_union(quad_bounds(now.data[i]), quad_bounds(before.data[i])));
    }
    for (int64_t i = first_extra; i < now.count; i++) region = rect_union(region, quad_bounds(now.data[i]));
    for (int64_t i = first_extra; i < before.count; i++) region = rect_union(region, quad_bounds(before.data[i]));
    return region;
}

void draw_recorded_quads(int64_t first, int64_t end, PixelRect region) {
    array_clear(&batch_vertices);
    array_clear(&batch_textures);
    bool whole = region.left <= 0 && region.bottom <= 0 && region.right >= window_width && region.top >= window_height;
    for (int64_t i = first; i < end; i++) {
        const QuadRecord& quad = frame_quads.data[i];
        if (!whole && !rects_meet(quad_bounds(quad), region)) continue;
        push_corners(quad);
        array_push(&batch_textures, quad.texture);
    }
    if (batch_textures.count == 0) return;
    vertex_array_bind(quad_batch_vertex_array);
    reserve_indices(batch_textures.count);
    buffer_bind(BUFFER_ARRAY, quad_batch_vertex_buffer);
    buffer_data(BUFFER_ARRAY, batch_vertices.count * vertex_stride, batch_vertices.data, USAGE_STREAM_DRAW);
    texture_unit(0);
    uint32_t bound_program = 0;
    for (int64_t run_start = 0; run_start < batch_textures.count;) {
        uint32_t texture = batch_textures.data[run_start];
        int64_t run_end = run_start + 1;
        while (run_end < batch_textures.count && batch_textures.data[run_end] == texture) run_end++;
        uint32_t program = program_for(texture);
        if (program != bound_program) {
            shader_bind(program);
            bound_program = program;
        }
        texture_bind(TEXTURE_2D, texture);
        draw_elements(PRIMITIVE_TRIANGLES, TYPE_UNSIGNED_INT, static_cast<int32_t>(run_start * 6 * 4),
                      static_cast<int32_t>((run_end - run_start) * 6), 0, 1);
        run_start = run_end;
    }
    buffer_unbind(BUFFER_ARRAY);
    vertex_array_bind(quad_vertex_array);
}
