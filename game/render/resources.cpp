#include "render/resources.h"

#include "base/arena.h"
#include "base/game_folders.h"
#include "base/text_format.h"
#include "model/game_data.h"
#include "render/font.h"
#include "render/texture_loading.h"
#include "render/scene_target.h"

#include <kestrune_system.h>

#include <cstring>

Texture shape_textures[shape_texture_count];
Texture white_texture;
Texture eye_texture;
Texture stack_texture;
Texture player_texture;
Texture similarity_texture;
Texture gradient1_texture;
Texture gradient2_texture;
Texture gradient3_texture;
Texture next_turn_texture;
Texture self_arrow_texture;
Texture machine_textures[machine_kind_count];


uint32_t quad_vertex_array;
uint32_t quad_vertex_buffer;
uint32_t quad_index_buffer;
uint32_t quad_batch_vertex_array;
uint32_t quad_batch_vertex_buffer;
uint32_t quad_batch_index_buffer;
int64_t render_resources_generation;

uint32_t simple_shader;
int32_t simple_gamma;
uint32_t tint_shader;
uint32_t flat_shader;

uint32_t gamma_shader;
int32_t gamma_diffuse;

uint32_t window_picture_shader;
int32_t window_picture_background;

namespace {

// Sprites come in batches of quads whose corners are already in clip space, each with its tint.
// An upright picture's texture coordinates come from the pixel's window position (u = x0 + x * dx,
// v = y0 + y * dy), the same sum in the scene and in the window: interpolated ones may round
// differently from one target to another.
#define QUAD_VERTEX_STAGE                                                  \
    "#vertex\n"                                                            \
    "#version 330 core\n"                                                  \
    "layout(location = 0) in vec4 a_position;\n"                           \
    "layout(location = 1) in vec2 a_uv;\n"                                 \
    "layout(location = 2) in vec4 a_color;\n"                              \
    "layout(location = 3) in vec4 a_uv_map;\n"                             \
    "out vec2 uv;\n"                                                       \
    "flat out vec4 color;\n"                                               \
    "flat out vec4 uv_map;\n"                                              \
    "void main() {\n"                                                      \
    "    gl_Position = a_position;\n"                                      \
    "    uv = a_uv;\n"                                                     \
    "    color = a_color;\n"                                               \
    "    uv_map = a_uv_map;\n"                                             \
    "}\n"                                                                  \
    "#fragment\n"                                                          \
    "#version 330 core\n"                                                  \
    "in vec2 uv;\n"                                                        \
    "flat in vec4 color;\n"                                                \
    "flat in vec4 uv_map;\n"                                               \
    "out vec4 fragment_color;\n"                                           \
    "vec2 window_uv() {\n"                                                 \
    "    return vec2(uv_map.x + gl_FragCoord.x * uv_map.y, uv_map.z + gl_FragCoord.y * uv_map.w);\n" \
    "}\n"

const char simple_shader_source[] = QUAD_VERTEX_STAGE
    "uniform sampler2D diffuse;\n"
    "uniform float gamma;\n"
    "void main() {\n"
    "    vec4 texel = texture(diffuse, uv_map.y == 0.0 ? uv : window_uv());\n"
    "    fragment_color = color * vec4(pow(texel.rgb, vec3(gamma)), texel.a);\n"
    "}\n";

// White pictures: raising white to any power leaves it white.
const char tint_shader_source[] = QUAD_VERTEX_STAGE
    "uniform sampler2D diffuse;\n"
    "void main() {\n"
    "    fragment_color = color * texture(diffuse, uv);\n"
    "}\n";

// Opaque white pictures: every sample is one.
const char flat_shader_source[] = QUAD_VERTEX_STAGE
    "void main() {\n"
    "    fragment_color = color;\n"
    "}\n";

// Linear values in [0, 1] raised to 1 / gamma as window bytes, in plain float arithmetic: a
// quartic in the fourth root, fitted so that every byte value rounds to shown_byte's own, with at
// least 0.014 of a step to spare, so any driver's float math gives the same bytes. No lower degree
// fits; each degree costs a software renderer a few percent of the gamma pass.
#define SHOWN_BYTES_FUNCTION                                                                      \
    "vec3 shown(vec3 linear) {\n"                                                                 \
    "    vec3 u = sqrt(sqrt(linear));\n"                                                          \
    "    vec3 y = (((11.2675705 * u - 50.8554726) * u + 276.279236) * u + 18.8089848) * u\n"      \
    "        - 0.485708654;\n"                                                                   \
    "    return clamp(floor(y + 0.5), 0.0, 255.0) / 255.0;\n"                                     \
    "}\n"

// An upright picture over flat colours straight to the window: the picture blended over the
// scene's bytes under it, source alpha over one minus source alpha, stored as the scene's bytes
// would be, and shown as the gamma pass shows them.
// Plain float arithmetic, rounded once: a driver's own blending may come out a step apart.
const char window_picture_shader_source[] = QUAD_VERTEX_STAGE
    "uniform sampler2D diffuse;\n"
    "uniform float gamma;\n"
    "uniform ivec4 background;\n"
    SHOWN_BYTES_FUNCTION
    "void main() {\n"
    "    vec4 texel = texture(diffuse, window_uv());\n"
    "    vec4 source = clamp(color * vec4(pow(texel.rgb, vec3(gamma)), texel.a), 0.0, 1.0);\n"
    "    vec4 blended = source * source.a + vec4(background) / 255.0 * (1.0 - source.a);\n"
    "    ivec4 scene = ivec4(floor(clamp(blended, 0.0, 1.0) * 255.0 + 0.5));\n"
    "    fragment_color = vec4(shown(vec3(scene.rgb) / 255.0), float(scene.a) / 255.0);\n"
    "}\n";

// Drawn over rectangles of the window: each pixel shows the scene's texel under it.
const char gamma_shader_source[] =
    "#vertex\n"
    "#version 330 core\n"
    "layout(location = 0) in vec4 a_position;\n"
    "void main() {\n"
    "    gl_Position = a_position;\n"
    "}\n"
    "#fragment\n"
    "#version 330 core\n"
    "uniform sampler2D diffuse;\n"
    "out vec4 fragment_color;\n"
    SHOWN_BYTES_FUNCTION
    "void main() {\n"
    "    vec4 texel = texelFetch(diffuse, ivec2(gl_FragCoord.xy), 0);\n"
    "    fragment_color = vec4(shown(texel.rgb), texel.a);\n"
    "}\n";

constexpr int64_t shader_log_capacity = 256;


Texture load_shipped_texture(const char* checkout_path) { return load_texture(shipped_file_path(str(checkout_path))); }

struct PictureFile {
    Texture* texture;
    const char* path;
};

const PictureFile machine_pictures[machine_kind_count] = {{&machine_textures[state_machine], "resources/state_machine.png"},
                                                          {&machine_textures[pushdown_machine], "resources/pushdown_machine.png"},
                                                          {&machine_textures[turing_machine], "resources/turing_machine.png"}};

// Every picture beyond the title screen's panels, the machine pictures first: the title shows
// them as the player steps through the machine kinds.
const PictureFile later_picture_files[] = {
    machine_pictures[0], machine_pictures[1], machine_pictures[2],
    {&shape_textures[0], "resources/circle.png"},   {&shape_textures[1], "resources/triangle.png"},
    {&shape_textures[2], "resources/square.png"},   {&shape_textures[3], "resources/pentagon.png"},
    {&shape_textures[4], "resources/hexagon.png"},  {&shape_textures[5], "resources/star.png"},
    {&eye_texture, "resources/eye.png"},            {&stack_texture, "resources/stack.png"},
    {&player_texture, "resources/player.png"},      {&similarity_texture, "resources/similarity.png"},
    {&gradient1_texture, "resources/gradient1.png"}, {&gradient2_texture, "resources/gradient2.png"},
    {&next_turn_texture, "resources/next_turn2.png"}, {&self_arrow_texture, "resources/self_arrow.png"}};

void load_picture_file(const PictureFile& file) {
    if (file.texture->name == 0) *file.texture = load_shipped_texture(file.path);
}

// The panels, buttons and machine picture of the title screen.
void load_title_pictures() {
    white_texture = load_shipped_texture("resources/white.png");
    gradient3_texture = load_shipped_texture("resources/gradient3.png");
    load_picture_file(machine_pictures[machine_kind]);
}

// The first later picture not loaded yet, or null.
const PictureFile* next_later_picture() {
    for (const PictureFile& file : later_picture_files) {
        if (file.texture->name == 0) return &file;
    }
    return nullptr;
}

void create_unit_quad() {
    const float vertices[16] = {0, 0, 0, 0, 1, 0, 1, 0, 0, 1, 0, 1, 1, 1, 1, 1};
    const uint8_t indices[6] = {0, 1, 2, 2, 1, 3};
    quad_vertex_array = vertex_array_create();
    quad_vertex_buffer = buffer_create();
    quad_index_buffer = buffer_create();
    vertex_array_bind(quad_vertex_array);
    buffer_bind(BUFFER_ARRAY, quad_vertex_buffer);
    buffer_data(BUFFER_ARRAY, sizeof vertices, vertices, USAGE_STATIC_DRAW);
    attribute_enable(0, true);
    attribute_format(0, 2, TYPE_FLOAT, false, 16, 0);
    attribute_enable(1, true);
    attribute_format(1, 2, TYPE_FLOAT, false, 16, 8);
    buffer_bind(BUFFER_ELEMENT_ARRAY, quad_index_buffer);
    buffer_data(BUFFER_ELEMENT_ARRAY, sizeof indices, indices, USAGE_STATIC_DRAW);
    vertex_array_unbind();

    // Batches of quads with their corners in clip space: position, texture coordinates, tint, and
    // for upright pictures the texture coordinates as a function of window position.
    quad_batch_vertex_array = vertex_array_create();
    quad_batch_vertex_buffer = buffer_create();
    quad_batch_index_buffer = buffer_create();
    vertex_array_bind(quad_batch_vertex_array);
    buffer_bind(BUFFER_ARRAY, quad_batch_vertex_buffer);
    attribute_enable(0, true);
    attribute_format(0, 4, TYPE_FLOAT, false, 56, 0);
    attribute_enable(1, true);
    attribute_format(1, 2, TYPE_FLOAT, false, 56, 16);
    attribute_enable(2, true);
    attribute_format(2, 4, TYPE_FLOAT, false, 56, 24);
    attribute_enable(3, true);
    attribute_format(3, 4, TYPE_FLOAT, false, 56, 40);
    buffer_bind(BUFFER_ELEMENT_ARRAY, quad_batch_index_buffer);
    vertex_array_unbind();
    buffer_unbind(BUFFER_ARRAY);
}

// False after printing the compiler's text when the program does not build.
bool build_shader(uint32_t program, const char* source, int64_t source_length, const char* name) {
    uint8_t log_buffer[shader_log_capacity];
    shader_result result = shader_source(program, string{source, source_length}, byte_view{log_buffer, shader_log_capacity});
    if (result.success) return true;
    print(str("shader error for "));
    print(str(name));
    print(str(" shader!\n"));
    print(result.log);
    print(str("\n"));
    return false;
}

}  // namespace

uint8_t shown_byte(int32_t linear) {
    return static_cast<uint8_t>(math_pow(linear / 255.0, 1.0 / display_gamma) * 255 + 0.5);
}

void release_image_memory() { image_set_buffer(0, nullptr); }

bool later_pictures_pending;

bool machine_picture_loaded(uint8_t kind) { return machine_textures[kind].name != 0; }

// Room to decode the largest of them several times over, within the frame arena with their
// smaller levels.
constexpr int64_t later_picture_memory_bytes = 8388608;

namespace {

void load_resources(bool title_pictures_only) {
    render_resources_generation++;
    void* image_block = arena_allocate(PERSISTENT_ARENA, image_memory_bytes);
    image_set_flip(true);
    image_set_buffer(image_memory_bytes, image_block);
    load_title_pictures();
    later_pictures_pending = title_pictures_only;
    if (!title_pictures_only) {
        for (const PictureFile& file : later_picture_files) load_picture_file(file);
    }
    load_font(shipped_file_path(str("resources/font_info.txt")));
    create_unit_quad();

    simple_shader = shader_create();
    if (!build_shader(simple_shader, simple_shader_source, sizeof simple_shader_source - 1, "simple")) return;
    simple_gamma = shader_get_uniform_location(simple_shader, str("gamma"));
    tint_shader = shader_create();
    if (!build_shader(tint_shader, tint_shader_source, sizeof tint_shader_source - 1, "tint")) return;
    flat_shader = shader_create();
    if (!build_shader(flat_shader, flat_shader_source, sizeof flat_shader_source - 1, "flat")) return;

    gamma_shader = shader_create();
    if (!build_shader(gamma_shader, gamma_shader_source, sizeof gamma_shader_source - 1, "gamma")) return;
    gamma_diffuse = shader_get_uniform_location(gamma_shader, str("diffuse"));

    window_picture_shader = shader_create();
    if (!build_shader(window_picture_shader, window_picture_shader_source, sizeof window_picture_shader_source - 1,
                      "window picture")) {
        return;
    }
    window_picture_background = shader_get_uniform_location(window_picture_shader, str("background"));
    shader_bind(window_picture_shader);
    shader_uniform1i(shader_get_uniform_location(window_picture_shader, str("diffuse")), 0);
    shader_uniform1f(shader_get_uniform_location(window_picture_shader, str("gamma")), display_gamma);
    shader_unbind();

    create_scene_frame_buffer();
}

}  // namespace

void load_render_resources() { load_resources(false); }
void load_title_resources() { load_resources(true); }

namespace {

// Decodes in memory of the frame arena, which is left as it was found.
void load_later_pictures_up_to(int64_t most) {
    ArenaMark before = arena_mark(FRAME_ARENA);
    void* image_block = arena_allocate(FRAME_ARENA, later_picture_memory_bytes);
    image_set_flip(true);
    image_set_buffer(later_picture_memory_bytes, image_block);
    for (int64_t loaded = 0; loaded < most; loaded++) {
        const PictureFile* file = next_later_picture();
        if (!file) break;
        load_picture_file(*file);
    }
    later_pictures_pending = next_later_picture() != nullptr;
    release_image_memory();
    arena_reset_to(before);
}

}  // namespace

void load_later_pictures() {
    if (later_pictures_pending) load_later_pictures_up_to(INT64_MAX);
}

void load_next_later_picture() {
    if (later_pictures_pending) load_later_pictures_up_to(1);
}

void destroy_render_resources() {
    Texture* textures[] = {&white_texture,     &eye_texture,       &stack_texture,     &player_texture,
                           &similarity_texture, &gradient1_texture, &gradient2_texture, &gradient3_texture,
                           &next_turn_texture, &self_arrow_texture, &font.texture};
    for (Texture* texture : textures) {
        if (texture->name) texture_destroy(texture->name);
        *texture = Texture{};
    }
    for (Texture& texture : shape_textures) {
        if (texture.name) texture_destroy(texture.name);
        texture = Texture{};
    }
    for (Texture& texture : machine_textures) {
        if (texture.name) texture_destroy(texture.name);
        texture = Texture{};
    }
    if (quad_vertex_buffer) buffer_destroy(quad_vertex_buffer);
    if (quad_index_buffer) buffer_destroy(quad_index_buffer);
    if (quad_vertex_array) vertex_array_destroy(quad_vertex_array);
    if (quad_batch_vertex_buffer) buffer_destroy(quad_batch_vertex_buffer);
    if (quad_batch_index_buffer) buffer_destroy(quad_batch_index_buffer);
    if (quad_batch_vertex_array) vertex_array_destroy(quad_batch_vertex_array);
    quad_vertex_buffer = quad_index_buffer = quad_vertex_array = 0;
    quad_batch_vertex_buffer = quad_batch_index_buffer = quad_batch_vertex_array = 0;
    uint32_t programs[] = {simple_shader, tint_shader, flat_shader, gamma_shader, window_picture_shader};
    for (uint32_t program : programs) {
        if (program) shader_destroy(program);
    }
    simple_shader = tint_shader = flat_shader = gamma_shader = window_picture_shader = 0;
    destroy_scene_frame_buffer();
}
