// Every quad of a frame, recorded by the primitives and drawn later: runs of quads with the same
// texture go to the graphics layer as one draw, over the whole window or only where the frame
// changed.
#pragma once

#include "base/arena.h"
#include "render/changed_cells.h"
#include "render/pixel_region.h"
#include "render/quad_record.h"

#include <cstdint>

// This frame's quads in drawing order, and those the scene holds from the frame before.
extern GrowableArray<QuadRecord> frame_quads;
extern GrowableArray<QuadRecord> shown_quads;

void record_quad(const QuadRecord& quad);

// The rectangle as a quad of the scene's clear colour through the white texture.
QuadRecord region_quad(PixelRect region);

// Quads sent in one upload and drawn by index: started, added, uploaded, drawn, finished.
void start_batch();
int64_t batch_quad(const QuadRecord& quad);
// Only the rectangle's part of an upright picture, for a shader that reads texture coordinates
// from window positions.
int64_t batch_quad_within(const QuadRecord& quad, PixelRect part);
void upload_batch();
void draw_batch_quads(int64_t first, int64_t count);
// Draws of batched quads sent to the graphics layer since start-up, for measuring.
extern int64_t batch_draws_sent;
void finish_batch();

// Drawing and clearing reach only the rectangle until the scissor is turned off.
void limit_to(PixelRect rect);

// Quads first to end - 1 of this frame that reach the region, into the bound frame buffer.
void draw_recorded_quads(int64_t first, int64_t end, PixelRect region);

// Each rectangle of the region cleared to the scene's colour and given this frame's quads up to
// end - 1, within its own scissor; one upload for all.
void draw_changed_region(const PixelRegion& region, int64_t end);

// The changed cells cleared to the scene's colour and given this frame's quads, only within them:
// the cells set the stencil to `mark`, and the quads draw only where it holds it. One upload, one
// set of runs.
void draw_changed_cells(const ChangedCells& cells, uint8_t mark);

// The rectangles in one draw through the bound program.
void draw_rects(const PixelRect* rects, int64_t count);
