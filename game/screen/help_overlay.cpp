#include "screen/help_overlay.h"

#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/ui.h"

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
    "ctrl+o/ctrl+s: load/save\n"
    "ctrl+z: undo, ctrl+y or ctrl+shift+z: redo\n"
    "y/n: answer a discard, replace or delete question\n";

string help_text() { return string{help_lines, sizeof help_lines - 1}; }

void draw_help_overlay() {
    ScreenPoint center = window_center();
    draw_centered_panel(800, 800, Color{0, 0, 0, 0.97f});
    draw_text(help_text(), center.x - 368, center.y + 352, 256, ui_text_color, screen_projection, text_plain);
}
