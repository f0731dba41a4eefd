/* Compiled as C: the public header must be usable from a C program. */
#include "kestrune_system.h"

int c_program_sees_the_interface(void) {
    string title = {"from C", 6};
    display_info info = {0, 0, 0};
    byte_view keys = input_key_held_state();
    (void)title;
    display_get_info(&info);
    network_address unbound = {{0}};
    bool no_socket_address = !network_socket_get_address(-1, &unbound);
    return keys.count == KEY_CODE_COUNT && info.width == 0 && math_sqrt(16.0) == 4.0 && no_socket_address &&
           network_local_addresses(0, 0) > 0;
}
