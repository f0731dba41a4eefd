/* A TCP echo server and its client in one program over the loopback address. The server waits on a
 * selector for its listening socket and its connections; the client sends one message and prints
 * what comes back.
 *
 *   echo [MESSAGE [PORT]]      the server takes the first free port from PORT on (default 40000;
 *                              0 lets the system choose one)
 *
 * Build: cc echo.c $(pkg-config --cflags --libs kestrune_system) -o echo */
#include <kestrune_system.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static string text(const char* characters) {
    string result = {characters, (int64_t)strlen(characters)};
    return result;
}

#define LOOPBACK_FLAGS (NETWORK_TCP | NETWORK_IPV4)
#define PORTS_TO_TRY 200
#define WAIT_MILLISECONDS 5000

/* A listening socket on the first free port from first_port on; its address goes to address. */
static network_socket listen_on_free_port(uint16_t first_port, network_address* address) {
    for (int offset = 0; offset < PORTS_TO_TRY; ++offset) {
        network_socket listener = network_socket_create(LOOPBACK_FLAGS);
        if (network_socket_failed(listener)) return listener;
        *address = network_address_find(text("127.0.0.1"), (uint16_t)(first_port + offset), LOOPBACK_FLAGS);
        if (network_socket_bind(listener, address) && network_tcp_listen(listener)) return listener;
        network_socket_destroy(listener);
    }
    return -1;
}

/* Serves until one message has been echoed: accepts connections and sends back what they send. */
static bool serve_one_echo(network_socket listener) {
    int32_t selector = network_selector_create();
    if (network_selector_failed(selector)) return false;
    network_selector_add(selector, listener);
    bool echoed = false;
    while (!echoed) {
        network_socket ready[8];
        socket_view out = {ready, 8};
        int count = network_selector_wait(selector, WAIT_MILLISECONDS, out);
        if (count <= 0) break; /* time-out or error */
        for (int i = 0; i < count && i < 8; ++i) {
            if (ready[i] == listener) {
                network_socket connection = network_tcp_accept(listener, NULL);
                if (!network_socket_failed(connection)) network_selector_add(selector, connection);
                continue;
            }
            /* One message per connection: send it back, then hang up. */
            char message[256];
            int received = network_tcp_receive(ready[i], sizeof message, message);
            if (received > 0) echoed = network_tcp_send(ready[i], (uint32_t)received, message) == received;
            network_selector_remove(selector, ready[i]);
            network_socket_destroy(ready[i]);
        }
    }
    network_selector_destroy(selector);
    return echoed;
}

int main(int argc, char** argv) {
    const char* message = argc > 1 ? argv[1] : "hello over the loopback";
    uint16_t first_port = (uint16_t)(argc > 2 ? atoi(argv[2]) : 40000);
    size_t length = strlen(message);
    if (length == 0 || length > 255) {
        fprintf(stderr, "the message must have 1 to 255 bytes\n");
        return 2;
    }
    system_init(SYSTEM_TIMER);

    network_address address;
    network_socket listener = listen_on_free_port(first_port, &address);
    if (network_socket_failed(listener)) {
        fprintf(stderr, "no port to listen on\n");
        system_release();
        return 1;
    }
    /* The address actually bound tells the port the system chose for port 0. */
    if (!network_socket_get_address(listener, &address)) {
        fprintf(stderr, "the listener has no address\n");
        network_socket_destroy(listener);
        system_release();
        return 1;
    }
    string ip = network_address_get_ip(&address);
    printf("server listening on %.*s port %u\n", (int)ip.length, ip.data, network_address_get_port(&address));

    /* The connection completes in the listener's backlog, so one thread can play both parts. */
    network_socket client = network_socket_create(LOOPBACK_FLAGS);
    bool sent = network_tcp_connect(client, &address) &&
                network_tcp_send(client, (uint32_t)length, message) == (int)length;
    char reply[256];
    int received = 0;
    if (sent && serve_one_echo(listener)) received = network_tcp_receive(client, sizeof reply, reply);

    int exit_code = 0;
    if (received == (int)length) {
        printf("echoed: %.*s\n", received, reply);
    } else {
        fprintf(stderr, "no echo came back\n");
        exit_code = 1;
    }
    network_tcp_disconnect(client);
    network_socket_destroy(client);
    network_socket_destroy(listener);
    system_release();
    return exit_code;
}
