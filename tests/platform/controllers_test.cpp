#include "kestrune_system.h"
#include "platform_internal.h"
#include "sdl_handles.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* const pad_name = "Kestrune Test Pad";

class Controllers : public ::testing::Test {
protected:
    void SetUp() override {
        static bool started = false;
        if (!started) {
            system_init(SYSTEM_EVENTS | SYSTEM_JOYSTICK | SYSTEM_HAPTIC);
            started = true;
        }
        ASSERT_NE(SDL_WasInit(SDL_INIT_JOYSTICK), 0u);
        input_poll();
    }

    static int attach_pad() {
        SDL_VirtualJoystickDesc description{};
        description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        description.naxes = 2;
        description.nbuttons = 4;
        description.nhats = 1;
        description.name = pad_name;
        return SDL_JoystickAttachVirtualEx(&description);
    }
};

std::string text(string s) { return s.data ? std::string(s.data, static_cast<size_t>(s.length)) : std::string(); }

TEST_F(Controllers, ArrivalIsReportedByThePollWithItsDeviceIndex) {
    int before = controller_num();
    int32_t index = -5;
    EXPECT_FALSE(controller_is_added(&index));
    EXPECT_EQ(index, -5);
    int device = attach_pad();
    ASSERT_GE(device, 0);
    input_poll();
    EXPECT_TRUE(controller_is_added(&index));
    EXPECT_EQ(index, device);
    EXPECT_TRUE(controller_is_added(nullptr));
    EXPECT_EQ(controller_num(), before + 1);
    EXPECT_EQ(text(controller_name_for_index(device)), pad_name);
    input_poll();
    EXPECT_FALSE(controller_is_added(nullptr));
    SDL_JoystickDetachVirtual(device);
}

TEST_F(Controllers, OpenPadReportsItsLayoutAndState) {
    int device = attach_pad();
    ASSERT_GE(device, 0);
    kestrune_controller* pad = controller_open(device);
    ASSERT_NE(pad, nullptr);
    EXPECT_EQ(text(controller_name(pad)), pad_name);
    EXPECT_EQ(controller_num_axes(pad), 2);
    EXPECT_EQ(controller_num_buttons(pad), 4);
    EXPECT_EQ(controller_num_hats(pad), 1);
    EXPECT_EQ(controller_num_balls(pad), 0);
    EXPECT_EQ(controller_is_connected(pad), 1);
    EXPECT_EQ(controller_power(pad), CONTROLLER_POWER_UNKNOWN);

    SDL_JoystickSetVirtualAxis(to_sdl(pad), 1, -12345);
    SDL_JoystickSetVirtualButton(to_sdl(pad), 2, SDL_PRESSED);
    SDL_JoystickSetVirtualHat(to_sdl(pad), 0, SDL_HAT_RIGHTUP);
    input_poll();
    EXPECT_EQ(controller_axis(pad, 1), -12345);
    EXPECT_EQ(controller_axis(pad, 0), 0);
    EXPECT_EQ(controller_button(pad, 2), 1);
    EXPECT_EQ(controller_button(pad, 0), 0);
    EXPECT_EQ(controller_hat(pad, 0), SDL_HAT_RIGHTUP);
    int32_t dx = 3, dy = 4;
    EXPECT_EQ(controller_ball(pad, 0, &dx, &dy), -1);

    // A virtual pad has no force feedback: every haptic call fails without crashing.
    EXPECT_EQ(controller_is_haptic(pad), 0);
    kestrune_haptic* haptic = haptic_open_controller(pad);
    EXPECT_EQ(haptic, nullptr);
    EXPECT_LT(haptic_has_rumble(haptic), 1);
    EXPECT_FALSE(haptic_init_rumble(haptic));
    EXPECT_LT(haptic_play_rumble(haptic, 0.5f, 100), 0);
    EXPECT_LT(haptic_stop_rumble(haptic), 0);
    haptic_close(haptic);
    EXPECT_EQ(input_mouse_is_haptic(), 0);

    controller_close(pad);
    SDL_JoystickDetachVirtual(device);
}

TEST_F(Controllers, RemovalReportsTheOpenHandleOrNull) {
    int device = attach_pad();
    ASSERT_GE(device, 0);
    kestrune_controller* pad = controller_open(device);
    input_poll();
    kestrune_controller* removed = nullptr;
    EXPECT_FALSE(controller_is_removed(&removed));
    SDL_JoystickDetachVirtual(device);
    input_poll();
    EXPECT_TRUE(controller_is_removed(&removed));
    EXPECT_EQ(removed, pad);
    EXPECT_EQ(controller_is_connected(pad), 0);
    controller_close(pad);

    device = attach_pad();
    input_poll();
    removed = pad;
    SDL_JoystickDetachVirtual(device);
    input_poll();
    EXPECT_TRUE(controller_is_removed(&removed));
    EXPECT_EQ(removed, nullptr);
}

// SDL drops a pending arrival when its device goes away first, so the two events are posted directly.
TEST_F(Controllers, ArrivalAndRemovalInOnePollSetBothFlags) {
    SDL_Event added{};
    added.type = SDL_JOYDEVICEADDED;
    added.jdevice.which = 3;
    ASSERT_EQ(SDL_PushEvent(&added), 1);
    SDL_Event removed{};
    removed.type = SDL_JOYDEVICEREMOVED;
    removed.jdevice.which = 987654;
    ASSERT_EQ(SDL_PushEvent(&removed), 1);
    input_poll();
    int32_t index = -1;
    EXPECT_TRUE(controller_is_added(&index));
    EXPECT_EQ(index, 3);
    kestrune_controller* handle = reinterpret_cast<kestrune_controller*>(&index);
    EXPECT_TRUE(controller_is_removed(&handle));
    EXPECT_EQ(handle, nullptr);
}

TEST_F(Controllers, UnknownDeviceHasNoName) {
    string name = controller_name_for_index(controller_num() + 10);
    EXPECT_EQ(name.length, 0);
    EXPECT_EQ(controller_open(controller_num() + 10), nullptr);
}

TEST(ControllerPower, SdlLevelsShiftUpAndUnknownIsZero) {
    EXPECT_EQ(controller_power_code(SDL_JOYSTICK_POWER_UNKNOWN), CONTROLLER_POWER_UNKNOWN);
    EXPECT_EQ(controller_power_code(SDL_JOYSTICK_POWER_EMPTY), CONTROLLER_POWER_EMPTY);
    EXPECT_EQ(controller_power_code(SDL_JOYSTICK_POWER_LOW), CONTROLLER_POWER_LOW);
    EXPECT_EQ(controller_power_code(SDL_JOYSTICK_POWER_MEDIUM), CONTROLLER_POWER_MEDIUM);
    EXPECT_EQ(controller_power_code(SDL_JOYSTICK_POWER_FULL), CONTROLLER_POWER_FULL);
    EXPECT_EQ(controller_power_code(SDL_JOYSTICK_POWER_WIRED), CONTROLLER_POWER_WIRED);
    EXPECT_EQ(controller_power_code(SDL_JOYSTICK_POWER_MAX), CONTROLLER_POWER_MAX);
    EXPECT_EQ(controller_power_code(17), CONTROLLER_POWER_UNKNOWN);
}

}  // namespace
