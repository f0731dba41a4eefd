/* Compiled as C and as C++ against the installed header alone, without SDL's headers: the names of
 * each family, the handle types and the exported data are all there. Run, it exits with 0. */
#include <kestrune_system.h>
#include <kestrune_system.h> /* a second inclusion is harmless */

int main(void) {
    kestrune_window* window = sdl_window;
    kestrune_controller* removed = controller_device_removed_handle;
    kestrune_cursor* arrow = system_cursors[CURSOR_ARROW];
    const uint32_t names[] = {
        SYSTEM_ALL,          DISPLAY_VSYNC,       MESSAGE_BOX_ERROR,    KEY_F12,
        MOUSE_RIGHT,         MODIFIER_NUM_LOCK,   FILE_READ,            IMAGE_RGBA,
        TEXTURE_2D,          TYPE_FLOAT,          FORMAT_RGBA,          INTERNAL_RGBA8,
        WRAP_CLAMP_TO_EDGE,  FILTER_LINEAR,       PARAMETER_MAX_LOD,    SWIZZLE_ALPHA,
        FRAME_BUFFER_BOTH,   ATTACHMENT_COLOR,    CUBE_FACE_NEGATIVE_Z, FRAME_BUFFER_UNSUPPORTED,
        BUFFER_UNIFORM,      USAGE_STREAM_COPY,   ACCESS_READ_WRITE,    PRIMITIVE_TRIANGLES,
        COMPARE_NOT_EQUAL,   FACE_BACK,           STENCIL_INVERT,       BLEND_ONE_MINUS_SOURCE_ALPHA,
        BLEND_MAX,           LOGIC_OR_INVERTED,   POLYGON_LINE,         UNPACK_ALIGNMENT,
        ORIENTATION_COUNTER_CLOCKWISE, POINT_ORIGIN_LOWER_LEFT, BUFFER_COLOR, GRAPHICS_OUT_OF_MEMORY,
        AUDIO_FORMAT_FLOAT,  AUDIO_CONTAINER_OGG, THREAD_PRIORITY_HIGH, NETWORK_IPV6,
        CONTROLLER_POWER_WIRED, CONTROLLER_HAT_LEFT_DOWN,
    };
    uint32_t sum = 0;
    for (unsigned i = 0; i < sizeof names / sizeof names[0]; ++i) sum += names[i];
    bool untouched = window == 0 && removed == 0 && arrow == 0 && keys_held[KEY_A] == 0 && !window_closed;
    return untouched && sum > 0 && system_version() == KESTRUNE_SYSTEM_VERSION ? 0 : 1;
}
