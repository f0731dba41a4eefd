// The Host and Join screens and a hosted game's heads-up lines, in one process over loopback.
#include "model/game_data.h"
#include "model/net_client.h"
#include "model/net_host.h"
#include "model/turn_state.h"
#include "screen/network_play.h"
#include "screen/text_entry.h"
#include "shell/application.h"
#include "ui_driver.h"

#include <gtest/gtest.h>

#include <string>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::string text_of(string text) { return std::string(text.data, static_cast<size_t>(text.length)); }

void click_and_show(const std::string& label) {
    ASSERT_TRUE(click_button(label)) << label;
    run_frame();
}

void type_text(const std::string& text) {
    for (char c : text) {
        if (c >= '1' && c <= '9') press_key(static_cast<SDL_Scancode>(SDL_SCANCODE_1 + (c - '1')));
        if (c == '0') press_key(SDL_SCANCODE_0);
        if (c == '.') press_key(SDL_SCANCODE_PERIOD);
        if (c >= 'a' && c <= 'z') press_key(static_cast<SDL_Scancode>(SDL_SCANCODE_A + (c - 'a')));
    }
}

// The field's button opens the dialog; what it held is cleared and the text typed and confirmed.
void type_into_field(const std::string& button, const std::string& text) {
    ASSERT_TRUE(click_button(button)) << button;
    run_frame();
    ASSERT_TRUE(entry_open);
    for (int i = 0; i < 8; i++) press_key(SDL_SCANCODE_BACKSPACE);
    type_text(text);
    press_key(SDL_SCANCODE_RETURN);
    run_frame();
}

// A port of this computer held by a listening socket for the length of a test, so nobody else has it.
struct TakenPort {
    int socket_fd = -1;
    uint16_t port = 0;
    TakenPort() {
        socket_fd = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_ANY);
        bind(socket_fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        listen(socket_fd, 1);
        socklen_t length = sizeof address;
        getsockname(socket_fd, reinterpret_cast<sockaddr*>(&address), &length);
        port = ntohs(address.sin_port);
    }
    ~TakenPort() { close(socket_fd); }
};

class NetworkMenus : public ::testing::Test {
protected:
    void SetUp() override {
        restart_at_main_menu();
        reset_game();
    }
    void TearDown() override {
        if (net_host.active) stop_hosting(str("The test ended"), network_now());
        if (net_client.phase != client_idle && net_client.phase != client_ended) leave_host(&net_client, str("The test ended"), network_now());
    }
    // Two seats on the first state map: a person here and a remote player.
    static void open_host_screen() {
        machine_kind = state_machine;
        run_frame();
        click_and_show("Play Game");
        double cx = window_width / 2.0, cy = window_height / 2.0;
        click_at(cx - 160, cy + 320);
        // A button that changed its label answers from the frame after it is drawn so.
        for (int i = 0; i < 2; i++) {
            click_at(cx - 256, cy + 128);
            run_frame();
        }
        ASSERT_EQ(players.data[1].is_remote, 1);
        click_and_show("OK");
        click_and_show("Play");
        ASSERT_TRUE(host_screen_open);
    }
};

TEST_F(NetworkMenus, TheHostScreenRefusesAPortThatIsNoNumberAndOneTakenAndEscapeGoesBack) {
    ASSERT_NO_FATAL_FAILURE(open_host_screen());
    EXPECT_TRUE(drew_text("Players join at port 4747"));
    ASSERT_TRUE(click_button("4747"));
    run_frame();
    press_key(SDL_SCANCODE_BACKSPACE);
    type_text("99999");
    press_key(SDL_SCANCODE_RETURN);
    run_frame();
    EXPECT_TRUE(entry_open);  // still up, saying why
    EXPECT_TRUE(drew_text("A port is a whole number from 0 to 65535"));
    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(entry_open);
    EXPECT_TRUE(host_screen_open);

    TakenPort taken;
    ASSERT_NO_FATAL_FAILURE(type_into_field("4747", std::to_string(taken.port)));
    click_and_show("Host");
    EXPECT_TRUE(host_screen_open);
    EXPECT_FALSE(net_host.active);
    EXPECT_TRUE(drew_text("The game cannot be hosted:"));
    EXPECT_FALSE(host_failure().length == 0);

    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(map_list_open && !host_screen_open);
}

TEST_F(NetworkMenus, AHostedGameShowsItsPortAndWhomItAwaitsAndEscapeStopsHosting) {
    ASSERT_NO_FATAL_FAILURE(open_host_screen());
    // The arrows keep the hand-over delay within its bounds.
    for (int i = 0; i < 100; i++) click_at(window_width / 2.0 - 160, window_height / 2.0 + 112);
    EXPECT_TRUE(drew_text("10 s"));
    ASSERT_NO_FATAL_FAILURE(type_into_field("4747", "0"));
    click_and_show("Host");
    ASSERT_TRUE(net_host.active) << text_of(host_failure());
    EXPECT_EQ(net_host.hand_over_delay, 10);
    EXPECT_FALSE(host_screen_open || map_list_open);
    run_frame();
    EXPECT_TRUE(drew_text("Hosting on port " + std::to_string(net_host.port)));
    // Red moves at this screen; then the turn is the remote seat's, which nobody plays yet.
    current_player = 1;
    hand_revealed = 0;
    run_frame();
    EXPECT_TRUE(drew_text("Waiting for Blue..."));
    uint16_t port = net_host.port;
    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_FALSE(net_host.active);
    EXPECT_TRUE(player_setup_open);
    // The game was kept with its hosting: "Continue" hosts it again where its players knew it.
    press_key(SDL_SCANCODE_ESCAPE);
    run_frame();
    click_and_show("Continue");
    EXPECT_TRUE(net_host.active) << text_of(host_failure());
    EXPECT_EQ(net_host.port, port);
    EXPECT_FALSE(host_screen_open);
}

TEST_F(NetworkMenus, TheJoinScreenSaysWhyItCannotConnectAndEscapeGoesBack) {
    click_and_show("Join");
    ASSERT_TRUE(join_screen_open);
    EXPECT_FALSE(click_button("Rejoin"));  // only with a token typed
    click_and_show("Join");
    EXPECT_TRUE(drew_text("Type the host's address and port first"));

    uint16_t closed_port = 0;
    {
        TakenPort taken;
        closed_port = taken.port;
    }
    ASSERT_NO_FATAL_FAILURE(type_into_field("Type the address", "127.0.0.1"));
    ASSERT_NO_FATAL_FAILURE(type_into_field("4747", std::to_string(closed_port)));
    click_and_show("Join");
    for (int i = 0; i < 600 && net_client.phase != client_ended; i++) run_frame();
    ASSERT_EQ(net_client.phase, client_ended);
    run_frame();
    EXPECT_TRUE(client_failure(net_client).length > 0);
    EXPECT_TRUE(drew_text(text_of(client_failure(net_client))));
    EXPECT_TRUE(join_screen_open);
    press_key(SDL_SCANCODE_ESCAPE);
    EXPECT_TRUE(main_menu_open && !join_screen_open && !joined_play);
}

}  // namespace
