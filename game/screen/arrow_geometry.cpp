#include "screen/arrow_geometry.h"

#include "render/primitives.h"

#include <kestrune_system.h>

namespace {

constexpr double degrees_to_radians = 0.017453292519943295;
// The loop fills the middle half of its picture's width, from near its foot up to this share of
// its height; the rest of the picture is clear.
constexpr double self_loop_drawn_width = 0.5;
constexpr double self_loop_drawn_top = 0.91;

// The part of a line from `from` along (ux, uy), between `start` and `end` of its length.
TurnedBox along_line(double from_x, double from_y, double ux, double uy, double offset, double start, double end,
                     double half_width) {
    if (end < start) end = start;
    double middle = (start + end) / 2;
    return TurnedBox{from_x + ux * middle - uy * offset, from_y + uy * middle + ux * offset, ux, uy, (end - start) / 2,
                     half_width};
}

double dot(double ax, double ay, double bx, double by) { return ax * bx + ay * by; }

double absolute(double value) { return value < 0 ? -value : value; }

// Half the box's extent along the unit axis (dx, dy).
double reach_along(const TurnedBox& box, double dx, double dy) {
    return box.half_length * absolute(dot(box.along_x, box.along_y, dx, dy)) +
           box.half_width * absolute(dot(-box.along_y, box.along_x, dx, dy));
}

double point_to_segment(double x, double y, double x0, double y0, double x1, double y1) {
    double dx = x1 - x0, dy = y1 - y0;
    double length_squared = dx * dx + dy * dy;
    double share = length_squared > 0 ? dot(x - x0, y - y0, dx, dy) / length_squared : 0;
    share = share < 0 ? 0 : share > 1 ? 1 : share;
    double nearest_x = x0 + share * dx - x, nearest_y = y0 + share * dy - y;
    return math_sqrt(nearest_x * nearest_x + nearest_y * nearest_y);
}

// From any corner of one box to the nearest edge of the other.
double corners_to_edges(const TurnedBox& a, const TurnedBox& b) {
    BoxCorners from = box_corners(a), to = box_corners(b);
    double nearest = -1;
    for (int32_t corner = 0; corner < 4; corner++) {
        for (int32_t edge = 0; edge < 4; edge++) {
            int32_t next = (edge + 1) % 4;
            double gap = point_to_segment(from.x[corner], from.y[corner], to.x[edge], to.y[edge], to.x[next], to.y[next]);
            if (nearest < 0 || gap < nearest) nearest = gap;
        }
    }
    return nearest;
}

}  // namespace

double self_loop_angle(const Transition& t) { return t.bend - 90.0; }

ArrowPieces arrow_pieces(const Transition& t) {
    float from_x, from_y, to_x, to_y;
    state_center(t.from, &from_x, &from_y);
    state_center(t.to, &to_x, &to_y);
    ArrowPieces pieces{};
    if (t.from == t.to) {
        // The picture stands on the state; what lies inside the state's disc is drawn over.
        double angle = self_loop_angle(t) * degrees_to_radians;
        double ux = math_cos(angle), uy = math_sin(angle);
        double bottom = state_radius, top = self_loop_drawn_top * self_loop_height - self_loop_pivot_y;
        double middle = (bottom + top) / 2;
        pieces.piece[0] = TurnedBox{from_x - uy * middle, from_y + ux * middle, ux, uy,
                                    self_loop_drawn_width * self_loop_width / 2, (top - bottom) / 2};
        pieces.count = 1;
        return pieces;
    }
    double dx = to_x - from_x, dy = to_y - from_y;
    double length = math_sqrt(dx * dx + dy * dy);
    if (length <= 0) return pieces;
    double ux = dx / length, uy = dy / length, offset = t.bend * bend_step;
    double head_end = length - arrow_head_gap * arrow_width + arrow_head_size * arrow_width / 2;
    double head_start = length - arrow_head_gap * arrow_width - arrow_head_size * arrow_width / 2;
    // Both ends of the arrow lie under their states' discs.
    double visible_end = head_end < length - state_radius ? head_end : length - state_radius;
    pieces.piece[0] = along_line(from_x, from_y, ux, uy, offset, state_radius, head_start, arrow_width / 2);
    pieces.piece[1] = along_line(from_x, from_y, ux, uy, offset, head_start, visible_end, arrow_head_size * arrow_width / 2);
    pieces.count = 2;
    return pieces;
}

BoxCorners box_corners(const TurnedBox& box) {
    double lx = box.along_x * box.half_length, ly = box.along_y * box.half_length;
    double wx = -box.along_y * box.half_width, wy = box.along_x * box.half_width;
    return BoxCorners{{box.center_x - lx - wx, box.center_x + lx - wx, box.center_x + lx + wx, box.center_x - lx + wx},
                      {box.center_y - ly - wy, box.center_y + ly - wy, box.center_y + ly + wy, box.center_y - ly + wy}};
}

bool boxes_overlap(const TurnedBox& a, const TurnedBox& b) {
    double axes[4][2] = {{a.along_x, a.along_y}, {-a.along_y, a.along_x}, {b.along_x, b.along_y}, {-b.along_y, b.along_x}};
    for (const auto& axis : axes) {
        double apart = absolute(dot(b.center_x - a.center_x, b.center_y - a.center_y, axis[0], axis[1]));
        if (apart >= reach_along(a, axis[0], axis[1]) + reach_along(b, axis[0], axis[1])) return false;
    }
    return true;
}

double box_gap(const TurnedBox& a, const TurnedBox& b) {
    if (boxes_overlap(a, b)) return 0;
    double one_way = corners_to_edges(a, b), other_way = corners_to_edges(b, a);
    return one_way < other_way ? one_way : other_way;
}

double point_to_box(const TurnedBox& box, double x, double y) {
    double dx = x - box.center_x, dy = y - box.center_y;
    double along = absolute(dot(dx, dy, box.along_x, box.along_y)) - box.half_length;
    double across = absolute(dot(dx, dy, -box.along_y, box.along_x)) - box.half_width;
    along = along > 0 ? along : 0;
    across = across > 0 ? across : 0;
    return math_sqrt(along * along + across * across);
}
