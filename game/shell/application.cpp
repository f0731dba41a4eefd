#include "shell/application.h"

#include "base/arena.h"
#include "base/game_folders.h"
#include "base/random.h"
#include "base/strings.h"
#include "base/text_format.h"
#include "model/game_log.h"
#include "model/kept_game.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/net_client.h"
#include "model/net_host.h"
#include "model/player_folder.h"
#include "model/turn_state.h"
#include "render/matrix.h"
#include "render/resources.h"
#include "render/scene.h"
#include "screen/camera.h"
#include "screen/editor.h"
#include "screen/frame_input.h"
#include "screen/game_screen.h"
#include "screen/heads_up.h"
#include "screen/help_overlay.h"
#include "screen/network_play.h"
#include "screen/replay_view.h"
#include "screen/screen_state.h"
#include "screen/text_entry.h"
#include "screen/ui.h"
#include "shell/input_capture.h"
#include "shell/menus.h"
#include "shell/memory_overlay.h"

#include <kestrune_system.h>

#include <cstdlib>

bool running;
bool main_menu_open;
bool player_setup_open;
bool map_list_open;
bool host_screen_open;
bool join_screen_open;
bool editor_mode;
bool replay_open;
bool help_visible;
bool legend_visible;
bool memory_overlay_visible;
bool window_fullscreen;
double title_angle;
// Until the first frame after start-up is drawn.
static bool title_frame_first;

void reset_shell_state() {
    running = false;
    title_frame_first = false;
    main_menu_open = true;
    player_setup_open = false;
    map_list_open = false;
    host_screen_open = false;
    join_screen_open = false;
    editor_mode = false;
    replay_open = false;
    help_visible = false;
    legend_visible = false;
    memory_overlay_visible = false;
    window_width = default_window_width;
    window_height = default_window_height;
    window_fullscreen = false;
    title_angle = 0;
    reset_map_list_screen();
    reset_host_screen();
    reset_join_screen();
}

void reset_program_state() {
    reset_model_and_screens();
    reset_shell_state();
}

static void take_window_size() {
    if (window_fullscreen) {
        display_info info;
        display_get_info(&info);
        window_width = info.width;
        window_height = info.height;
    } else {
        window_width = default_window_width;
        window_height = default_window_height;
    }
}

namespace {
constexpr int64_t retained_freed_memory_bytes = 64 << 20;
}  // namespace

void application_start() {
    reset_program_state();
    // Without its data, or a place for the player's maps, the game stops before any window opens.
    if (!find_game_folders()) exit(1);
    system_init(SYSTEM_ALL);
    // A software renderer frees its per-frame memory every frame; handed back each time, it
    // comes back as page faults, which cost some frames as much again as their drawing.
    system_retain_freed_memory(retained_freed_memory_bytes);
    create_arenas(persistent_arena_capacity, frame_arena_capacity);
    seed_random(static_cast<uint64_t>(system_time()));
    if (!prepare_player_folder()) exit(1);
    reset_kept_game();
    display_open(default_window_width, default_window_height, str("Varnholt"), DISPLAY_VSYNC, 1);
    take_window_size();
    load_title_resources();
    // Only the image decoding block lived here; give it back.
    release_image_memory();
    arena_empty(PERSISTENT_ARENA);
    build_demo_map();
    load_map_list(&state_map_list, map_list_path(state_machine));
    load_map_list(&pushdown_map_list, map_list_path(pushdown_machine));
    load_map_list(&turing_map_list, map_list_path(turing_machine));
    pipeline_cull_enable(true);
    pipeline_cull_orientation(ORIENTATION_COUNTER_CLOCKWISE);
    pipeline_blend_factor(BLEND_SOURCE_ALPHA, BLEND_ONE_MINUS_SOURCE_ALPHA);
    running = true;
    title_frame_first = true;
}

static void leave_editor() {
    leave_game_screen();
    editor_mode = false;
    main_menu_open = true;
}

static void stop_hosting_if_active() {
    if (net_host.active) stop_hosting(str("The host left the game"), network_now());
}

// The joined game belongs to its host; the Join screen keeps what takes its seat back.
static void leave_joined_game() {
    if (net_client.phase != client_ended && net_client.phase != client_idle) {
        leave_host(&net_client, str("The player left the game"), network_now());
    }
    prefill_rejoin();
    leave_game_screen();
    joined_play = false;
    main_menu_open = true;
}

// Escape first answers "no" to a question that is up; the editor asks before unsaved edits go.
static void apply_escape_chain() {
    // Escape closes the help or the legend first and does nothing else.
    if (help_visible || legend_visible) {
        help_visible = false;
        legend_visible = false;
        return;
    }
    if (main_menu_open) {
        running = false;
    } else if (host_screen_open || join_screen_open) {
        if (entry_open) {
            entry_open = 0;
            finish_text_entry();
        } else if (host_screen_open) {
            leave_host_screen_for_map_list();
        } else {
            leave_join_screen();
        }
    } else if (replay_open) {
        replay_open = false;
        map_list_open = true;
    } else if (map_list_open) {
        if (close_map_list_question()) return;
        map_list_open = false;
        player_setup_open = !editor_mode;
    } else if (editor_mode) {
        if (editor_may_discard(editor_request_leave)) leave_editor();
    } else if (player_setup_open) {
        player_setup_open = false;
        main_menu_open = true;
    } else if (joined_play) {
        leave_joined_game();
    } else {
        // Kept while still hosted, so its port and tokens are kept with it for Continue.
        keep_game_now();
        stop_hosting_if_active();
        leave_game_screen();
        player_setup_open = true;
    }
}

static bool in_play() {
    return !main_menu_open && !player_setup_open && !map_list_open && !host_screen_open && !join_screen_open &&
           !editor_mode && !replay_open;
}

// G saves the game so far as a log the map list can replay.
static void save_log_on_request() {
    if (!key_pressed(KEY_G)) return;
    string path = save_game_log();
    // The map list looks for the map's newest log again.
    reset_map_list_screen();
    show_notice(path.length > 0 ? arena_concat(str("Game log saved as "), path, FRAME_ARENA)
                                : str("The game log could not be saved"));
}

static HelpScreen help_screen() {
    if (main_menu_open || player_setup_open || map_list_open || host_screen_open || join_screen_open) return help_for_menus;
    return editor_mode ? help_for_editor : help_for_play;
}

static void toggle_fullscreen() {
    window_fullscreen = !window_fullscreen;
    display_set_fullscreen(window_fullscreen);
    take_window_size();
    create_scene_frame_buffer();
}

// A graphics error is not recoverable; stop without the orderly shutdown.
static void end_on_graphics_error() {
    uint8_t error = pipeline_get_error();
    if (error == 0) return;
    print(str("gl error: "));
    print_integer(error);
    print(str("\n"));
    exit(0);
}

void application_frame_work() {
    arena_empty(FRAME_ARENA);
    input_poll();
    capture_frame_input();
    // Before anything reads the pointer, the last frame's boxes say what it is over.
    begin_widgets();
    // Closing the window while editing asks before unsaved edits go.
    bool editing = editor_mode && !map_list_open;
    if (display_is_closed() && (!editing || editor_may_discard(editor_request_quit))) {
        if (joined_play) {
            leave_joined_game();
        } else if (in_play()) {
            keep_game_now();
        }
        stop_hosting_if_active();
        running = false;
    }
    if (key_pressed(KEY_ESCAPE)) apply_escape_chain();
    if (key_pressed(KEY_F1)) {
        help_visible = !help_visible;
        legend_visible = false;
    }
    if (key_pressed(KEY_F2)) {
        legend_visible = !legend_visible;
        help_visible = false;
    }
    if (key_pressed(KEY_F3)) memory_overlay_visible = !memory_overlay_visible;
    if (key_pressed(KEY_F11)) toggle_fullscreen();
    build_camera_matrices();
    update_camera(entry_open != 0);
    if (in_play() && joined_play) {
        update_joined_play();
    } else if (in_play()) {
        update_play();
        update_hosted_play();
        log_game_when_changed();
        keep_game_when_changed();
        save_log_on_request();
    }
    linger_connections();
    // The title screen's first frame comes before the pictures it does not show: they load one a
    // frame after it, so its animation keeps its pace, or all at once for any other screen,
    // overlay or machine kind, keys of this frame included.
    bool title_as_loaded = main_menu_open && !help_visible && !legend_visible && machine_picture_loaded(machine_kind);
    if (!title_as_loaded) {
        load_later_pictures();
    } else if (!title_frame_first) {
        load_next_later_picture();
    }
    title_frame_first = false;
    begin_scene();
    if (main_menu_open) {
        draw_main_menu();
    } else if (player_setup_open) {
        draw_player_setup();
    } else if (map_list_open) {
        draw_map_list();
    } else if (host_screen_open) {
        draw_host_screen();
    } else if (join_screen_open) {
        draw_join_screen();
    } else if (replay_open) {
        replay_frame();
    } else {
        game_screen_frame(editor_mode);
        uint8_t request = take_editor_request();
        if (request == editor_request_map_list) map_list_open = true;
        if (request == editor_request_leave) leave_editor();
        if (request == editor_request_quit) running = false;
    }
    if (help_visible) draw_help_overlay(help_screen());
    if (legend_visible) draw_rule_legend();
    if (memory_overlay_visible) draw_memory_overlay();
    present_scene();
    end_on_graphics_error();
}

void application_frame() {
    application_frame_work();
    // The driver draws the frame while the loop sleeps.
    pipeline_flush();
    system_sleep(8);
    show_scene();
}

void application_shutdown() {
    // Closing the window releases the graphics context, so its objects go first.
    destroy_render_resources();
    display_close();
    destroy_arenas();
    system_release();
}

void run_application() {
    application_start();
    while (running) application_frame();
    application_shutdown();
}
