// The whole program for thousands of frames (VARNHOLT_SOAK_FRAMES, 20,000 in the long run) under
// seeded random keys, mouse motion, clicks and wheel turns, steered now and then to the main menu,
// the set-up, the map list, play and the editor so every screen gets its share. It runs in a
// scratch folder holding a copy of resources/, as random typing saves and deletes maps.
// Nothing may end the program, a screen must answer its steering, a computer-only game must keep
// moving, only the game's own messages may be printed, and the persistent arena must stay small.
#include "base/arena.h"
#include "base/random.h"
#include "model/game_data.h"
#include "model/map_list.h"
#include "model/turn_state.h"
#include "screen/ui.h"
#include "screen/editor.h"
#include "screen/goal_builder.h"
#include "screen/text_entry.h"
#include "shell/application.h"
#include "shell/ui_driver.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <kestrune_system.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

int64_t frames_to_run() {
    const char* count = std::getenv("VARNHOLT_SOAK_FRAMES");
    return count ? std::atoll(count) : 1000;
}

// The game's exit() would end the test process with status 0 and hide the fault.
bool soak_in_progress = false;
void fail_on_exit() {
    if (!soak_in_progress) return;
    std::fputs("the program ended itself during the soak\n", stderr);
    _exit(1);
}

enum Screen { main_menu, player_setup, map_list, play, editor, editor_map_list, screen_count };
const char* const screen_names[screen_count] = {"main menu", "set-up", "map list", "play", "editor", "editor map list"};

Screen current_screen() {
    if (main_menu_open) return main_menu;
    if (player_setup_open) return player_setup;
    if (map_list_open) return editor_mode ? editor_map_list : map_list;
    return editor_mode ? editor : play;
}

// Keys the game reads anywhere: letters and digits (typing, the editor, the camera), editing keys,
// punctuation for rules, help and memory overlays.
const SDL_Scancode random_keys[] = {
    SDL_SCANCODE_A,     SDL_SCANCODE_B,         SDL_SCANCODE_C,      SDL_SCANCODE_D,         SDL_SCANCODE_E,
    SDL_SCANCODE_F,     SDL_SCANCODE_I,         SDL_SCANCODE_J,      SDL_SCANCODE_K,         SDL_SCANCODE_L,
    SDL_SCANCODE_N,     SDL_SCANCODE_O,         SDL_SCANCODE_Q,      SDL_SCANCODE_R,         SDL_SCANCODE_S,
    SDL_SCANCODE_U,     SDL_SCANCODE_W,         SDL_SCANCODE_X,      SDL_SCANCODE_Z,         SDL_SCANCODE_1,
    SDL_SCANCODE_2,     SDL_SCANCODE_3,         SDL_SCANCODE_4,      SDL_SCANCODE_5,         SDL_SCANCODE_6,
    SDL_SCANCODE_7,     SDL_SCANCODE_0,         SDL_SCANCODE_SPACE,  SDL_SCANCODE_RETURN,    SDL_SCANCODE_BACKSPACE,
    SDL_SCANCODE_DELETE, SDL_SCANCODE_TAB,      SDL_SCANCODE_LEFT,   SDL_SCANCODE_RIGHT,     SDL_SCANCODE_MINUS,
    SDL_SCANCODE_EQUALS, SDL_SCANCODE_SEMICOLON, SDL_SCANCODE_PERIOD, SDL_SCANCODE_LEFTBRACKET, SDL_SCANCODE_F1,
    SDL_SCANCODE_F3,
};
const SDL_Scancode modifiers[] = {SDL_SCANCODE_LSHIFT, SDL_SCANCODE_LCTRL, SDL_SCANCODE_LALT};
const SDL_Scancode modified_keys[] = {SDL_SCANCODE_S, SDL_SCANCODE_O, SDL_SCANCODE_N, SDL_SCANCODE_A, SDL_SCANCODE_1};

// A key or button that went down and comes up when its frame is reached.
struct PendingRelease {
    int64_t frame;
    bool is_key;
    SDL_Scancode key;
    uint8_t button;
};

struct Figures {
    int64_t frames = 0;
    int64_t frames_on[screen_count] = {};
    int64_t frames_in_text_entry = 0, frames_in_goal_builder = 0, frames_with_help = 0, frames_with_memory_overlay = 0;
    int64_t games_started = 0, games_finished = 0, quits = 0, steerings = 0;
    int64_t arena_at_start = 0, arena_peak = 0;
    double slowest_frame_seconds = 0;
};

class Soak {
public:
    explicit Soak(uint64_t seed) : random_(seed) {}

    // One frame of the program with whatever random input this frame brings.
    void random_frame(bool calm) {
        release_due();
        if (chance(0.3)) move_mouse(uniform(0, window_width), uniform(0, window_height));
        if (chance(calm ? 0.01 : 0.06)) click();
        if (chance(0.03)) turn_wheel(static_cast<int32_t>(pick(7)) - 3);
        if (chance(calm ? 0.02 : 0.12)) tap(random_keys[pick(std::size(random_keys))], 1 + pick(calm ? 2 : 30));
        if (!calm && chance(0.01)) chord();
        if (!calm && chance(0.003)) tap(SDL_SCANCODE_ESCAPE, 1);
        if (!calm && chance(0.001)) SDL_SetModState(chance(0.5) ? KMOD_CAPS : KMOD_NONE);
        frame();
    }

    void frame() {
        Screen screen = current_screen();
        bool game_was_over = game_over();
        auto start = std::chrono::steady_clock::now();
        run_frame();
        double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (seconds > figures.slowest_frame_seconds) figures.slowest_frame_seconds = seconds;
        figures.frames++;
        frame_number_++;
        figures.frames_on[screen]++;
        if (entry_open) figures.frames_in_text_entry++;
        if (goal_builder_open) figures.frames_in_goal_builder++;
        if (help_visible) figures.frames_with_help++;
        if (memory_overlay_visible) figures.frames_with_memory_overlay++;
        if (screen == play && current_screen() == play && !game_was_over && game_over()) figures.games_finished++;
        if (persistent_arena.used > figures.arena_peak) figures.arena_peak = persistent_arena.used;
        // Quitting ends only the loop around the frames; the soak goes on as a new session would.
        if (!running) {
            figures.quits++;
            running = true;
        }
    }

    // Everything held goes up, so steering starts from a quiet keyboard and mouse.
    void release_all() {
        for (const PendingRelease& pending : pending_) push_release(pending);
        pending_.clear();
        SDL_SetModState(KMOD_NONE);
        frame();
    }

    void press(SDL_Scancode key) {
        hold_key(key);
        frame();
        release_key(key);
        frame();
    }

    void chord_now(SDL_Scancode modifier, SDL_Scancode key) {
        hold_key(modifier);
        hold_key(key);
        frame();
        release_key(key);
        release_key(modifier);
        frame();
    }

    bool click_label(const std::string& label, int occurrence = 0) {
        frame();
        std::vector<std::string> labels = button_labels();
        for (size_t i = 0; i < labels.size(); i++) {
            if (labels[i] != label || occurrence-- > 0) continue;
            move_mouse(drawn_buttons[i].center_x, drawn_buttons[i].center_y);
            push_mouse_button(SDL_BUTTON_LEFT, true);
            frame();
            push_mouse_button(SDL_BUTTON_LEFT, false);
            frame();
            return true;
        }
        return false;
    }

    uint64_t pick(uint64_t count) { return std::uniform_int_distribution<uint64_t>(0, count - 1)(random_); }
    bool chance(double p) { return std::bernoulli_distribution(p)(random_); }

    Figures figures;

private:
    double uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }

    void click() {
        uint8_t button = chance(0.8) ? SDL_BUTTON_LEFT : SDL_BUTTON_RIGHT;
        // Half the clicks land on a button the last frame drew, so menus and panels get used, not
        // only the empty space between them; deleting maps is left to the blind clicks.
        std::vector<std::string> labels = button_labels();
        size_t target = labels.empty() ? 0 : pick(labels.size());
        if (chance(0.5) && !labels.empty() && labels[target] != "Delete") {
            move_mouse(drawn_buttons[target].center_x, drawn_buttons[target].center_y);
        }
        push_mouse_button(button, true);
        pending_.push_back(PendingRelease{frame_number_ + 1 + static_cast<int64_t>(pick(chance(0.2) ? 40 : 2)), false,
                                          SDL_SCANCODE_UNKNOWN, button});
    }

    void tap(SDL_Scancode key, uint64_t frames_held) {
        hold_key(key);
        pending_.push_back(PendingRelease{frame_number_ + static_cast<int64_t>(frames_held), true, key, 0});
    }

    void chord() {
        SDL_Scancode modifier = modifiers[pick(std::size(modifiers))];
        hold_key(modifier);
        tap(modified_keys[pick(std::size(modified_keys))], 1);
        pending_.push_back(PendingRelease{frame_number_ + 2, true, modifier, 0});
    }

    static void push_release(const PendingRelease& pending) {
        if (pending.is_key) {
            release_key(pending.key);
        } else {
            push_mouse_button(pending.button, false);
        }
    }

    void release_due() {
        std::vector<PendingRelease> still_held;
        for (const PendingRelease& pending : pending_) {
            if (pending.frame <= frame_number_) {
                push_release(pending);
            } else {
                still_held.push_back(pending);
            }
        }
        pending_ = still_held;
    }

    std::mt19937_64 random_;
    std::vector<PendingRelease> pending_;
    int64_t frame_number_ = 0;
};

// Escape first closes a help page (which covers every button), then walks back through the screens;
// on the main menu it would quit, so stop there. Unsaved edits make the editor ask first; the
// steering lets them go.
bool steer_to_main_menu(Soak* soak) {
    soak->release_all();
    if (help_visible || legend_visible) soak->press(SDL_SCANCODE_ESCAPE);
    for (int i = 0; i < 6 && !main_menu_open; i++) {
        soak->press(SDL_SCANCODE_ESCAPE);
        if (editor_mode && editor_dialog_open()) soak->press(SDL_SCANCODE_Y);
    }
    return main_menu_open;
}

bool steer_to_setup(Soak* soak) {
    if (!steer_to_main_menu(soak)) return false;
    // Now and then another machine kind, so every kind's maps are played and edited.
    if (soak->chance(0.5)) soak->click_label(">");
    soak->click_label("Play Game");
    return current_screen() == player_setup;
}

bool steer_to_map_list(Soak* soak, bool computers_only) {
    if (!steer_to_setup(soak)) return false;
    // A seat's kind goes human, computer, remote: a remote seat is first made human, then each click
    // turns the first human seat left into a computer.
    for (int seats = 0; computers_only && seats < card_property_count; seats++) {
        if (!soak->click_label("remote")) break;
    }
    for (int seats = 0; computers_only && seats < card_property_count; seats++) {
        if (!soak->click_label("human")) break;
    }
    soak->click_label("OK");
    return current_screen() == map_list;
}

bool steer_to_editor(Soak* soak) {
    if (!steer_to_main_menu(soak)) return false;
    if (soak->chance(0.5)) soak->click_label(">");
    soak->click_label("Editor");
    return current_screen() == editor;
}

// Everything a turn can change, and what decides whose turn it is, as text for comparing and reporting.
std::string game_position() {
    std::string text = "kind " + std::to_string(machine_kind) + ", seat " + std::to_string(current_player) + " of " +
                       std::to_string(player_count) + ", stones";
    for (int64_t i = 0; i < stones.count; i++) text += " " + std::to_string(stones.data[i]);
    text += ", deck " + std::to_string(deck.count) + ", stack " + std::to_string(stack.count) + ", hands";
    for (int64_t seat = 0; seat < players.count; seat++) {
        text += " " + std::to_string(players.data[seat].hand.count) + (players.data[seat].is_computer ? "c" : "h");
    }
    text += ", tape head " + std::to_string(tape_head) + ", winner " + std::to_string(winner) + ", blocked " +
            std::to_string(game_blocked);
    return text;
}

// A game among computers only must keep moving: within ten seconds of play something changes.
std::string computer_game_stands_still(Soak* soak) {
    std::string before = game_position();
    for (int i = 0; i < 600; i++) {
        soak->random_frame(true);
        if (current_screen() != play || game_position() != before) return {};
    }
    return "a computer-only game stood still: " + before + ", move delay " + std::to_string(move_delay) +
           ", computer delay " + std::to_string(computer_delay);
}

std::vector<std::string> undefined_lines(const std::string& output) {
    const char* const defined[] = {"saving map ",        "failed to save map: ", "failed to start game: ",
                                   "failed to load map: ", "failed to save map list: ",
                                   "not deleting a map outside the map folders: "};
    std::vector<std::string> undefined;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        bool known = false;
        for (const char* prefix : defined) known = known || line.rfind(prefix, 0) == 0;
        if (!known) undefined.push_back(line);
    }
    return undefined;
}

class ScratchFolder {
public:
    ScratchFolder() : previous_(fs::current_path()) {
        folder_ = fs::temp_directory_path() / ("varnholt_soak_" + std::to_string(getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        fs::copy(previous_ / "resources", folder_ / "resources", fs::copy_options::recursive);
        fs::current_path(folder_);
    }
    ~ScratchFolder() {
        fs::current_path(previous_);
        fs::remove_all(folder_);
    }

private:
    fs::path previous_;
    fs::path folder_;
};

TEST(RandomInput, EveryScreenStaysUpAnswersAndPrintsOnlyItsOwnMessages) {
    ScratchFolder scratch;
    std::atexit(fail_on_exit);
    soak_in_progress = true;
    testing::internal::CaptureStdout();
    restart_at_main_menu();
    constexpr uint64_t seed = 20261207;
    // Start-up seeds the game from the clock; the soak's games must repeat from run to run.
    seed_random(seed);
    Soak soak(seed);
    soak.figures.arena_at_start = persistent_arena.used;
    soak.figures.arena_peak = persistent_arena.used;

    int64_t frames = frames_to_run();
    constexpr int64_t segment = 120;
    std::vector<std::string> faults;
    auto start = std::chrono::steady_clock::now();
    constexpr int64_t steps = 8;
    // Whole rounds of steering, so even a short run visits every screen.
    for (int64_t round = 0; soak.figures.frames < frames || round % steps != 0; round++) {
        soak.figures.steerings++;
        int64_t step = round % steps;
        bool reached = true;
        Screen wanted = main_menu;
        switch (step) {
            case 0: reached = steer_to_main_menu(&soak); break;
            case 1:
                wanted = player_setup;
                reached = steer_to_setup(&soak);
                break;
            case 2:
                wanted = map_list;
                reached = steer_to_map_list(&soak, false);
                break;
            case 3:
            case 6: {
                // Steered into a game of computers only, which must keep moving while nobody touches it.
                if (!steer_to_map_list(&soak, true)) {
                    reached = false;
                    wanted = map_list;
                    break;
                }
                soak.click_label("Play");
                wanted = play;
                reached = current_screen() == play;
                if (reached) {
                    soak.figures.games_started++;
                    std::string still = game_over() ? std::string() : computer_game_stands_still(&soak);
                    if (!still.empty()) faults.push_back(still);
                }
                break;
            }
            case 4:
                wanted = editor;
                reached = steer_to_editor(&soak);
                break;
            case 5:
                wanted = editor_map_list;
                reached = steer_to_editor(&soak);
                if (reached) {
                    soak.chord_now(SDL_SCANCODE_LCTRL, SDL_SCANCODE_O);
                    reached = current_screen() == editor_map_list;
                }
                break;
            case 7:
                // Saving under a typed name; the name is random, and may be empty, which the game refuses.
                wanted = editor;
                reached = steer_to_editor(&soak);
                if (reached) {
                    soak.chord_now(SDL_SCANCODE_LCTRL, SDL_SCANCODE_S);
                    for (uint64_t letters = soak.pick(6); letters > 0; letters--) {
                        soak.press(static_cast<SDL_Scancode>(SDL_SCANCODE_A + soak.pick(26)));
                    }
                    soak.press(SDL_SCANCODE_RETURN);
                    reached = current_screen() == editor && !entry_open;
                }
                break;
        }
        if (!reached) {
            faults.push_back(std::string("steering to the ") + screen_names[wanted] + " ended on the " +
                             screen_names[current_screen()] + " at frame " + std::to_string(soak.figures.frames));
        }
        // A screen left alone keeps its memory: an idle menu or editor frame takes nothing from
        // the persistent arena.
        if (current_screen() != play) {
            int64_t used = persistent_arena.used;
            soak.release_all();
            for (int i = 0; i < 10 && current_screen() != play; i++) soak.frame();
            if (current_screen() != play && persistent_arena.used != used) {
                faults.push_back(std::string("idle frames on the ") + screen_names[current_screen()] + " took " +
                                 std::to_string(persistent_arena.used - used) + " bytes of the persistent arena");
            }
        }
        for (int64_t i = 0; i < segment; i++) soak.random_frame(false);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    soak.release_all();
    std::string output = testing::internal::GetCapturedStdout();
    soak_in_progress = false;

    const Figures& figures = soak.figures;
    std::printf("soak: %lld frames in %.1f s (slowest frame %.3f s), %lld steerings, %lld quits\n",
                static_cast<long long>(figures.frames), seconds, figures.slowest_frame_seconds,
                static_cast<long long>(figures.steerings), static_cast<long long>(figures.quits));
    for (int screen = 0; screen < screen_count; screen++) {
        std::printf("soak: %lld frames on the %s\n", static_cast<long long>(figures.frames_on[screen]), screen_names[screen]);
    }
    std::printf("soak: %lld frames typing, %lld in the goal builder, %lld with help, %lld with the memory overlay\n",
                static_cast<long long>(figures.frames_in_text_entry), static_cast<long long>(figures.frames_in_goal_builder),
                static_cast<long long>(figures.frames_with_help), static_cast<long long>(figures.frames_with_memory_overlay));
    std::printf("soak: %lld games started by steering, %lld games finished\n",
                static_cast<long long>(figures.games_started), static_cast<long long>(figures.games_finished));
    std::printf("soak: persistent arena %lld bytes after start, peak %lld bytes of %lld\n",
                static_cast<long long>(figures.arena_at_start), static_cast<long long>(figures.arena_peak),
                static_cast<long long>(persistent_arena.capacity));

    EXPECT_GE(figures.frames, frames);
    for (const std::string& fault : faults) ADD_FAILURE() << fault;
    for (const std::string& line : undefined_lines(output)) ADD_FAILURE() << "printed: " << line;
    for (int screen = 0; screen < screen_count; screen++) {
        EXPECT_GT(figures.frames_on[screen], 0) << screen_names[screen];
    }
    EXPECT_GT(figures.games_started, 0);
    // Loading maps and saving keep small records in the persistent arena for good; a long session
    // must use only a small part of it.
    EXPECT_LT(figures.arena_peak, persistent_arena.capacity / 16);
}

}  // namespace
