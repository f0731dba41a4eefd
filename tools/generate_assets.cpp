// Writes the game's pictures, its bitmap font and the font description into resources/.
// Usage: generate_assets [output directory, default "resources"]
// Every picture the game tints is drawn in white or grey on a transparent background.

#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
#define STB_TRUETYPE_IMPLEMENTATION
#include <stb_truetype.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const char* const font_path = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
const char* const font_licence_path = "/usr/share/doc/fonts-dejavu-core/copyright";

constexpr double pi = 3.14159265358979323846;

struct Color {
    double r, g, b, a;
};

const Color white{1, 1, 1, 1};

Color grey(double level, double alpha = 1) { return Color{level, level, level, alpha}; }

// Premultiplied floating-point canvas, y downwards as in the written file.
struct Canvas {
    int width;
    int height;
    std::vector<double> pixels;
};

Canvas make_canvas(int width, int height) {
    return Canvas{width, height, std::vector<double>(static_cast<size_t>(width) * height * 4, 0.0)};
}

void blend_pixel(Canvas& canvas, int x, int y, Color color, double coverage) {
    if (x < 0 || y < 0 || x >= canvas.width || y >= canvas.height || coverage <= 0) return;
    double alpha = color.a * coverage;
    double* p = &canvas.pixels[(static_cast<size_t>(y) * canvas.width + x) * 4];
    p[0] = color.r * alpha + p[0] * (1 - alpha);
    p[1] = color.g * alpha + p[1] * (1 - alpha);
    p[2] = color.b * alpha + p[2] * (1 - alpha);
    p[3] = alpha + p[3] * (1 - alpha);
}

using Inside = std::function<bool(double, double)>;

struct Shape {
    double left, top, right, bottom;
    Inside inside;
};

// Coverage by 8 x 8 supersampling inside the shape's bounding box.
void fill(Canvas& canvas, const Shape& shape, Color color) {
    constexpr int samples = 8;
    int x0 = std::max(0, static_cast<int>(std::floor(shape.left)) - 1);
    int y0 = std::max(0, static_cast<int>(std::floor(shape.top)) - 1);
    int x1 = std::min(canvas.width - 1, static_cast<int>(std::ceil(shape.right)) + 1);
    int y1 = std::min(canvas.height - 1, static_cast<int>(std::ceil(shape.bottom)) + 1);
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    if (shape.inside(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)) ++hits;
                }
            }
            blend_pixel(canvas, x, y, color, static_cast<double>(hits) / (samples * samples));
        }
    }
}

Shape disc(double cx, double cy, double r) {
    return Shape{cx - r, cy - r, cx + r, cy + r, [=](double x, double y) {
                     return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
                 }};
}

Shape ring(double cx, double cy, double inner, double outer) {
    return Shape{cx - outer, cy - outer, cx + outer, cy + outer, [=](double x, double y) {
                     double d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                     return d <= outer * outer && d >= inner * inner;
                 }};
}

struct Point {
    double x, y;
};

// Even-odd rule, so any simple polygon works.
Shape polygon(std::vector<Point> points) {
    double left = 1e9, top = 1e9, right = -1e9, bottom = -1e9;
    for (Point p : points) {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        top = std::min(top, p.y);
        bottom = std::max(bottom, p.y);
    }
    return Shape{left, top, right, bottom, [points](double x, double y) {
                     bool inside = false;
                     size_t n = points.size();
                     for (size_t i = 0, j = n - 1; i < n; j = i++) {
                         Point a = points[i], b = points[j];
                         if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
                             inside = !inside;
                         }
                     }
                     return inside;
                 }};
}

std::vector<Point> regular_polygon(double cx, double cy, double r, int corners, double first_angle) {
    std::vector<Point> points;
    for (int i = 0; i < corners; ++i) {
        double angle = first_angle + 2 * pi * i / corners;
        points.push_back(Point{cx + r * std::cos(angle), cy + r * std::sin(angle)});
    }
    return points;
}

// A stroke with round ends.
Shape segment(double x0, double y0, double x1, double y1, double thickness) {
    double h = thickness / 2;
    return Shape{std::min(x0, x1) - h, std::min(y0, y1) - h, std::max(x0, x1) + h, std::max(y0, y1) + h,
                 [=](double x, double y) {
                     double dx = x1 - x0, dy = y1 - y0;
                     double length2 = dx * dx + dy * dy;
                     double t = length2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / length2 : 0;
                     t = std::clamp(t, 0.0, 1.0);
                     double px = x0 + t * dx - x, py = y0 + t * dy - y;
                     return px * px + py * py <= h * h;
                 }};
}

// A band along a circle from angle a0 to a1 (radians, y downwards, a1 > a0), with round ends.
Shape arc(double cx, double cy, double r, double thickness, double a0, double a1) {
    double h = thickness / 2;
    double ex0 = cx + r * std::cos(a0), ey0 = cy + r * std::sin(a0);
    double ex1 = cx + r * std::cos(a1), ey1 = cy + r * std::sin(a1);
    return Shape{cx - r - h, cy - r - h, cx + r + h, cy + r + h, [=](double x, double y) {
                     double dx = x - cx, dy = y - cy;
                     double d = std::sqrt(dx * dx + dy * dy);
                     double angle = std::atan2(dy, dx);
                     while (angle < a0) angle += 2 * pi;
                     if (angle <= a1 && std::abs(d - r) <= h) return true;
                     double q0 = (x - ex0) * (x - ex0) + (y - ey0) * (y - ey0);
                     double q1 = (x - ex1) * (x - ex1) + (y - ey1) * (y - ey1);
                     return q0 <= h * h || q1 <= h * h;
                 }};
}

Shape rounded_rect(double left, double top, double right, double bottom, double radius) {
    return Shape{left, top, right, bottom, [=](double x, double y) {
                     if (x < left || x > right || y < top || y > bottom) return false;
                     double qx = std::max({left + radius - x, 0.0, x - (right - radius)});
                     double qy = std::max({top + radius - y, 0.0, y - (bottom - radius)});
                     return qx * qx + qy * qy <= radius * radius;
                 }};
}

Shape rectangle(double left, double top, double right, double bottom) {
    return rounded_rect(left, top, right, bottom, 0);
}

Shape difference(const Shape& a, const Shape& b) {
    Inside ia = a.inside, ib = b.inside;
    return Shape{a.left, a.top, a.right, a.bottom, [=](double x, double y) { return ia(x, y) && !ib(x, y); }};
}

// Paints every pixel: value (x, y) -> colour, for gradients.
void paint(Canvas& canvas, const Shape& mask, const std::function<Color(double, double)>& color_at) {
    constexpr int samples = 8;
    for (int y = 0; y < canvas.height; ++y) {
        for (int x = 0; x < canvas.width; ++x) {
            int hits = 0;
            for (int sy = 0; sy < samples; ++sy) {
                for (int sx = 0; sx < samples; ++sx) {
                    if (mask.inside(x + (sx + 0.5) / samples, y + (sy + 0.5) / samples)) ++hits;
                }
            }
            double u = (x + 0.5) / canvas.width, v = (y + 0.5) / canvas.height;
            blend_pixel(canvas, x, y, color_at(u, v), static_cast<double>(hits) / (samples * samples));
        }
    }
}

// Arrow head: a triangle with its tip at (x, y) pointing along (dx, dy).
Shape arrow_head(double x, double y, double dx, double dy, double length, double half_width) {
    double l = std::sqrt(dx * dx + dy * dy);
    dx /= l;
    dy /= l;
    double bx = x - dx * length, by = y - dy * length;
    return polygon({{x, y}, {bx - dy * half_width, by + dx * half_width}, {bx + dy * half_width, by - dx * half_width}});
}

// ---- text with the TrueType font ----

struct FontFile {
    std::vector<unsigned char> bytes;
    stbtt_fontinfo info;
};

bool read_file(const char* path, std::vector<unsigned char>& bytes) {
    FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    bytes.resize(static_cast<size_t>(size));
    size_t read = std::fread(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    return read == bytes.size();
}

double text_width(const FontFile& font, const std::string& text, double pixel_height) {
    float scale = stbtt_ScaleForPixelHeight(&font.info, static_cast<float>(pixel_height));
    double width = 0;
    for (char c : text) {
        int advance, bearing;
        stbtt_GetCodepointHMetrics(&font.info, c, &advance, &bearing);
        width += advance * scale;
    }
    return width;
}

// Text centred horizontally on cx with its baseline at y.
void draw_label(Canvas& canvas, const FontFile& font, const std::string& text, double cx, double baseline,
                double pixel_height, Color color) {
    float scale = stbtt_ScaleForPixelHeight(&font.info, static_cast<float>(pixel_height));
    double pen = cx - text_width(font, text, pixel_height) / 2;
    for (char c : text) {
        int advance, bearing;
        stbtt_GetCodepointHMetrics(&font.info, c, &advance, &bearing);
        float shift_x = static_cast<float>(pen - std::floor(pen));
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBoxSubpixel(&font.info, c, scale, scale, shift_x, 0, &x0, &y0, &x1, &y1);
        int w = x1 - x0, h = y1 - y0;
        if (w > 0 && h > 0) {
            std::vector<unsigned char> glyph(static_cast<size_t>(w) * h);
            stbtt_MakeCodepointBitmapSubpixel(&font.info, glyph.data(), w, h, w, scale, scale, shift_x, 0, c);
            int ox = static_cast<int>(std::floor(pen)) + x0;
            int oy = static_cast<int>(std::lround(baseline)) + y0;
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    blend_pixel(canvas, ox + x, oy + y, color, glyph[static_cast<size_t>(y) * w + x] / 255.0);
                }
            }
        }
        pen += advance * scale;
    }
}

// ---- output ----

// Transparent pixels take the colour of their neighbours, so filtering and mipmaps show no dark fringes.
std::vector<unsigned char> to_straight_alpha(const Canvas& canvas) {
    size_t count = static_cast<size_t>(canvas.width) * canvas.height;
    std::vector<double> rgb(count * 3, 0.0);
    std::vector<bool> known(count, false);
    for (size_t i = 0; i < count; ++i) {
        double a = canvas.pixels[i * 4 + 3];
        if (a > 1e-6) {
            for (int c = 0; c < 3; ++c) rgb[i * 3 + c] = std::min(1.0, canvas.pixels[i * 4 + c] / a);
            known[i] = true;
        }
    }
    for (int pass = 0; pass < 4; ++pass) {
        std::vector<bool> next = known;
        for (int y = 0; y < canvas.height; ++y) {
            for (int x = 0; x < canvas.width; ++x) {
                size_t i = static_cast<size_t>(y) * canvas.width + x;
                if (known[i]) continue;
                double sum[3] = {0, 0, 0};
                int found = 0;
                for (int dy = -1; dy <= 1; ++dy) {
                    for (int dx = -1; dx <= 1; ++dx) {
                        int nx = x + dx, ny = y + dy;
                        if (nx < 0 || ny < 0 || nx >= canvas.width || ny >= canvas.height) continue;
                        size_t j = static_cast<size_t>(ny) * canvas.width + nx;
                        if (!known[j]) continue;
                        for (int c = 0; c < 3; ++c) sum[c] += rgb[j * 3 + c];
                        ++found;
                    }
                }
                if (found) {
                    for (int c = 0; c < 3; ++c) rgb[i * 3 + c] = sum[c] / found;
                    next[i] = true;
                }
            }
        }
        known = next;
    }
    std::vector<unsigned char> bytes(count * 4);
    for (size_t i = 0; i < count; ++i) {
        for (int c = 0; c < 3; ++c) {
            double value = known[i] ? rgb[i * 3 + c] : 1.0;
            bytes[i * 4 + c] = static_cast<unsigned char>(std::lround(value * 255));
        }
        bytes[i * 4 + 3] = static_cast<unsigned char>(std::lround(std::clamp(canvas.pixels[i * 4 + 3], 0.0, 1.0) * 255));
    }
    return bytes;
}

bool write_png(const std::string& directory, const char* name, const Canvas& canvas) {
    std::string path = directory + "/" + name;
    std::vector<unsigned char> bytes = to_straight_alpha(canvas);
    if (!stbi_write_png(path.c_str(), canvas.width, canvas.height, 4, bytes.data(), canvas.width * 4)) {
        std::fprintf(stderr, "could not write %s\n", path.c_str());
        return false;
    }
    return true;
}

// ---- the pictures ----

constexpr int icon = 256;
constexpr double centre = icon / 2.0;

Canvas shape_circle() {
    Canvas c = make_canvas(icon, icon);
    fill(c, disc(centre, centre, 126), white);
    return c;
}

Canvas shape_triangle() {
    Canvas c = make_canvas(icon, icon);
    // Pointing up; the arrow head turns it to point along the arrow.
    fill(c, polygon({{centre, 10}, {244, 234}, {12, 234}}), white);
    return c;
}

Canvas shape_square() {
    Canvas c = make_canvas(icon, icon);
    fill(c, rounded_rect(24, 24, 232, 232, 10), white);
    return c;
}

Canvas shape_pentagon() {
    Canvas c = make_canvas(icon, icon);
    fill(c, polygon(regular_polygon(centre, 136, 120, 5, -pi / 2)), white);
    return c;
}

Canvas shape_hexagon() {
    Canvas c = make_canvas(icon, icon);
    fill(c, polygon(regular_polygon(centre, centre, 122, 6, -pi / 2)), white);
    return c;
}

Canvas shape_star() {
    Canvas c = make_canvas(icon, icon);
    std::vector<Point> points;
    for (int i = 0; i < 10; ++i) {
        double r = i % 2 == 0 ? 126 : 52;
        double angle = -pi / 2 + pi * i / 5;
        points.push_back(Point{centre + r * std::cos(angle), 138 + r * std::sin(angle)});
    }
    fill(c, polygon(points), white);
    return c;
}

Canvas plain_white() {
    Canvas c = make_canvas(8, 8);
    fill(c, rectangle(0, 0, 8, 8), white);
    return c;
}

Canvas eye() {
    Canvas c = make_canvas(icon, icon);
    // Almond outline: the overlap of two large circles.
    Shape upper = disc(centre, centre + 110, 170);
    Shape lower = disc(centre, centre - 110, 170);
    Shape almond{8, 60, 248, 196, [=](double x, double y) { return upper.inside(x, y) && lower.inside(x, y); }};
    Shape inner_upper = disc(centre, centre + 110, 152);
    Shape inner_lower = disc(centre, centre - 110, 152);
    Shape inner{8, 60, 248, 196, [=](double x, double y) { return inner_upper.inside(x, y) && inner_lower.inside(x, y); }};
    fill(c, difference(almond, inner), white);
    fill(c, difference(disc(centre, centre, 46), disc(centre - 14, centre - 14, 12)), white);
    return c;
}

Canvas similarity() {
    Canvas c = make_canvas(icon, icon);
    // One period of a sine wave, stroked thickly.
    double previous_x = 20, previous_y = centre;
    for (int i = 1; i <= 64; ++i) {
        double t = i / 64.0;
        double x = 20 + t * 216, y = centre - 44 * std::sin(2 * pi * t);
        fill(c, segment(previous_x, previous_y, x, y, 30), white);
        previous_x = x;
        previous_y = y;
    }
    return c;
}

Canvas stack() {
    Canvas c = make_canvas(icon, icon);
    for (int i = 0; i < 3; ++i) {
        double offset = 40.0 * i;
        Shape card = rounded_rect(40 + offset / 2, 112 - offset, 216 - offset / 2, 236 - offset, 14);
        fill(c, card, grey(0.55 + 0.2 * i));
        fill(c, difference(card, rounded_rect(52 + offset / 2, 124 - offset, 204 - offset / 2, 224 - offset, 6)), white);
    }
    return c;
}

Canvas player() {
    Canvas c = make_canvas(icon, icon);
    // A pawn: head, shoulders and a wide foot.
    fill(c, disc(centre, 62, 44), white);
    fill(c, polygon({{centre - 34, 96}, {centre + 34, 96}, {centre + 70, 214}, {centre - 70, 214}}), white);
    fill(c, rounded_rect(30, 200, 226, 244, 16), white);
    return c;
}

Canvas gradient_card_back() {
    Canvas c = make_canvas(icon, icon);
    Shape card = rounded_rect(4, 4, 252, 252, 22);
    paint(c, card, [](double u, double v) {
        double base = 0.62 - 0.3 * v;
        // A fine diagonal lattice over the vertical gradient.
        double lattice = std::abs(std::sin((u + v) * pi * 10)) * std::abs(std::sin((u - v) * pi * 10));
        return grey(base + 0.12 * (lattice > 0.8 ? 1 : 0));
    });
    fill(c, difference(card, rounded_rect(16, 16, 240, 240, 14)), grey(0.92));
    return c;
}

Canvas gradient_radial() {
    Canvas c = make_canvas(icon, icon);
    paint(c, rectangle(0, 0, icon, icon), [](double u, double v) {
        double d = std::sqrt((u - 0.5) * (u - 0.5) + (v - 0.5) * (v - 0.5)) * 2;
        return grey(std::clamp(0.9 - 0.6 * d, 0.0, 1.0));
    });
    return c;
}

Canvas gradient_button() {
    Canvas c = make_canvas(icon, 64);
    Shape body = rounded_rect(1, 1, icon - 1, 63, 10);
    paint(c, body, [](double, double v) { return grey(0.42 - 0.2 * v); });
    fill(c, difference(body, rounded_rect(4, 4, icon - 4, 60, 7)), grey(0.62));
    return c;
}

Canvas next_turn() {
    Canvas c = make_canvas(icon, icon);
    fill(c, ring(centre, centre, 104, 122), white);
    // A bold arrow to the right.
    fill(c, rectangle(60, 108, 150, 148), white);
    fill(c, polygon({{136, 64}, {204, centre}, {136, 192}}), white);
    return c;
}

// A loop standing on a state's disc of radius state_radius centred at (x, y): it leaves the disc,
// circles above it and comes back with its head touching the disc's edge.
void draw_loop(Canvas& c, double x, double y, double state_radius, double height, double radius, double thickness,
               double head_length, double head_width, Color color) {
    double loop_y = y - height;
    double open = pi / 4;
    fill(c, arc(x, loop_y, radius, thickness, pi / 2 + open, 2 * pi + pi / 2 - open), color);
    for (double side : {-1.0, 1.0}) {
        double ex = x + side * radius * std::cos(open);
        double ey = loop_y + radius * std::sin(open);
        double dx = x - ex, dy = y - ey, l = std::sqrt(dx * dx + dy * dy);
        dx /= l;
        dy /= l;
        if (side < 0) {
            // This leg runs on under the disc, which is drawn over it.
            fill(c, segment(ex, ey, x - dx * state_radius * 0.7, y - dy * state_radius * 0.7, thickness), color);
        } else {
            double tip = l - state_radius - 2;
            double hx = ex + dx * tip, hy = ey + dy * tip;
            fill(c, segment(ex, ey, hx - dx * head_length * 0.8, hy - dy * head_length * 0.8, thickness), color);
            fill(c, arrow_head(hx, hy, dx, dy, head_length, head_width), color);
        }
    }
}

Canvas self_arrow() {
    // 100 x 90 world units; the state's centre lies 1.5 units below the bottom edge, its disc is 64 wide.
    Canvas c = make_canvas(icon, 230);
    draw_loop(c, centre, 230 + 3.84, 82, 150, 58, 10, 30, 17, white);
    return c;
}

// ---- the three machine pictures of the main menu ----

const Color state_color{0.08, 0.08, 0.15, 1};
const Color accepting_color{0.4, 0.7, 1, 1};
const Color edge_color{0.9, 0.8, 0.8, 1};
const Color card_colors[6] = {{1, 0, 0, 1}, {0, 0, 1, 1}, {0, 1, 0, 1}, {1, 1, 0, 1}, {0.3, 0, 1, 1}, {1, 0.3, 0, 1}};

void draw_state(Canvas& c, const FontFile& font, double x, double y, bool accepting, const char* name) {
    fill(c, disc(x, y, 38), edge_color);
    fill(c, disc(x, y, 33), accepting ? accepting_color : state_color);
    if (accepting) fill(c, ring(x, y, 26, 29), state_color);
    draw_label(c, font, name, x, y + 9, 26, accepting ? state_color : white);
}

// An arrow between two state discs of radius 38, bent sideways by bend.
void draw_transition(Canvas& c, double x0, double y0, double x1, double y1, double bend) {
    double dx = x1 - x0, dy = y1 - y0, l = std::sqrt(dx * dx + dy * dy);
    double nx = -dy / l, ny = dx / l;
    double mx = (x0 + x1) / 2 + nx * bend, my = (y0 + y1) / 2 + ny * bend;
    // A quadratic curve from edge to edge, ending in a head.
    auto point = [&](double t) {
        double a = (1 - t) * (1 - t), b = 2 * (1 - t) * t, d = t * t;
        return Point{a * x0 + b * mx + d * x1, a * y0 + b * my + d * y1};
    };
    auto distance = [](Point p, double x, double y) { return std::sqrt((p.x - x) * (p.x - x) + (p.y - y) * (p.y - y)); };
    double t_start = 0, t_end = 1;
    while (distance(point(t_start), x0, y0) < 40) t_start += 0.002;
    while (distance(point(t_end), x1, y1) < 42) t_end -= 0.002;
    Point tip = point(t_end);
    Point before = point(t_end - 0.01);
    double shaft_end = t_end;
    while (distance(point(shaft_end), tip.x, tip.y) < 16) shaft_end -= 0.002;
    Point previous = point(t_start);
    for (int i = 1; i <= 48; ++i) {
        Point p = point(t_start + (shaft_end - t_start) * i / 48.0);
        fill(c, segment(previous.x, previous.y, p.x, p.y, 6), edge_color);
        previous = p;
    }
    fill(c, arrow_head(tip.x, tip.y, tip.x - before.x, tip.y - before.y, 24, 11), edge_color);
}

void draw_self_loop(Canvas& c, double x, double y) { draw_loop(c, x, y, 38, 72, 26, 6, 18, 10, edge_color); }

void draw_stone(Canvas& c, double x, double y, Color color) {
    fill(c, disc(x, y - 10, 9), color);
    fill(c, polygon({{x - 7, y - 3}, {x + 7, y - 3}, {x + 13, y + 12}, {x - 13, y + 12}}), color);
}

void draw_card_picture(Canvas& c, double x, double y, double size, int color, int shape) {
    Color base = card_colors[color];
    fill(c, rounded_rect(x, y, x + size, y + size, size * 0.08), Color{base.r / 7, base.g / 7, base.b / 7, 1});
    fill(c, difference(rounded_rect(x, y, x + size, y + size, size * 0.08),
                       rounded_rect(x + 3, y + 3, x + size - 3, y + size - 3, size * 0.06)),
         grey(0.85));
    double cx = x + size / 2, cy = y + size / 2, r = size * 0.3;
    switch (shape) {
    case 0: fill(c, disc(cx, cy, r), base); break;
    case 1: fill(c, polygon({{cx, cy - r}, {cx + r, cy + r * 0.85}, {cx - r, cy + r * 0.85}}), base); break;
    case 2: fill(c, rectangle(cx - r * 0.85, cy - r * 0.85, cx + r * 0.85, cy + r * 0.85), base); break;
    case 3: fill(c, polygon(regular_polygon(cx, cy + r * 0.08, r, 5, -pi / 2)), base); break;
    case 4: fill(c, polygon(regular_polygon(cx, cy, r, 6, -pi / 2)), base); break;
    default: {
        std::vector<Point> points;
        for (int i = 0; i < 10; ++i) {
            double rr = i % 2 == 0 ? r : r * 0.42;
            double angle = -pi / 2 + pi * i / 5;
            points.push_back(Point{cx + rr * std::cos(angle), cy + r * 0.08 + rr * std::sin(angle)});
        }
        fill(c, polygon(points), base);
    }
    }
}

void draw_start_arrow(Canvas& c, double x, double y) {
    fill(c, segment(x - 100, y, x - 58, y, 6), edge_color);
    fill(c, arrow_head(x - 40, y, 1, 0, 22, 11), edge_color);
}

Canvas state_machine_picture(const FontFile& font) {
    Canvas c = make_canvas(512, 512);
    Point q0{130, 170}, q1{382, 170}, q2{256, 392}, q3{420, 400};
    draw_start_arrow(c, q0.x, q0.y);
    draw_transition(c, q0.x, q0.y, q1.x, q1.y, -30);
    draw_transition(c, q1.x, q1.y, q0.x, q0.y, -30);
    draw_transition(c, q0.x, q0.y, q2.x, q2.y, 20);
    draw_transition(c, q1.x, q1.y, q2.x, q2.y, -20);
    draw_transition(c, q2.x, q2.y, q3.x, q3.y, 26);
    draw_self_loop(c, q2.x, q2.y);
    draw_state(c, font, q0.x, q0.y, false, "q0");
    draw_state(c, font, q1.x, q1.y, false, "q1");
    draw_state(c, font, q2.x, q2.y, false, "q2");
    draw_state(c, font, q3.x, q3.y, true, "q3");
    draw_stone(c, q0.x + 30, q0.y - 34, card_colors[0]);
    draw_stone(c, q1.x + 30, q1.y - 34, card_colors[1]);
    return c;
}

Canvas pushdown_machine_picture(const FontFile& font) {
    Canvas c = make_canvas(512, 512);
    Point q0{100, 130}, q1{250, 270}, q2{100, 410};
    draw_start_arrow(c, q0.x, q0.y);
    draw_transition(c, q0.x, q0.y, q1.x, q1.y, -24);
    draw_transition(c, q1.x, q1.y, q2.x, q2.y, -24);
    draw_transition(c, q2.x, q2.y, q0.x, q0.y, -30);
    draw_self_loop(c, q1.x, q1.y);
    draw_state(c, font, q0.x, q0.y, false, "q0");
    draw_state(c, font, q1.x, q1.y, false, "q1");
    draw_state(c, font, q2.x, q2.y, true, "q2");
    draw_stone(c, q1.x + 30, q1.y - 34, card_colors[2]);
    // The stack: an open box of cards, the top card on top.
    double left = 350, right = 478, bottom = 440;
    fill(c, segment(left - 12, 90, left - 12, bottom + 12, 6), grey(0.85));
    fill(c, segment(right + 12, 90, right + 12, bottom + 12, 6), grey(0.85));
    fill(c, segment(left - 12, bottom + 12, right + 12, bottom + 12, 6), grey(0.85));
    int colors[4] = {1, 3, 0, 2}, shapes[4] = {2, 0, 5, 1};
    for (int i = 0; i < 4; ++i) {
        double size = 80;
        double y = bottom - (i + 1) * (size + 6);
        draw_card_picture(c, (left + right) / 2 - size / 2, y, size, colors[i], shapes[i]);
    }
    draw_label(c, font, "stack", (left + right) / 2, 76, 28, white);
    return c;
}

Canvas turing_machine_picture(const FontFile& font) {
    Canvas c = make_canvas(512, 512);
    Point q0{110, 140}, q1{290, 140}, q2{420, 270};
    draw_start_arrow(c, q0.x, q0.y);
    draw_transition(c, q0.x, q0.y, q1.x, q1.y, -26);
    draw_transition(c, q1.x, q1.y, q0.x, q0.y, -26);
    draw_transition(c, q1.x, q1.y, q2.x, q2.y, -20);
    draw_self_loop(c, q2.x, q2.y);
    draw_state(c, font, q0.x, q0.y, false, "q0");
    draw_state(c, font, q1.x, q1.y, false, "q1");
    draw_state(c, font, q2.x, q2.y, true, "q2");
    // The tape: a row of cells running off both sides, the head above one of them.
    double size = 62, gap = 8, y = 380;
    int colors[6] = {0, 2, 1, 3, 5, 4}, shapes[6] = {0, 3, 1, 4, 2, 5};
    for (int i = 0; i < 6; ++i) {
        double x = 256 - (6 * size + 5 * gap) / 2 + i * (size + gap);
        draw_card_picture(c, x, y, size, colors[i], shapes[i]);
    }
    double tape_left = 256 - (6 * size + 5 * gap) / 2;
    for (int side = 0; side < 2; ++side) {
        double x = side == 0 ? tape_left - 36 : tape_left + 6 * size + 5 * gap + 12;
        for (int d = 0; d < 3; ++d) fill(c, disc(x + d * 10, y + size / 2, 3), grey(0.85));
    }
    double head_x = tape_left + 2 * (size + gap) + size / 2;
    fill(c, rounded_rect(head_x - size / 2 - 6, y - 6, head_x + size / 2 + 6, y + size + 6, 8),
         Color{1, 0.3, 0, 0.45});
    draw_card_picture(c, head_x - size / 2, y, size, colors[2], shapes[2]);
    fill(c, arrow_head(head_x, y - 12, 0, 1, 30, 18), Color{1, 0.3, 0, 1});
    fill(c, segment(head_x, y - 64, head_x, y - 36, 8), Color{1, 0.3, 0, 1});
    return c;
}

// ---- the bitmap font ----

// The image is square, so a glyph's width and height share the draw scale; at scale 256 one texel is
// one pixel. Every cell is one line high with the baseline at the same height, so glyphs stand on a
// common line with room for descenders below it.
constexpr int atlas_size = 256;
constexpr int cell_height = 32;
constexpr int baseline_above_bottom = 8;
constexpr double em_pixels = 22;
constexpr int padding = 2;

bool write_font(const std::string& directory, const FontFile& font) {
    Canvas atlas = make_canvas(atlas_size, atlas_size);
    float scale = stbtt_ScaleForMappingEmToPixels(&font.info, static_cast<float>(em_pixels));
    std::string lines = "i font.png\n";
    char line[256];
    auto unit = [](double pixels) { return pixels / atlas_size; };

    int space_advance = 0;
    {
        int advance, bearing;
        stbtt_GetCodepointHMetrics(&font.info, ' ', &advance, &bearing);
        space_advance = static_cast<int>(std::lround(advance * scale));
    }
    // Bytes the font does not cover leave a gap one space wide.
    std::snprintf(line, sizeof line, "g -1 0 0 %.8f 0 0 0 %.8f\n", unit(space_advance), unit(cell_height));
    lines += line;
    std::snprintf(line, sizeof line, "g 9 0 0 %.8f 0 0 0 %.8f\n", unit(4 * space_advance), unit(cell_height));
    lines += line;

    int pen_x = padding, row_top = padding;
    for (int code = 32; code <= 126; ++code) {
        int advance_units, bearing;
        stbtt_GetCodepointHMetrics(&font.info, code, &advance_units, &bearing);
        int advance = static_cast<int>(std::lround(advance_units * scale));
        int x0, y0, x1, y1;
        stbtt_GetCodepointBitmapBox(&font.info, code, scale, scale, &x0, &y0, &x1, &y1);
        // The cell starts at the pen; a glyph reaching left of it is moved right instead.
        int shift = x0 < 0 ? -x0 : 0;
        int width = code == ' ' ? 0 : std::max(advance, x1 + shift);
        if (pen_x + width + padding > atlas_size) {
            pen_x = padding;
            row_top += cell_height + padding;
        }
        if (row_top + cell_height > atlas_size) {
            std::fprintf(stderr, "the glyphs do not fit into the font image\n");
            return false;
        }
        int baseline_row = row_top + cell_height - baseline_above_bottom;
        if (baseline_row + y0 < row_top || baseline_row + y1 > row_top + cell_height) {
            std::fprintf(stderr, "glyph %d does not fit into its cell\n", code);
            return false;
        }
        int w = x1 - x0, h = y1 - y0;
        if (code != ' ' && w > 0 && h > 0) {
            std::vector<unsigned char> glyph(static_cast<size_t>(w) * h);
            stbtt_MakeCodepointBitmap(&font.info, glyph.data(), w, h, w, scale, scale, code);
            for (int y = 0; y < h; ++y) {
                for (int x = 0; x < w; ++x) {
                    blend_pixel(atlas, pen_x + x0 + shift + x, baseline_row + y0 + y, white,
                                glyph[static_cast<size_t>(y) * w + x] / 255.0);
                }
            }
        }
        // Texture coordinates start at the image's bottom-left, as the game loads images flipped.
        double u = unit(pen_x);
        double v = unit(atlas_size - (row_top + cell_height));
        std::snprintf(line, sizeof line, "g %d 0 %.8f %.8f %.8f %.8f %.8f %.8f\n", code, -unit(baseline_above_bottom),
                      unit(advance), u, v, unit(width), unit(cell_height));
        lines += line;
        pen_x += width + padding;
    }
    if (!write_png(directory, "font.png", atlas)) return false;
    std::string info_path = directory + "/font_info.txt";
    FILE* file = std::fopen(info_path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(lines.data(), 1, lines.size(), file) == lines.size();
    return std::fclose(file) == 0 && written;
}

bool copy_licence(const std::string& directory) {
    std::vector<unsigned char> bytes;
    if (!read_file(font_licence_path, bytes)) return false;
    std::string header = "The font image font.png is rendered from DejaVu Sans (package fonts-dejavu-core).\n"
                         "Its licence follows.\n\n";
    std::string path = directory + "/font_license.txt";
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool written = std::fwrite(header.data(), 1, header.size(), file) == header.size() &&
                   std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    std::string directory = argc > 1 ? argv[1] : "resources";
    FontFile font;
    if (!read_file(font_path, font.bytes) || !stbtt_InitFont(&font.info, font.bytes.data(), 0)) {
        std::fprintf(stderr, "could not read %s\n", font_path);
        return 1;
    }
    bool ok = write_png(directory, "circle.png", shape_circle()) &&
              write_png(directory, "triangle.png", shape_triangle()) &&
              write_png(directory, "square.png", shape_square()) &&
              write_png(directory, "pentagon.png", shape_pentagon()) &&
              write_png(directory, "hexagon.png", shape_hexagon()) &&
              write_png(directory, "star.png", shape_star()) &&
              write_png(directory, "white.png", plain_white()) &&
              write_png(directory, "eye.png", eye()) &&
              write_png(directory, "stack.png", stack()) &&
              write_png(directory, "player.png", player()) &&
              write_png(directory, "similarity.png", similarity()) &&
              write_png(directory, "gradient1.png", gradient_card_back()) &&
              write_png(directory, "gradient2.png", gradient_radial()) &&
              write_png(directory, "gradient3.png", gradient_button()) &&
              write_png(directory, "next_turn2.png", next_turn()) &&
              write_png(directory, "self_arrow.png", self_arrow()) &&
              write_png(directory, "state_machine.png", state_machine_picture(font)) &&
              write_png(directory, "pushdown_machine.png", pushdown_machine_picture(font)) &&
              write_png(directory, "turing_machine.png", turing_machine_picture(font)) &&
              write_font(directory, font) && copy_licence(directory);
    return ok ? 0 : 1;
}
