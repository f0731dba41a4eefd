#include "render/quad_batch.h"

#include "render/resources.h"
#include "render/scene_target.h"

#include <kestrune_system.h>

#include <cmath>
#include <cstring>

GrowableArray<QuadRecord> frame_quads;
GrowableArray<QuadRecord> shown_quads;
int64_t batch_draws_sent;

namespace {

// Four corners of every quad of one drawing, already in clip space, and the indices of its triangles.
struct QuadVertex {
    float position[4];
    float uv[2];
    float color[4];
    float uv_map[4];
};

GrowableArray<QuadVertex> batch_vertices;
GrowableArray<const Texture*> batch_textures;
// For how many quads the index buffer is filled, and when: resources made again start empty.
int64_t filled_resources_generation;
int64_t index_buffer_quads;

constexpr int32_t vertex_stride = sizeof(QuadVertex);

const float unit_corners[4][2] = {{0, 0}, {1, 0}, {0, 1}, {1, 1}};

// For an upright picture: its texture coordinates as x0 + x * dx and y0 + y * dy of window pixels;
// zero (none) for any other quad.
void window_uv_map(const QuadRecord& quad, float out[4]) {
    WindowEdges edges;
    if (quad.texture->shading != shading_picture || !upright_edges(quad, &edges)) return;
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

}  // namespace

QuadRecord region_quad(PixelRect region) {
    QuadRecord quad{{}, scene_clear_color, whole_texture, &white_texture};
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

uint32_t program_for(const Texture* texture) {
    switch (texture->shading) {
        case shading_flat: return flat_shader;
        case shading_tint: return tint_shader;
        default: return simple_shader;
    }
}

}  // namespace

void record_quad(const QuadRecord& quad) { array_push(&frame_quads, quad); }

namespace {

// Runs of quads with one texture, each a draw. A quad joins the last run of its texture unless an
// earlier quad it may overlap lies in a later run: quads that draw different pixels give the same
// picture in either order, so the frame is unchanged and takes fewer draws. What a quad may overlap
// is known by cells of the window, each holding the last run that reached it with the box of the
// pixels that run draws there, and the latest of the cell's other runs. Glyphs side by side in a
// line touch without overlapping, so a line of text with symbols in it stays in a few runs.
constexpr int32_t run_cell_size = 16;
constexpr int32_t most_run_textures = 64;

struct TextureRun {
    const Texture* texture;
    int64_t last_run;
};

struct RunCell {
    int64_t last_run;
    // Every pixel of last_run's quads in the cell.
    PixelRect last_run_pixels;
    // At least the latest run of the cell's other quads.
    int64_t earlier_run;
};

struct RunPlan {
    GrowableArray<int64_t> run_of_quad;
    GrowableArray<int64_t> run_starts;
    GrowableArray<const QuadRecord*> quads;
    GrowableArray<PixelRect> bounds;
    // The quad's part in cut_parts drawn in its place, or -1 for the whole quad.
    GrowableArray<int64_t> parts;
    GrowableArray<RunCell> cells;
    int64_t run_count;
};

RunPlan run_plan;

// Parts of upright quads cut to the runs of changed cells.
GrowableArray<QuadRecord> cut_parts;

void start_run_plan() {
    array_clear(&run_plan.quads);
    array_clear(&run_plan.bounds);
    array_clear(&run_plan.parts);
}

void plan_quad(const QuadRecord* quad, PixelRect bounds, int64_t part) {
    array_push(&run_plan.quads, quad);
    array_push(&run_plan.bounds, bounds);
    array_push(&run_plan.parts, part);
}

// The latest run in the cell that may draw some of these pixels.
int64_t latest_run_under(const RunCell& cell, PixelRect pixels) {
    return rects_meet(cell.last_run_pixels, pixels) ? cell.last_run : cell.earlier_run;
}

void note_run_in_cell(RunCell* cell, int64_t run, PixelRect pixels) {
    if (run == cell->last_run) {
        cell->last_run_pixels = rect_union(cell->last_run_pixels, pixels);
    } else if (run > cell->last_run) {
        if (cell->last_run > cell->earlier_run) cell->earlier_run = cell->last_run;
        cell->last_run = run;
        cell->last_run_pixels = pixels;
    } else if (run > cell->earlier_run) {
        cell->earlier_run = run;
    }
}

void plan_runs() {
    RunPlan& plan = run_plan;
    int32_t columns = (window_width + run_cell_size - 1) / run_cell_size;
    int32_t rows = (window_height + run_cell_size - 1) / run_cell_size;
    int64_t cells = int64_t{columns} * rows;
    array_reserve(&plan.cells, cells);
    // Without room for the cells every quad may overlap the last run: the quads keep their order.
    bool cells_known = plan.cells.data && plan.cells.capacity >= cells;
    if (!cells_known) columns = rows = 0;
    plan.cells.count = cells_known ? cells : 0;
    for (int64_t cell = 0; cell < plan.cells.count; cell++) plan.cells.data[cell] = RunCell{-1, PixelRect{0, 0, 0, 0}, -1};
    array_clear(&plan.run_of_quad);
    plan.run_count = 0;
    TextureRun texture_runs[most_run_textures];
    int32_t texture_count = 0;
    for (int64_t i = 0; i < plan.quads.count; i++) {
        const QuadRecord& quad = *plan.quads.data[i];
        PixelRect bounds = plan.bounds.data[i];
        int32_t left = bounds.left / run_cell_size, right = (bounds.right + run_cell_size - 1) / run_cell_size;
        int32_t bottom = bounds.bottom / run_cell_size, top = (bounds.top + run_cell_size - 1) / run_cell_size;
        if (right > columns) right = columns;
        if (top > rows) top = rows;
        int64_t after = cells_known ? -1 : plan.run_count - 1;
        for (int32_t row = bottom; row < top; row++) {
            for (int32_t column = left; column < right; column++) {
                int64_t run = latest_run_under(plan.cells.data[int64_t{row} * columns + column], bounds);
                if (run > after) after = run;
            }
        }
        int32_t known = 0;
        while (known < texture_count && texture_runs[known].texture != quad.texture) known++;
        int64_t run = known < texture_count && texture_runs[known].last_run >= after ? texture_runs[known].last_run
                                                                                   : plan.run_count++;
        if (known < texture_count) {
            texture_runs[known].last_run = run;
        } else if (texture_count < most_run_textures) {
            texture_runs[texture_count++] = TextureRun{quad.texture, run};
        }
        for (int32_t row = bottom; row < top; row++) {
            for (int32_t column = left; column < right; column++) {
                PixelRect cell{column * run_cell_size, row * run_cell_size, (column + 1) * run_cell_size, (row + 1) * run_cell_size};
                note_run_in_cell(&plan.cells.data[int64_t{row} * columns + column], run, rect_intersection(bounds, cell));
            }
        }
        array_push(&plan.run_of_quad, run);
    }
}

// The planned quads batched run after run, each run in the quads' own order.
void batch_planned_runs() {
    RunPlan& plan = run_plan;
    plan_runs();
    array_clear(&plan.run_starts);
    for (int64_t run = 0; run <= plan.run_count; run++) array_push(&plan.run_starts, int64_t{0});
    for (int64_t i = 0; i < plan.quads.count; i++) plan.run_starts.data[plan.run_of_quad.data[i] + 1]++;
    for (int64_t run = 0; run < plan.run_count; run++) plan.run_starts.data[run + 1] += plan.run_starts.data[run];
    int64_t first = batch_textures.count;
    for (int64_t i = 0; i < plan.quads.count; i++) {
        int64_t part = plan.parts.data[i];
        push_corners(*plan.quads.data[i], part >= 0 ? &cut_parts.data[part] : nullptr);
        array_push(&batch_textures, plan.quads.data[i]->texture);
    }
    // Nothing to order; the batch may not even have storage yet.
    if (plan.quads.count == 0) return;
    // Corners in run order: each quad's four vertices moved to its place in its run.
    ArenaMark before = arena_mark(FRAME_ARENA);
    auto* placed = static_cast<QuadVertex*>(arena_allocate(FRAME_ARENA, plan.quads.count * 4 * int64_t{sizeof(QuadVertex)}));
    if (!placed) {
        arena_reset_to(before);
        return;
    }
    for (int64_t i = 0; i < plan.quads.count; i++) {
        int64_t place = plan.run_starts.data[plan.run_of_quad.data[i]]++;
        memcpy(placed + place * 4, batch_vertices.data + (first + i) * 4, 4 * sizeof(QuadVertex));
        batch_textures.data[first + place] = plan.quads.data[i]->texture;
    }
    memcpy(batch_vertices.data + first * 4, placed, plan.quads.count * 4 * sizeof(QuadVertex));
    arena_reset_to(before);
}

// Each of this frame's quads with the pixels it can touch and those it can draw, worked out once
// for all the rectangles of a region.
struct QuadBoxes {
    PixelRect touched;
    PixelRect drawn;
};

GrowableArray<QuadBoxes> frame_quad_boxes;

void measure_frame_quads() {
    array_clear(&frame_quad_boxes);
    for (int64_t i = 0; i < frame_quads.count; i++) {
        array_push(&frame_quad_boxes, QuadBoxes{quad_bounds(frame_quads.data[i]), quad_drawn_pixels(frame_quads.data[i])});
    }
}

// Appends the quads of this frame from first to end - 1 that reach the region, by the boxes
// measure_frame_quads found.
void batch_region(int64_t first, int64_t end, PixelRect region, bool clear_under) {
    bool whole = rect_is_whole_window(region);
    start_run_plan();
    // Opaque white texels: the clear colour itself lands on every pixel, whatever the blending.
    QuadRecord clear = region_quad(region);
    if (clear_under) plan_quad(&clear, region, -1);
    for (int64_t i = first; i < end; i++) {
        const QuadBoxes& boxes = frame_quad_boxes.data[i];
        if (!whole && !rects_meet(boxes.touched, region)) continue;
        plan_quad(&frame_quads.data[i], boxes.drawn, -1);
    }
    batch_planned_runs();
}

// The clip-space x of a window column edge, as region_quad places it.
float clip_x(int32_t x) { return static_cast<float>(x) / static_cast<float>(window_width) * 2 - 1; }
float clip_y(int32_t y) { return static_cast<float>(y) / static_cast<float>(window_height) * 2 - 1; }

// One edge pair of an upright quad cut to [low, high): an edge inside keeps its own place, so the
// pixels along it are decided as before; an edge outside moves to the cut, between pixel centres.
// False when nothing of the pair lies between the cuts.
bool cut_edges(double* edge0, double* edge1, float* clip0, float* clip1, int32_t low, int32_t high, float (*clip)(int32_t)) {
    bool rising = *edge0 < *edge1;
    double* first = rising ? edge0 : edge1;
    double* last = rising ? edge1 : edge0;
    float* first_clip = rising ? clip0 : clip1;
    float* last_clip = rising ? clip1 : clip0;
    if (*first < low) {
        *first = low;
        *first_clip = clip(low);
    }
    if (*last > high) {
        *last = high;
        *last_clip = clip(high);
    }
    return *first < *last;
}

// The upright quad's part inside the rectangle, its pixels those of the quad there; false when it
// has none.
bool quad_part(const QuadRecord& quad, WindowEdges edges, PixelRect rect, QuadRecord* part) {
    *part = quad;
    float x0 = quad.corners[0][0], x1 = quad.corners[1][0], y0 = quad.corners[0][1], y1 = quad.corners[2][1];
    if (!cut_edges(&edges.x0, &edges.x1, &x0, &x1, rect.left, rect.right, clip_x)) return false;
    if (!cut_edges(&edges.y0, &edges.y1, &y0, &y1, rect.bottom, rect.top, clip_y)) return false;
    part->corners[0][0] = part->corners[2][0] = x0;
    part->corners[1][0] = part->corners[3][0] = x1;
    part->corners[0][1] = part->corners[1][1] = y0;
    part->corners[2][1] = part->corners[3][1] = y1;
    return true;
}

// A stencil that fails still costs a software renderer much of a drawn pixel. An upright quad whose
// colour does not follow its interpolated texture coordinates, flat or a picture read by window
// position, that meets the cells in well under half its box is cut to the runs it meets instead:
// each pixel is drawn once, as before, since cuts fall between pixel centres.
bool cut_to_runs(const QuadRecord& quad, const ChangedCells& cells) {
    WindowEdges edges;
    if (quad.texture->shading == shading_tint || !upright_edges(quad, &edges)) return false;
    PixelRect box = quad_drawn_pixels(quad);
    int64_t first_part = cut_parts.count, met = 0;
    for (int64_t i = first_run_reaching(cells, box.bottom); i < cells.rects.count && cells.rects.data[i].bottom < box.top; i++) {
        PixelRect run = cells.rects.data[i];
        if (!rects_meet(box, run)) continue;
        met += rect_area(rect_intersection(box, run));
        QuadRecord part;
        if (quad_part(quad, edges, run, &part)) array_push(&cut_parts, part);
    }
    if (met * 2 < rect_area(box)) return true;
    cut_parts.count = first_part;
    return false;
}

// One draw per run of batched quads with the same texture, from quad `from` to `to` - 1.
void draw_batch_runs(int64_t from, int64_t to) {
    texture_unit(0);
    uint32_t bound_program = 0;
    for (int64_t run_start = from; run_start < to;) {
        const Texture* texture = batch_textures.data[run_start];
        int64_t run_end = run_start + 1;
        while (run_end < to && batch_textures.data[run_end] == texture) run_end++;
        uint32_t program = program_for(texture);
        if (program != bound_program) {
            shader_bind(program);
            bound_program = program;
        }
        texture_bind(TEXTURE_2D, texture->name);
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
    batch_draws_sent++;
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
    measure_frame_quads();
    batch_region(first, end, region, false);
    if (batch_textures.count == 0) return;
    upload_batch();
    draw_batch_runs(0, batch_textures.count);
    finish_batch();
}

void draw_changed_region(const PixelRegion& region, int64_t end) {
    start_batch();
    measure_frame_quads();
    int64_t starts[region_rect_capacity + 1];
    for (int32_t i = 0; i < region.count; i++) {
        starts[i] = batch_textures.count;
        batch_region(0, end, region.rects[i], true);
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

void draw_changed_cells(const ChangedCells& cells, uint8_t mark) {
    start_batch();
    for (int64_t i = 0; i < cells.rects.count; i++) batch_quad(region_quad(cells.rects.data[i]));
    int64_t clears = batch_textures.count;
    start_run_plan();
    array_clear(&cut_parts);
    for (int64_t i = 0; i < frame_quads.count; i++) {
        const QuadRecord& quad = frame_quads.data[i];
        if (!quad_meets_cells(quad, cells)) continue;
        int64_t first_part = cut_parts.count;
        if (!cut_to_runs(quad, cells)) {
            plan_quad(&quad, quad_drawn_pixels(quad), -1);
            continue;
        }
        for (int64_t part = first_part; part < cut_parts.count; part++) {
            plan_quad(&quad, quad_drawn_pixels(cut_parts.data[part]), part);
        }
    }
    batch_planned_runs();
    if (batch_textures.count == 0) return;
    upload_batch();
    pipeline_scissor_enable(false);
    pipeline_stencil_enable(true);
    pipeline_stencil_func(COMPARE_ALWAYS, mark, 0xff);
    pipeline_stencil_op(STENCIL_KEEP, STENCIL_KEEP, STENCIL_REPLACE);
    draw_batch_runs(0, clears);
    pipeline_stencil_func(COMPARE_EQUAL, mark, 0xff);
    pipeline_stencil_op(STENCIL_KEEP, STENCIL_KEEP, STENCIL_KEEP);
    draw_batch_runs(clears, batch_textures.count);
    pipeline_stencil_enable(false);
    finish_batch();
}

void draw_rects(const PixelRect* rects, int64_t count) {
    start_batch();
    for (int64_t i = 0; i < count; i++) batch_quad(region_quad(rects[i]));
    if (batch_textures.count == 0) return;
    upload_batch();
    draw_batch_quads(0, batch_textures.count);
    finish_batch();
}
