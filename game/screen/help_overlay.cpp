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
    "<f2>: rule symbols\n"
    "<f11>: toggle fullscreen\n"
    "w/a/s/d: move camera\n"
    "q/e: zoom camera\n"
    "r: reset camera\n"
    "left click: select state or card\n"
    "right click: deselect state or card\n"
    "v (held): every move's value\n"
    "h: hint (the expert's move)\n"
    "\n"
    "Editor controls:\n"
    "<1>/<2>/<3>: add state/transition/stone\n"
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

namespace {

struct LegendRow {
    const char* symbols;
    const char* meaning;
};

// The left column is drawn with card symbols, as rule labels are; the right column as plain text.
const LegendRow legend_rows[] = {
    {"A B C D E F", "a card of this colour"},
    {"a b c d e f", "a card of this shape"},
    {"1 2 3 4 5 6", "a card of this number"},
    {"*", "any card"},
    {"!A", "not this: any card but a red one"},
    {"T(A,b)", "the stack's top card is red or this shape"},
    {"~(A,B)", "same colour as the top card, red or blue"},
    {"A | b", "either: red, or this shape"},
    {"A & 3", "both: red and a three"},
    {"A ^ 3", "one but not both"},
    {"", "rules combine from left to right"},
    {"", ""},
    {"", "Turing machines write on the tape:"},
    {"A%R", "write red under the head, move right"},
    {"3%L", "write a three, move the head left"},
};

}  // namespace

void draw_rule_legend() {
    ScreenPoint center = window_center();
    draw_centered_panel(800, 800, Color{0, 0, 0, 0.97f});
    draw_text(str("Rule symbols (<f2> to close):"), center.x - 368, center.y + 352, 256, ui_text_color,
              screen_projection, text_plain);
    double y = center.y + 280;
    for (const LegendRow& row : legend_rows) {
        if (row.symbols[0] != 0) draw_text(str(row.symbols), center.x - 250, y, 256, ui_text_color, screen_projection, text_symbols);
        draw_text(str(row.meaning), center.x - 120, y - 12, 256, ui_text_color, screen_projection, text_plain);
        y -= 40;
    }
}
