#include "screen/pointer_boxes.h"

#include "screen/frame_input.h"

constexpr int32_t max_pointer_boxes = 512;

// The boxes of the frame being drawn, and the one of the last frame that holds the pointer.
struct PointerBoxes {
    PointerBox drawn[max_pointer_boxes];
    int32_t count;
    PointerBox owner;
    bool owned;
};
static PointerBoxes boxes;

void reset_pointer_boxes() { boxes = PointerBoxes{}; }

static bool holds_pointer(const PointerBox& box) {
    return frame_input.mouse_x >= box.x && frame_input.mouse_x < box.x + box.width && frame_input.mouse_y >= box.y &&
           frame_input.mouse_y < box.y + box.height;
}

void begin_pointer_boxes() {
    boxes.owned = false;
    for (int32_t k = boxes.count - 1; k >= 0; k--) {
        if (!holds_pointer(boxes.drawn[k])) continue;
        boxes.owner = boxes.drawn[k];
        boxes.owned = true;
        break;
    }
    boxes.count = 0;
}

bool own_pointer(double x, double y, double width, double height, uint32_t tag) {
    PointerBox box{x, y, width, height, tag};
    // Past the room a box takes nothing, and covers nothing in the next frame.
    if (boxes.count < max_pointer_boxes) boxes.drawn[boxes.count++] = box;
    const PointerBox& owner = boxes.owner;
    bool same = owner.x == x && owner.y == y && owner.width == width && owner.height == height && owner.tag == tag;
    return boxes.owned && same && holds_pointer(box);
}

int32_t pointer_box_mark() { return boxes.count; }

void take_back_pointer_boxes(int32_t mark) {
    if (mark >= 0 && mark < boxes.count) boxes.count = mark;
}

bool pointer_covered() { return boxes.owned && boxes.owner.tag == pointer_tag_cover && holds_pointer(boxes.owner); }

void cover_pointer(double x, double y, double width, double height) { own_pointer(x, y, width, height, pointer_tag_cover); }

uint32_t label_tag(const char* bytes, int64_t length) {
    // FNV-1a, kept clear of the small tags of the other boxes.
    uint32_t hash = 2166136261u;
    for (int64_t i = 0; i < length; i++) hash = (hash ^ static_cast<uint8_t>(bytes[i])) * 16777619u;
    return hash | 0x80000000u;
}
