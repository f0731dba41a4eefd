// Everything drawing needs, loaded once at start-up: pictures, the font, the unit quad and the two shaders.
#pragma once

#include "base/strings.h"
#include "render/texture.h"

#include <cstdint>

constexpr int64_t image_memory_bytes = 33554432;
constexpr int64_t shape_texture_count = 6;
constexpr int64_t machine_kind_count = 3;

extern Texture shape_textures[shape_texture_count];
extern Texture white_texture;
extern Texture eye_texture;
extern Texture stack_texture;
extern Texture player_texture;
extern Texture similarity_texture;
extern Texture gradient1_texture;
extern Texture gradient2_texture;
extern Texture gradient3_texture;
extern Texture next_turn_texture;
extern Texture self_arrow_texture;
extern Texture machine_textures[machine_kind_count];

extern uint32_t quad_vertex_array;
extern uint32_t quad_vertex_buffer;
extern uint32_t quad_index_buffer;
// Batches of quads: four corners each in the vertex buffer, two triangles each in the index buffer.
extern uint32_t quad_batch_vertex_array;
extern uint32_t quad_batch_vertex_buffer;
extern uint32_t quad_batch_index_buffer;
// Counts the loads of these resources: buffers of a new load start empty.
extern int64_t render_resources_generation;

// Sprites by their texture's shading: any picture, raised to gamma; white with any alpha; opaque white.
extern uint32_t simple_shader;
extern int32_t simple_gamma;
extern uint32_t tint_shader;
extern uint32_t flat_shader;

// Copies the scene to the window with every byte value raised to 1 / gamma.
extern uint32_t gamma_shader;
extern int32_t gamma_diffuse;
// The byte the gamma pass shows for a byte of the linear scene.
uint8_t shown_byte(int32_t linear);

// An upright picture over flat colours drawn straight to the window; background holds the scene's
// colour under it, as the scene stores it.
extern uint32_t window_picture_shader;
extern int32_t window_picture_background;

// Image memory, pictures, font, unit quad, shaders and the scene frame buffer, in that order.
// Takes the image block from the persistent arena; the caller releases it afterwards.
void load_render_resources();
// As load_render_resources, with only the pictures the title screen shows for the machine kind of
// the moment: the first frame comes sooner, and the later pictures come after it.
void load_title_resources();
// True from load_title_resources until every later picture is loaded.
extern bool later_pictures_pending;
bool machine_picture_loaded(uint8_t kind);
// Every picture load_title_resources left out that is not loaded yet, decoded in memory of the
// frame arena, which it leaves as it found it.
void load_later_pictures();
// As load_later_pictures, one picture only: a frame that loads one stays near its usual length.
void load_next_later_picture();

// The library is told the image block is gone, so a later decode cannot write over what the
// persistent arena holds next; call it before giving the block back.
void release_image_memory();

// Every graphics object made by load_render_resources, the scene's included.
void destroy_render_resources();
