// The map list's picture of the current map: shrunk to fit, with the world origin on the window centre.
#pragma once

constexpr double preview_max_width = 600;
constexpr double preview_max_height = 320;

// The factor from world units to preview pixels: 1, or less when the map's states reach further from
// the origin than half the preview's width or height.
double preview_fit();

void draw_map_preview();
