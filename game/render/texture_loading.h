// Pictures made into textures, each with the facts its texels give.
#pragma once

#include "base/strings.h"
#include "render/texture.h"

// A mipmapped RGBA texture of the picture; a 1 x 1 white texture when the picture cannot be read.
Texture load_texture(string path);

// The font's image: no mipmaps, linear when shrunk, nearest when enlarged.
Texture load_font_texture(string path);
