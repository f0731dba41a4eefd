/* A window that compiles a shader and draws a triangle with a colour at each corner until Escape is
 * pressed or the window is closed.
 *
 *   triangle            runs until Escape
 *   triangle FRAMES     stops after that many frames and prints the red, green, blue and alpha
 *                       of the window's centre pixel
 *
 * Build: cc triangle.c $(pkg-config --cflags --libs kestrune_system) -o triangle */
#include <kestrune_system.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static string text(const char* characters) {
    string result = {characters, (int64_t)strlen(characters)};
    return result;
}

/* Both stages in one text, each after its marker and with its own version line. */
static const char shader_text[] =
    "#vertex\n"
    "#version 330 core\n"
    "layout(location = 0) in vec2 position;\n"
    "layout(location = 1) in vec3 colour;\n"
    "out vec3 corner_colour;\n"
    "void main() {\n"
    "    corner_colour = colour;\n"
    "    gl_Position = vec4(position, 0.0, 1.0);\n"
    "}\n"
    "#fragment\n"
    "#version 330 core\n"
    "in vec3 corner_colour;\n"
    "out vec4 pixel;\n"
    "void main() { pixel = vec4(corner_colour, 1.0); }\n";

/* x, y, then red, green, blue: red lower left, green lower right, blue at the top. */
static const float corners[] = {
    -0.8f, -0.8f, 1.0f, 0.0f, 0.0f,
    0.8f,  -0.8f, 0.0f, 1.0f, 0.0f,
    0.0f,  0.8f,  0.0f, 0.0f, 1.0f,
};

int main(int argc, char** argv) {
    long frame_limit = argc > 1 ? strtol(argv[1], NULL, 10) : 0;
    int exit_code = 0;

    system_init(SYSTEM_VIDEO | SYSTEM_EVENTS);
    if (!display_open(640, 480, text("Triangle"), DISPLAY_VSYNC | DISPLAY_RESIZABLE, 1)) {
        fprintf(stderr, "the window could not be opened\n");
        system_release();
        return 1;
    }

    uint8_t log_space[1024];
    byte_view log = {log_space, sizeof log_space};
    uint32_t program = shader_create();
    shader_result built = shader_source(program, text(shader_text), log);
    if (!built.success) {
        fprintf(stderr, "%.*s\n", (int)built.log.length, built.log.data);
        system_release();
        return 1;
    }

    uint32_t vertex_array = vertex_array_create();
    uint32_t vertex_buffer = buffer_create();
    vertex_array_bind(vertex_array);
    buffer_bind(BUFFER_ARRAY, vertex_buffer);
    buffer_data(BUFFER_ARRAY, sizeof corners, corners, USAGE_STATIC_DRAW);
    int32_t stride = 5 * sizeof(float);
    attribute_format(0, 2, TYPE_FLOAT, false, stride, 0);
    attribute_format(1, 3, TYPE_FLOAT, false, stride, 2 * sizeof(float));
    attribute_enable(0, true);
    attribute_enable(1, true);

    for (long frame = 1;; ++frame) {
        input_poll();
        if (input_key_is_pressed(KEY_ESCAPE) || display_is_closed()) break;

        display_info window;
        display_get_info(&window);
        pipeline_viewport(0, 0, window.width, window.height);
        pipeline_clear_color(0.1f, 0.1f, 0.1f, 1.0f);
        pipeline_clear(BUFFER_COLOR);
        shader_bind(program);
        draw_arrays(PRIMITIVE_TRIANGLES, 0, 3, 1);

        if (frame == frame_limit) {
            /* Read from the frame just drawn, before it is shown. */
            uint8_t centre[4];
            pipeline_read_pixels(window.width / 2, window.height / 2, 1, 1, FORMAT_RGBA, TYPE_UNSIGNED_BYTE, centre);
            printf("centre %d %d %d %d\n", centre[0], centre[1], centre[2], centre[3]);
            if (pipeline_get_error() != GRAPHICS_NO_ERROR) exit_code = 1;
            break;
        }
        pipeline_present();
    }

    buffer_destroy(vertex_buffer);
    vertex_array_destroy(vertex_array);
    shader_destroy(program);
    system_release();
    return exit_code;
}
