// Where a transition's arrow lies on the map, in world units: the drawing, the clicks that pick an
// arrow and the check that a map reads clearly all take it from here.
#pragma once

#include "model/game_data.h"

#include <cstdint>

constexpr double arrow_width = 4;
// One step of a straight arrow's bend moves it this far to the left of its direction.
constexpr double bend_step = 8;
constexpr double self_loop_width = 100;
constexpr double self_loop_height = 90;
constexpr double self_loop_pivot_y = -1.5;
// Arrows start and end at the edge of a state's disc.
constexpr double state_radius = 32;

// The loop picture stands up from its state at bend 0; maps give a bend of 0 to a loop whose label
// lies to the right, so the picture is turned a quarter turn clockwise to stand where its label is.
double self_loop_angle(const Transition& t);

// A rectangle whose length lies along the unit vector (along_x, along_y).
struct TurnedBox {
    double center_x, center_y;
    double along_x, along_y;
    double half_length, half_width;
};

// What a reader sees of an arrow, its end states drawn over it: a straight arrow's shaft and head,
// or a self-loop's picture.
struct ArrowPieces {
    TurnedBox piece[2];
    int32_t count;
};
ArrowPieces arrow_pieces(const Transition& t);

// The four corners of a box, in turn around it.
struct BoxCorners {
    double x[4], y[4];
};
BoxCorners box_corners(const TurnedBox& box);

bool boxes_overlap(const TurnedBox& a, const TurnedBox& b);
// The shortest distance between two boxes, 0 when they overlap.
double box_gap(const TurnedBox& a, const TurnedBox& b);
// From the point to the nearest point of the box, 0 inside it.
double point_to_box(const TurnedBox& box, double x, double y);
