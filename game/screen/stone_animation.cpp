#include "screen/stone_animation.h"

#include "model/turn_state.h"

#include <cstring>

int16_t moving_stone;
float moving_stone_position[2];
float moving_stone_velocity[2];
uint8_t state_lift[max_states];
int64_t animated_move_number;

void stone_position(int16_t state, float* x, float* y) {
    state_center(state, x, y);
    if (state >= 0 && state < states.count && state < max_states) *y += 8.0f * static_cast<float>(state_lift[state]);
}

void start_stone_animation() {
    if (last_move.number == animated_move_number) return;
    animated_move_number = last_move.number;
    moving_stone = last_move.stone;
    stone_position(last_move.from_state, &moving_stone_position[0], &moving_stone_position[1]);
}

void animate_moving_stone(double frame_seconds) {
    if (moving_stone < 0) return;
    if (moving_stone >= stones.count) {
        moving_stone = -1;
        return;
    }
    float target[2];
    state_center(stones.data[moving_stone], &target[0], &target[1]);
    float dt = static_cast<float>(frame_seconds);
    for (int axis = 0; axis < 2; axis++) {
        float v = moving_stone_velocity[axis];
        moving_stone_velocity[axis] = v + (target[axis] - moving_stone_position[axis]) * 1.5f - v * 24.0f * dt;
        moving_stone_position[axis] += moving_stone_velocity[axis] * dt;
    }
    float speed_squared = moving_stone_velocity[0] * moving_stone_velocity[0] +
                          moving_stone_velocity[1] * moving_stone_velocity[1];
    if (speed_squared < 1) {
        moving_stone_position[0] = target[0];
        moving_stone_position[1] = target[1];
        moving_stone = -1;
    }
}

void reset_stone_animation() {
    moving_stone = -1;
    moving_stone_position[0] = moving_stone_position[1] = 0;
    moving_stone_velocity[0] = moving_stone_velocity[1] = 0;
    memset(state_lift, 0, sizeof state_lift);
    animated_move_number = 0;
}
