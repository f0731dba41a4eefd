// One rule for clicks: the pointer belongs to the topmost box drawn in the last frame under it.
// Whatever takes clicks, or covers what lies below it (a panel, an overlay, a dialog), registers
// its box as it is drawn, in drawing order; this frame's owner was settled by the last frame's
// boxes, as an immediate-mode frame cannot know what will be drawn above it later.
#pragma once

#include <cstdint>

struct PointerBox {
    double x, y, width, height;
    // Tells apart boxes of the same place: a button's label, a card's index, a kind of box.
    uint32_t tag;
};

// What else than a button takes the pointer; buttons are tagged by their label.
enum : uint32_t {
    pointer_tag_cover = 1,
    pointer_tag_machine = 2,
    pointer_tag_hand_card = 16,
    pointer_tag_deck = 3,
    pointer_tag_next_turn = 4,
    pointer_tag_scroll_bar = 5
};

// Once a frame before anything is drawn: the last frame's boxes name this frame's owner.
void begin_pointer_boxes();

// Registers the box; true when the pointer is over it and it was the last frame's topmost box there.
bool own_pointer(double x, double y, double width, double height, uint32_t tag);

// A box that takes no click itself but keeps it from whatever lies below.
void cover_pointer(double x, double y, double width, double height);

// Boxes registered after the mark are taken back when what drew them closed in the same frame (a
// dialog answered), so its boxes do not take the next frame's clicks.
int32_t pointer_box_mark();
void take_back_pointer_boxes(int32_t mark);

// Whether the pointer is over a box that only covers (an overlay, a dialog, a panel of the menus).
bool pointer_covered();

// The tag of a label, for the buttons.
uint32_t label_tag(const char* bytes, int64_t length);

void reset_pointer_boxes();
