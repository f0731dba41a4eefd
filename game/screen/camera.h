// The world view: where it is centred and how far it is zoomed, the matrices built from it each
// frame, and the mouse seen in window pixels and in the world.
#pragma once

#include "render/matrix.h"

extern double camera_x, camera_y;
extern double camera_speed;
extern double camera_zoom;
// Window pixel (origin bottom-left) to world.
extern Matrix inverse_camera_matrix;

constexpr double min_camera_zoom = 0.25;
constexpr double max_camera_zoom = 4;

// From the window size and the camera as it stands: the screen projection, the camera matrix and its inverse.
void build_camera_matrices();

// Pan, zoom and reset from the keys and the wheel; the keys only while no text is being typed.
void update_camera(double bottom_panel, bool typing);

// The mouse's height above the window's bottom edge, and its point in the world.
double mouse_height();
void mouse_world_point(double* x, double* y);

void reset_camera();
