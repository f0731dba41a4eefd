#include "screen/help_overlay.h"

#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"

static const char help_lines[] =
    "Game controls:\n"
    "<esc>: quit\n"
    "<f1>: toggle help screen\n"
    "<f11>: toggle fullscreen\n"
    "w/a/s/d: move camera\n"
    "q/e: zoom camera\n"
    "r: reset camera\n"
    "left click: select state or card\n"
    "right click: deselect state or card\n"
    "h: hint (the expert's move)\n"
    "\n"
    "Editor controls:\n"
    "<1>: add state\n"
    "<2>: add transition\n"
    "<3>: add stone\n"
    "<del>: remove selection\n"
    "<shift> + <del>: remove stone\n"
    "i/j/k/l: move selected state\n"
    "         or rule from transition\n"
    "u/o: change accepting property of state\n"
    "     or move transition\n"
    "ctrl+o/ctrl+s: load/save\n";

string help_text() { return string{help_lines, sizeof help_lines - 1}; }

void draw_help_overlay() {
    double center_x = window_width / 2.0, center_y = window_height / 2.0;
    draw_quad(white_texture, center_x - 400, center_y - 400, 800, 800, Color{0, 0, 0, 0.97f}, true);
    draw_text(help_text(), center_x - 368, center_y + 352, 256, Color{1, 1, 1, 1}, true, false, false);
}
