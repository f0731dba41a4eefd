#include "screen/help_overlay.h"

#include "base/arena.h"
#include "render/primitives.h"
#include "render/resources.h"
#include "render/scene.h"
#include "render/text.h"
#include "screen/ui.h"

// The controls as they have always been listed, in their order; what each screen adds follows them.
static const char standard_lines[] =
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
    "ctrl+o/ctrl+s: load/save\n";

static const char menu_lines[] =
    "\n"
    "On this screen:\n"
    "left click: press a button or an arrow\n"
    "y/n: answer a delete question\n"
    "<f2>: rule symbols, <f3>: memory use\n";

static const char play_lines[] =
    "\n"
    "On this screen:\n"
    "space: show your turn; play again after a game\n"
    "left click on an arrow or its rule: take that arrow\n"
    "h: hint (the expert's move)\n"
    "v (held): every move's value\n"
    "shift+n: show state numbers\n"
    "+/-: pace of a game without humans\n"
    "mouse wheel: zoom at the pointer; over the hand: scroll\n"
    "left or middle drag: move camera\n"
    "<f2>: rule symbols, <f3>: memory use\n";

static const char editor_lines[] =
    "\n"
    "On this screen:\n"
    "left click on an arrow or its rule: select it\n"
    "ctrl+z: undo, ctrl+y or ctrl+shift+z: redo\n"
    "y/n: answer a discard or replace question\n"
    "mouse wheel: zoom at the pointer\n"
    "left or middle drag on empty ground: move camera\n"
    "<f2>: rule symbols, <f3>: memory use\n";

string standard_help_text() { return string{standard_lines, sizeof standard_lines - 1}; }

string help_text(HelpScreen screen) {
    const char* added = screen == help_for_play ? play_lines : screen == help_for_editor ? editor_lines : menu_lines;
    return arena_concat(standard_help_text(), str(added), FRAME_ARENA);
}

static int64_t line_count(string text) {
    int64_t lines = 0;
    for (int64_t i = 0; i < text.length; i++) lines += text.data[i] == '\n';
    return lines;
}

void draw_help_overlay(HelpScreen screen) {
    ScreenPoint center = window_center();
    draw_centered_panel(800, 800, Color{0, 0, 0, 0.97f});
    string text = help_text(screen);
    // The standard lines fill the panel at full size; with a screen's own lines the text shrinks to fit.
    constexpr double room = 736, full_scale = 256, full_line = 32;
    double lines = static_cast<double>(line_count(text));
    double scale = lines * full_line > room ? full_scale * room / (lines * full_line) : full_scale;
    draw_text(text, center.x - 368, center.y + 352, scale, ui_text_color, screen_projection, text_plain);
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
