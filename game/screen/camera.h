// The world view: where it is centred and how far it is zoomed, and the matrices built from it each frame.
#pragma once

#include "render/matrix.h"

extern double camera_x, camera_y;
extern double camera_speed;
extern double camera_zoom;
// Window pixel (origin bottom-left) to world.
extern Matrix inverse_camera_matrix;

constexpr double min_camera_zoom = 0.25;
constexpr double max_camera_zoom = 4;

// From the window size and the camera as it stands: the screen projection, the camera matrix and its
// inverse. While the camera pans, the view moves by whole pixels a frame.
void build_camera_matrices();

// Pan, zoom and reset from the frame's keys and wheel; the keys only while no text is being typed.
void update_camera(bool typing);

// The world point under a window pixel (origin bottom-left) as the last built matrices show it.
void world_point_of(double x, double y, double* world_x, double* world_y);

void reset_camera();
