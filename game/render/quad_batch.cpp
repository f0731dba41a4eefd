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
    float uv_map[4];
};

GrowableArray<QuadVertex> batch_vertices;
GrowableArray<uint32_t> batch_textures;
// For how many quads the index buffer is filled, and when: resources made again start empty.
int64_t filled_resources_generation;
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

const float unit_corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};

// For an upright picture: its texture coordinates as x0 + x * dx and y0 + y * dy of window pixels;
// zero (none) for any other quad.
void window_uv_map(const QuadRecord& quad, float out[4]) {
    WindowEdges edges;
    if (texture_shading(quad.texture) != shading_picture || !upright_edges(quad, &edges)) return;
    double du = quad.rect.width / (edges.x1 - edges.x0), dv = quad.rect.height / (edges.y1 - edges.y0);
    out[0] = static_cast<float>(quad.rect.u - edges.x0 * du);
    out[1] = static_cast<float>(du);
    out[2] = static_cast<float>(quad.rect.v - edges.y0 * dv);
    out[3] = static_cast<float>(dv);
}

// The quad, placed at the corners of `placed` when given: its texture coordinates as a function of
// window position stay the quad's own.
void push_corners(const QuadRecord& quad, const QuadRecord* placed = nullptr) {
    float uv_map[4] = {};
    window_uv_map(quad, uv_map);
    for (int corner = 0; corner < 4; corner++) {
        QuadVertex vertex{};
        memcpy(vertex.uv_map, uv_map, sizeof vertex.uv_map);
        memcpy(vertex.position, (placed ? placed : &quad)->corners[corner], sizeof vertex.position);
        vertex.uv[0] = unit_corners[corner][0] * quad.rect.width + quad.rect.u;
        vertex.uv[1] = unit_corners[corner][1] * quad.rect.height + quad.rect.v;
        memcpy(vertex.color, &quad.color, sizeof vertex.color);
        array_push(&batch_vertices, vertex);
    }
}

// Two counter-clockwise triangles per quad, as the unit quad has them, for at least `quads` quads.
void reserve_indices(int64_t quads) {
    if (filled_resources_generation != render_resources_generation) index_buffer_quads = 0;
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
    filled_resources_generation = render_resources_generation;
    index_buffer_quads = capacity;
}

int32_t clamped_pixel(double value, int32_t limit) {
    if (value < 0) return 0;
    if (value > limit) return limit;
    return static_cast<int32_t>(value);
}

}  // namespace

QuadRecord region_quad(PixelRect region) {
    QuadRecord quad{{}, scene_clear_color, whole_texture, white_texture, 0};
    float left = static_cast<float>(region.left) / static_cast<float>(window_width) * 2 - 1;
    float right = static_cast<float>(region.right) / static_cast<float>(window_width) * 2 - 1;
    float bottom = static_cast<float>(region.bottom) / static_cast<float>(window_height) * 2 - 1;
    float top = static_cast<float>(region.top) / static_cast<float>(window_height) * 2 - 1;
    const float corners[4][2] = {{left, bottom}, {right, bottom}, {left, top}, {right, top}};
    for (int corner = 0; corner < 4; corner++) {
        quad.corners[corner][0] = corners[corner][0];
        quad.corners[corner][1] = corners[corner][1];
        quad.corners[corner][3] = 1;
    }
    return quad;
}

namespace {

uint32_t program_for(uint32_t texture) {
    switch (texture_shading(texture)) {
        case shading_flat: return flat_shader;
        case shading_tint: return tint_shader;
        default: return simple_shader;
    }
}

}  // namespace

bool upright_edges(const QuadRecord& quad, WindowEdges* edges) {
    const float(*c)[4] = quad.corners;
    for (int corner = 0; corner < 4; corner++) {
        if (c[corner][3] != 1) return false;
    }
    if (c[0][0] != c[2][0] || c[1][0] != c[3][0] || c[0][1] != c[1][1] || c[2][1] != c[3][1]) return false;
    *edges = WindowEdges{(c[0][0] + 1.0) * 0.5 * window_width, (c[1][0] + 1.0) * 0.5 * window_width,
                         (c[0][1] + 1.0) * 0.5 * window_height, (c[2][1] + 1.0) * 0.5 * window_height};
    return edges->x0 != edges->x1 && edges->y0 != edges->y1;
}

QuadRecord quad_record(const Matrix& mvp, uint32_t texture, const Color& color, TextureRect rect) {
    QuadRecord quad{{}, color, rect, texture, 0};
    for (int corner = 0; corner < 4; corner++) {
        corner_position(mvp, unit_corners[corner][0], unit_corners[corner][1], quad.corners[corner]);
    }
    return quad;
}

void record_quad(const QuadRecord& quad) { array_push(&frame_quads, quad); }

PixelRect quad_bounds(const QuadRecord& quad) {
    double low_x = INFINITY, low_y = INFINITY, high_x = -INFINITY, high_y = -INFINITY;
    for (const float* corner : quad.corners) {
        double w = corner[3];
        // A corner behind the eye has no window position; such a quad may cover anything.
        if (w <= 0) return whole_window_rect();
        double window_x = (corner[0] / w + 1) * 0.5 * window_width;
        double window_y = (corner[1] / w + 1) * 0.5 * window_height;
        low_x = fmin(low_x, window_x);
        low_y = fmin(low_y, window_y);
        high_x = fmax(high_x, window_x);
        high_y = fmax(high_y, window_y);
    }
    if (!(high_x >= low_x && high_y >= low_y)) return whole_window_rect();
    // Corners come back from clip space a rounding away from whole pixels; the pixel of margin
    // covers far more than that.
    constexpr double rounding = 1.0 / 256;
    return PixelRect{clamped_pixel(floor(low_x + rounding) - 1, window_width),
                     clamped_pixel(floor(low_y + rounding) - 1, window_height),
                     clamped_pixel(ceil(high_x - rounding) + 1, window_width),
                     clamped_pixel(ceil(high_y - rounding) + 1, window_height)};
}

namespace {

// Appends the quads of this frame from first to end - 1 that reach the region.
void batch_region(int64_t first, int64_t end, PixelRect region, bool clear_under) {
    bool whole = rect_is_whole_window(region);
    // Opaque white texels: the clear colour itself lands on every pixel, whatever the blending.
    if (clear_under) batch_quad(region_quad(region));
    for (int64_t i = first; i < end; i++) {
        const QuadRecord& quad = frame_quads.data[i];
        if (!whole && !rects_meet(quad_bounds(quad), region)) continue;
        batch_quad(quad);
    }
}

// One draw per run of batched quads with the same texture, from quad `from` to `to` - 1.
void draw_batch_runs(int64_t from, int64_t to) {
    texture_unit(0);
    uint32_t bound_program = 0;
    for (int64_t run_start = from; run_start < to;) {
        uint32_t texture = batch_textures.data[run_start];
        int64_t run_end = run_start + 1;
        while (run_end < to && batch_textures.data[run_end] == texture) run_end++;
        uint32_t program = program_for(texture);
        if (program != bound_program) {
            shader_bind(program);
            bound_program = program;
        }
        texture_bind(TEXTURE_2D, texture);
        draw_batch_quads(run_start, run_end - run_start);
        run_start = run_end;
    }
}

}  // namespace

void start_batch() {
    array_clear(&batch_vertices);
    array_clear(&batch_textures);
}

int64_t batch_quad(const QuadRecord& quad) {
    push_corners(quad);
    array_push(&batch_textures, quad.texture);
    return batch_textures.count - 1;
}

int64_t batch_quad_within(const QuadRecord& quad, PixelRect part) {
    QuadRecord placed = region_quad(part);
    push_corners(quad, &placed);
    array_push(&batch_textures, quad.texture);
    return batch_textures.count - 1;
}

void upload_batch() {
    vertex_array_bind(quad_batch_vertex_array);
    reserve_indices(batch_textures.count);
    buffer_bind(BUFFER_ARRAY, quad_batch_vertex_buffer);
    buffer_data(BUFFER_ARRAY, batch_vertices.count * vertex_stride, batch_vertices.data, USAGE_STREAM_DRAW);
}

void draw_batch_quads(int64_t first, int64_t count) {
    draw_elements(PRIMITIVE_TRIANGLES, TYPE_UNSIGNED_INT, static_cast<int32_t>(first * 6 * 4),
                  static_cast<int32_t>(count * 6), 0, 1);
}

void finish_batch() {
    buffer_unbind(BUFFER_ARRAY);
    vertex_array_bind(quad_vertex_array);
}

void limit_to(PixelRect rect) {
    pipeline_scissor_enable(true);
    pipeline_scissor_rect(rect.left, rect.bottom, rect.right - rect.left, rect.top - rect.bottom);
}

void draw_recorded_quads(int64_t first, int64_t end, PixelRect region) {
    start_batch();
    batch_region(first, end, region, false);
    if (batch_textures.count == 0) return;
    upload_batch();
    draw_batch_runs(0, batch_textures.count);
    finish_batch();
}

void draw_changed_region(const PixelRegion& region) {
    start_batch();
    int64_t starts[region_rect_capacity + 1];
    for (int32_t i = 0; i < region.count; i++) {
        starts[i] = batch_textures.count;
        batch_region(0, frame_quads.count, region.rects[i], true);
    }
    starts[region.count] = batch_textures.count;
    if (batch_textures.count == 0) return;
    upload_batch();
    for (int32_t i = 0; i < region.count; i++) {
        limit_to(region.rects[i]);
        draw_batch_runs(starts[i], starts[i + 1]);
    }
    finish_batch();
}

void draw_region_rects(const PixelRegion& region) {
    start_batch();
    for (int32_t i = 0; i < region.count; i++) {
        QuadRecord quad = region_quad(region.rects[i]);
        const PixelRect& r = region.rects[i];
        auto width = static_cast<float>(window_width), height = static_cast<float>(window_height);
        quad.rect = TextureRect{static_cast<float>(r.left) / width, static_cast<float>(r.bottom) / height,
                                static_cast<float>(r.right - r.left) / width, static_cast<float>(r.top - r.bottom) / height};
        batch_quad(quad);
    }
    if (batch_textures.count == 0) return;
    upload_batch();
    draw_batch_quads(0, batch_textures.count);
    finish_batch();
}
