// Shared set-up for the model tests: arenas, a clean model, maps written to a scratch folder.
#pragma once

#include "base/strings.h"
#include "model/game_data.h"

#include <gtest/gtest.h>

#include <string>

string view_of(const std::string& text);
std::string text_of(string view);

// Arenas once per process; every model variable back to its start value, no seats; a fixed seed.
void reset_model(uint8_t kind);

// Writes the bytes to a file in a scratch folder, removed when the program's tests end, and returns its path.
std::string write_temp_file(const std::string& name, const std::string& bytes);
bool load_map_text(const std::string& bytes);

void add_players(int64_t count, bool computers, int64_t difficulty);

struct GameResult {
    int64_t turns;
    uint8_t winner;
    bool blocked;
    std::string trace;
};

// Runs the play-mode update's turn logic without a window until the game ends or the turn
// limit is reached; every pause is skipped.
GameResult play_until_over(int64_t max_turns);

class ModelFixture : public ::testing::Test {
protected:
    void SetUp() override { reset_model(pushdown_machine); }
};
