#include "model/game_record.h"

#include "base/arena.h"
#include "base/text_cursor.h"
#include "base/text_format.h"
#include "base/text_output.h"
#include "model/game_snapshot.h"
#include "model/map_file.h"
#include "model/map_list.h"
#include "model/nimbers.h"
#include "model/referee.h"
#include "model/rules.h"

#include <cstring>

namespace {

constexpr int64_t record_version = 1;
constexpr int64_t max_record_cards = 65536;
constexpr int64_t max_record_positions = 1 << 20;
constexpr int64_t max_name_length = 1024;

// ---- writing ----

struct RecordWriter {
    TextBuilder text;
};

void put_key(RecordWriter* w, const char* key) { text_put_string(&w->text, str(key)); }

void put_number(RecordWriter* w, int64_t value) {
    text_put_char(&w->text, ' ');
    text_put_integer(&w->text, value);
}

// Doubles and random words go as their bits, so they read back exactly.
void put_bits(RecordWriter* w, double value) {
    int64_t bits;
    memcpy(&bits, &value, sizeof bits);
    put_number(w, bits);
}

void end_line(RecordWriter* w) { text_put_char(&w->text, '\n'); }

void put_cards(RecordWriter* w, const GrowableArray<Card>& cards, bool hidden) {
    put_number(w, cards.count);
    for (int64_t i = 0; i < cards.count; i++) {
        Card card = hidden ? hidden_card : cards.data[i];
        put_number(w, card.color);
        put_number(w, card.shape);
        put_number(w, card.number);
    }
}

void put_goal(RecordWriter* w, const Goal& goal, bool hidden) {
    if (hidden) {
        put_number(w, hidden_goal_kind);
        for (int i = 0; i < 8; i++) put_number(w, 0);
        return;
    }
    int64_t fields[9] = {goal.kind,    goal.comparison, goal.amount,  goal.color_a, goal.shape_a,
                         goal.number_a, goal.color_b,   goal.shape_b, goal.number_b};
    for (int64_t field : fields) put_number(w, field);
}

void put_line_text(RecordWriter* w, const char* key, string text) {
    put_key(w, key);
    text_put_char(&w->text, ' ');
    for (int64_t i = 0; i < text.length && i < max_name_length; i++) {
        char c = text.data[i];
        text_put_char(&w->text, c == '\n' || c == '\r' ? ' ' : c);
    }
    end_line(w);
}

int64_t seat_kind(const Player& player) { return player.is_remote ? 2 : player.is_computer ? 1 : 0; }

// ---- reading ----

struct RecordReader {
    TextCursor cursor;
    bool failed;
};

bool read_key(RecordReader* r, const char* key) {
    string text = str(key);
    if (r->failed || !matches_at(&r->cursor, text)) return r->failed = true, false;
    r->cursor.position += text.length;
    return true;
}

int64_t read_number(RecordReader* r, int64_t low, int64_t high) {
    if (r->failed) return low;
    TextCursor* c = &r->cursor;
    if (c->position >= c->size || c->data[c->position] != ' ') return r->failed = true, low;
    c->position++;
    int64_t start = c->position;
    int64_t value = parse_integer(c);
    bool digits = c->position > start && !(c->position == start + 1 && c->data[start] == '-');
    if (!digits || value < low || value > high) return r->failed = true, low;
    return value;
}

double read_bits(RecordReader* r) {
    int64_t bits = read_number(r, INT64_MIN, INT64_MAX);
    double value;
    memcpy(&value, &bits, sizeof value);
    // A pause is a small time, run a frame past its end at most; anything else is not a record of ours.
    if (!(value >= -60 && value <= 60)) r->failed = true;
    return value;
}

void read_line_end(RecordReader* r) {
    if (r->failed) return;
    if (r->cursor.position >= r->cursor.size || r->cursor.data[r->cursor.position] != '\n') {
        r->failed = true;
        return;
    }
    r->cursor.position++;
}

string read_line_text(RecordReader* r, const char* key) {
    if (!read_key(r, key) || r->cursor.position >= r->cursor.size || r->cursor.data[r->cursor.position] != ' ') {
        r->failed = true;
        return {};
    }
    r->cursor.position++;
    int64_t start = r->cursor.position;
    int64_t end = line_end(r->cursor.data, r->cursor.size, start);
    r->cursor.position = end;
    read_line_end(r);
    return string{r->cursor.data + start, end - start};
}

bool card_allowed(Card card, bool hidden_allowed) {
    if (hidden_allowed && card.color == hidden_card.color && card.shape == hidden_card.shape &&
        card.number == hidden_card.number)
        return true;
    return card_in_range(card) || (card.color == default_card.color && card.shape == default_card.shape &&
                                   card.number == default_card.number);
}

void read_cards(RecordReader* r, GrowableArray<Card>* cards, bool hidden_allowed) {
    int64_t count = read_number(r, 0, max_record_cards);
    array_clear(cards);
    for (int64_t i = 0; i < count && !r->failed; i++) {
        Card card;
        card.color = static_cast<uint8_t>(read_number(r, 0, 255));
        card.shape = static_cast<uint8_t>(read_number(r, 0, 255));
        card.number = static_cast<int8_t>(read_number(r, 0, 127));
        if (!card_allowed(card, hidden_allowed)) r->failed = true;
        array_push(cards, card);
    }
}

Goal read_goal(RecordReader* r) {
    Goal goal;
    goal.kind = static_cast<uint8_t>(read_number(r, 0, 255));
    goal.comparison = static_cast<uint8_t>(read_number(r, 0, at_least));
    goal.amount = read_number(r, -1000000, 1000000);
    uint8_t* fields[6] = {&goal.color_a, &goal.shape_a, &goal.number_a, &goal.color_b, &goal.shape_b, &goal.number_b};
    for (uint8_t* field : fields) *field = static_cast<uint8_t>(read_number(r, 0, 255));
    if (goal.kind > number_pair_count && goal.kind != hidden_goal_kind) r->failed = true;
    return goal;
}

bool index_ok(int64_t value, int64_t count) { return value >= -1 && value < count; }

// Everything that names a state, stone, transition or seat must exist in the map the game is on.
bool play_fits_map(const GameSnapshot& p) {
    for (int64_t i = 0; i < p.stones.count; i++) {
        if (p.stones.data[i] < 0 || p.stones.data[i] >= states.count) return false;
    }
    const LastMove& last = p.progress.last_move;
    if (!index_ok(last.stone, p.stones.count) || !index_ok(last.from_state, states.count) ||
        !index_ok(last.transition, transitions.count) || !index_ok(last.written_cell, p.tape.count))
        return false;
    for (int64_t i = 0; i < p.positions.stone_states.count; i++) {
        if (p.positions.stone_states.data[i] < 0 || p.positions.stone_states.data[i] >= states.count) return false;
    }
    return true;
}

}  // namespace

string write_game_record(int64_t viewer, bool with_map) {
    RecordWriter w{TextBuilder{nullptr, 0, 0, FRAME_ARENA, 0}};
    bool whole = viewer == every_seat;
    int64_t seats = seats_in_play();
    put_key(&w, "varnholt game");
    put_number(&w, record_version);
    end_line(&w);
    put_key(&w, "viewer");
    put_number(&w, viewer);
    end_line(&w);
    put_key(&w, "kind");
    put_number(&w, machine_kind);
    end_line(&w);
    bool listed = current_map_list && current_map_index >= 0 && current_map_index < current_map_list->count;
    put_line_text(&w, "path", listed ? current_map_list->data[current_map_index].path : string{});
    put_key(&w, "seats");
    put_number(&w, seats);
    end_line(&w);
    for (int64_t seat = 0; seat < seats; seat++) {
        const Player& player = players.data[seat];
        bool own = whole || seat == viewer;
        put_key(&w, "seat");
        put_number(&w, seat_kind(player));
        put_number(&w, player.difficulty);
        put_number(&w, player.color_index);
        put_goal(&w, player.goal, !own && !game_over());
        end_line(&w);
        put_key(&w, "hand");
        put_cards(&w, player.hand, !own);
        end_line(&w);
    }
    put_key(&w, "stones");
    put_number(&w, stones.count);
    for (int64_t i = 0; i < stones.count; i++) put_number(&w, stones.data[i]);
    end_line(&w);
    put_key(&w, "deck");
    put_cards(&w, deck, !whole);
    end_line(&w);
    put_key(&w, "stack");
    put_cards(&w, stack, false);
    end_line(&w);
    put_key(&w, "tape");
    put_number(&w, tape_head);
    put_cards(&w, tape, false);
    end_line(&w);
    put_key(&w, "turn");
    put_number(&w, current_player);
    put_number(&w, winner);
    // A seat's own record leaves out what only this screen keeps: the panel over the hand and the
    // pauses run here, which would make every frame a new record.
    put_number(&w, whole ? hand_revealed : 0);
    put_number(&w, card_drawn);
    put_bits(&w, whole ? move_delay : 0.0);
    put_bits(&w, whole ? computer_delay : 0.0);
    end_line(&w);
    const TurnProgress& p = turn_progress;
    put_key(&w, "progress");
    int64_t progress[] = {p.last_move.stone,  p.last_move.from_state, p.last_move.transition, p.last_move.seat,
                          p.last_move.written_cell, p.last_move.number, p.game_blocked, p.stuck_seat,
                          p.game_drawn, p.last_mover, p.turns_played, p.idle_turns, p.moved_this_turn,
                          p.deck_card_drawn_this_turn};
    for (int64_t field : progress) put_number(&w, field);
    end_line(&w);
    put_key(&w, "positions");
    put_number(&w, position_history.stones_per_position);
    put_number(&w, position_history.hashes.count);
    for (int64_t i = 0; i < position_history.hashes.count; i++) {
        put_number(&w, static_cast<int64_t>(position_history.hashes.data[i]));
        put_number(&w, position_history.seats.data[i]);
    }
    for (int64_t i = 0; i < position_history.stone_states.count; i++) put_number(&w, position_history.stone_states.data[i]);
    end_line(&w);
    put_key(&w, "evidence");
    put_number(&w, static_cast<int64_t>(goal_evidence.met_on_opening_tape));
    for (uint64_t met : goal_evidence.met_at_turn_end) put_number(&w, static_cast<int64_t>(met));
    end_line(&w);
    if (whole) {
        put_key(&w, "random");
        for (uint64_t word : random_state.s) put_number(&w, static_cast<int64_t>(word));
        end_line(&w);
    }
    if (with_map) {
        string map = write_map();
        put_key(&w, "map");
        put_number(&w, map.length);
        end_line(&w);
        text_put_string(&w.text, map);
    }
    put_key(&w, "end");
    end_line(&w);
    return text_view(&w.text);
}

int64_t game_record_viewer(string text) {
    RecordReader r{TextCursor{text.data, text.length, text.length, 0}, false};
    read_key(&r, "varnholt game");
    read_number(&r, record_version, record_version);
    read_line_end(&r);
    read_key(&r, "viewer");
    int64_t viewer = read_number(&r, every_seat, card_property_count - 1);
    return r.failed ? -2 : viewer;
}

// Every line before the map's starts with another key.
bool game_record_carries_map(string text) {
    for (int64_t at = 0; at < text.length; at = line_end(text.data, text.length, at) + 1) {
        if (text.length - at >= 4 && memcmp(text.data + at, "map ", 4) == 0) return true;
    }
    return false;
}

bool read_game_record(string text) {
    if (text.length > max_game_record_size) {
        print(str("failed to read game: the record is too large\n"));
        return false;
    }
    ArenaMark mark = arena_mark(FRAME_ARENA);
    RecordReader r{TextCursor{text.data, text.length, text.length, 0}, false};
    read_key(&r, "varnholt game");
    read_number(&r, record_version, record_version);
    read_line_end(&r);
    read_key(&r, "viewer");
    int64_t viewer = read_number(&r, every_seat, card_property_count - 1);
    read_line_end(&r);
    read_key(&r, "kind");
    uint8_t kind = static_cast<uint8_t>(read_number(&r, state_machine, turing_machine));
    read_line_end(&r);
    string path = read_line_text(&r, "path");
    read_key(&r, "seats");
    int64_t seats = read_number(&r, 1, card_property_count);
    read_line_end(&r);
    bool whole = viewer == every_seat;
    if (viewer >= seats) r.failed = true;

    GameSnapshot p = new_game_snapshot(FRAME_ARENA);
    for (int64_t seat = 0; seat < seats && !r.failed; seat++) {
        Player player = new_player(seat);
        player.hand = GrowableArray<Card>{nullptr, 0, 0, FRAME_ARENA};
        read_key(&r, "seat");
        int64_t kind_of_seat = read_number(&r, 0, 2);
        player.is_computer = kind_of_seat == 1;
        player.is_remote = kind_of_seat == 2;
        player.difficulty = read_number(&r, 0, 3);
        set_player_color(&player, static_cast<uint8_t>(read_number(&r, 0, card_property_count - 1)));
        player.goal = read_goal(&r);
        read_line_end(&r);
        read_key(&r, "hand");
        read_cards(&r, &player.hand, !whole && seat != viewer);
        read_line_end(&r);
        array_push(&p.players, player);
    }
    p.player_count = seats;
    read_key(&r, "stones");
    int64_t stone_count = read_number(&r, 0, max_stones);
    for (int64_t i = 0; i < stone_count && !r.failed; i++) array_push(&p.stones, static_cast<int16_t>(read_number(&r, 0, max_states - 1)));
    read_line_end(&r);
    read_key(&r, "deck");
    read_cards(&r, &p.deck, !whole);
    read_line_end(&r);
    read_key(&r, "stack");
    read_cards(&r, &p.stack, false);
    read_line_end(&r);
    read_key(&r, "tape");
    p.tape_head = read_number(&r, 0, max_tape_cells);
    read_cards(&r, &p.tape, false);
    if (p.tape.count > max_tape_cells || (p.tape.count > 0 ? p.tape_head >= p.tape.count : p.tape_head != 0)) r.failed = true;
    read_line_end(&r);
    read_key(&r, "turn");
    p.current_player = static_cast<int8_t>(read_number(&r, 0, seats - 1));
    p.winner = static_cast<uint8_t>(read_number(&r, 0, no_winner));
    if (p.winner != no_winner && p.winner >= seats) r.failed = true;
    p.hand_revealed = static_cast<uint8_t>(read_number(&r, 0, 1));
    p.card_drawn = static_cast<uint8_t>(read_number(&r, 0, 1));
    p.move_delay = read_bits(&r);
    p.computer_delay = read_bits(&r);
    read_line_end(&r);
    read_key(&r, "progress");
    TurnProgress& progress = p.progress;
    progress.last_move.stone = static_cast<int16_t>(read_number(&r, -1, max_stones));
    progress.last_move.from_state = static_cast<int16_t>(read_number(&r, -1, max_states));
    progress.last_move.transition = static_cast<int16_t>(read_number(&r, -1, max_transitions));
    progress.last_move.seat = static_cast<uint8_t>(read_number(&r, 0, no_winner));
    progress.last_move.written_cell = read_number(&r, -1, max_tape_cells);
    progress.last_move.number = read_number(&r, 0, INT64_MAX);
    progress.game_blocked = static_cast<uint8_t>(read_number(&r, 0, 1));
    progress.stuck_seat = static_cast<uint8_t>(read_number(&r, 0, no_winner));
    progress.game_drawn = static_cast<uint8_t>(read_number(&r, 0, 1));
    progress.last_mover = static_cast<uint8_t>(read_number(&r, 0, no_winner));
    progress.turns_played = read_number(&r, 0, INT64_MAX);
    progress.idle_turns = read_number(&r, 0, INT64_MAX);
    progress.moved_this_turn = static_cast<uint8_t>(read_number(&r, 0, 1));
    progress.deck_card_drawn_this_turn = static_cast<uint8_t>(read_number(&r, 0, 1));
    read_line_end(&r);
    read_key(&r, "positions");
    p.positions.stones_per_position = read_number(&r, 0, max_stones);
    int64_t position_count = read_number(&r, 0, max_record_positions);
    if (position_count * p.positions.stones_per_position > max_record_positions) r.failed = true;
    for (int64_t i = 0; i < position_count && !r.failed; i++) {
        array_push(&p.positions.hashes, static_cast<uint64_t>(read_number(&r, INT64_MIN, INT64_MAX)));
        array_push(&p.positions.seats, static_cast<int8_t>(read_number(&r, 0, seats - 1)));
    }
    for (int64_t i = 0; i < position_count * p.positions.stones_per_position && !r.failed; i++)
        array_push(&p.positions.stone_states, static_cast<int16_t>(read_number(&r, 0, max_states - 1)));
    read_line_end(&r);
    read_key(&r, "evidence");
    p.evidence.met_on_opening_tape = static_cast<uint64_t>(read_number(&r, INT64_MIN, INT64_MAX));
    for (uint64_t& met : p.evidence.met_at_turn_end) met = static_cast<uint64_t>(read_number(&r, INT64_MIN, INT64_MAX));
    read_line_end(&r);
    p.random = random_state;
    if (whole) {
        read_key(&r, "random");
        for (uint64_t& word : p.random.s) word = static_cast<uint64_t>(read_number(&r, INT64_MIN, INT64_MAX));
        read_line_end(&r);
    }
    string map{};
    bool with_map = !r.failed && matches_at(&r.cursor, str("map "));
    if (with_map) {
        read_key(&r, "map");
        int64_t length = read_number(&r, 0, max_map_file_size);
        read_line_end(&r);
        if (!r.failed && length > r.cursor.size - r.cursor.position) r.failed = true;
        if (!r.failed) {
            map = string{r.cursor.data + r.cursor.position, length};
            r.cursor.position += length;
        }
    }
    read_key(&r, "end");
    read_line_end(&r);
    if (!r.failed && r.cursor.position != r.cursor.size) r.failed = true;
    if (!r.failed && !with_map && kind != machine_kind) r.failed = true;
    if (r.failed) {
        arena_reset_to(mark);
        print(str("failed to read game: the record is damaged\n"));
        return false;
    }

    // The map is read first, as the game's own indices are checked against it; should the play
    // not fit it, the map and game from before come back.
    GameSnapshot before = new_game_snapshot(FRAME_ARENA);
    take_game_snapshot(&before, snapshot_whole);
    uint8_t kind_before = machine_kind;
    if (with_map) {
        machine_kind = kind;
        read_map_text(arena_copy_string(map));
    }
    if (states.count == 0 || !play_fits_map(p)) {
        machine_kind = kind_before;
        restore_game_snapshot(before, snapshot_whole);
        if (with_map && machine_kind == state_machine) compute_nimbers();
        arena_reset_to(mark);
        print(str("failed to read game: the record does not fit its map\n"));
        return false;
    }
    p.source_state = p.target_state = p.selected_transition = -1;
    p.selected_card = -1;
    p.human_count = 0;
    restore_game_snapshot(p, snapshot_play);
    human_count = human_seats();
    GrowableArray<MapListEntry>* list = map_list_of_kind(machine_kind);
    if (list) {
        current_map_list = list;
        for (int64_t i = 0; i < list->count; i++) {
            if (string_equals(list->data[i].path, path)) current_map_index = i;
        }
    }
    arena_reset_to(mark);
    return true;
}
