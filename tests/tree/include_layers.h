// Reads the #include lines of the game and the library and names every include that reaches a
// layer above its own, every include of SDL or OpenGL from the game, every include cycle, and every
// circle of the game's files, a header and its source counted as one file.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

// One line per problem, naming the file and what it includes; empty when the tree is sound.
std::vector<std::string> include_problems(const std::filesystem::path& repository_root);
