// BSD sockets with name resolution, and selectors: library-kept socket sets waited on for readability.
#include "platform_internal.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstring>

static_assert(sizeof(network_address) >= sizeof(sockaddr_in6), "the address record holds an IPv6 address");

network_selector_entry selectors[NETWORK_SELECTOR_CAPACITY];
int32_t num_selectors;

// At most this many distinct sockets take part in one wait, as with the Windows socket layer.
static const int selector_wait_limit = 64;
static const int ip_text_capacity = 64;

static int address_family(uint32_t flags) {
    if (flags & NETWORK_IPV6) return AF_INET6;
    if (flags & NETWORK_IPV4) return AF_INET;
    return AF_UNSPEC;
}

static int socket_type(uint32_t flags) {
    if (flags & NETWORK_UDP) return SOCK_DGRAM;
    if (flags & NETWORK_TCP) return SOCK_STREAM;
    return SOCK_DGRAM;
}

static uint16_t family_of(const network_address* address) {
    uint16_t family;
    memcpy(&family, address->bytes, sizeof family);
    return family;
}

static socklen_t address_length(const network_address* address) {
    return family_of(address) == AF_INET ? sizeof(sockaddr_in) : sizeof(sockaddr_in6);
}

static const sockaddr* as_sockaddr(const network_address* address) {
    return reinterpret_cast<const sockaddr*>(address->bytes);
}

network_address network_address_find(string host, uint16_t port, uint32_t flags) {
    addrinfo hints{};
    hints.ai_family = address_family(flags);
    hints.ai_socktype = socket_type(flags);
    const char* node = nullptr;
    if (host.length > 0) {
        node = append_character(host).data;
    } else {
        hints.ai_flags = AI_PASSIVE;
    }
    char service[8];
    snprintf(service, sizeof service, "%d", port);

    network_address result{};
    addrinfo* found = nullptr;
    if (getaddrinfo(node, service, &hints, &found) != 0) return result;
    if (found && found->ai_addrlen <= sizeof result.bytes) memcpy(result.bytes, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    return result;
}

string network_address_get_ip(const network_address* address) {
    char* text = static_cast<char*>(dynamic_allocate(ip_text_capacity));
    int family = family_of(address);
    const uint8_t* field = nullptr;
    if (family == AF_INET) field = address->bytes + offsetof(sockaddr_in, sin_addr);
    if (family == AF_INET6) field = address->bytes + offsetof(sockaddr_in6, sin6_addr);
    if (!field || !inet_ntop(family, field, text, ip_text_capacity)) return string{text, 0};
    return string{text, static_cast<int64_t>(strlen(text))};
}

uint16_t network_address_get_port(const network_address* address) {
    return static_cast<uint16_t>(address->bytes[2] << 8 | address->bytes[3]);
}

network_socket network_socket_create(uint32_t flags) {
    int handle = socket(address_family(flags), socket_type(flags), 0);
    if (handle == -1) return -1;
    int on = 1;
    setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    return handle;
}

int network_socket_destroy(network_socket handle) { return close(static_cast<int>(handle)); }

bool network_socket_failed(network_socket handle) { return handle == -1; }

bool network_socket_bind(network_socket handle, const network_address* address) {
    return bind(static_cast<int>(handle), as_sockaddr(address), address_length(address)) == 0;
}

bool network_socket_set_blocking(network_socket handle, bool blocking) {
    int non_blocking = blocking ? 0 : 1;
    return ioctl(static_cast<int>(handle), FIONBIO, &non_blocking) == 0;
}

bool network_tcp_connect(network_socket handle, const network_address* address) {
    return connect(static_cast<int>(handle), as_sockaddr(address), address_length(address)) == 0;
}

int network_tcp_disconnect(network_socket handle) { return shutdown(static_cast<int>(handle), SHUT_RDWR); }

bool network_tcp_listen(network_socket handle) { return listen(static_cast<int>(handle), 2147483647) == 0; }

network_socket network_tcp_accept(network_socket handle, network_address* address) {
    if (!address) return accept(static_cast<int>(handle), nullptr, nullptr);
    *address = network_address{};
    socklen_t length = sizeof address->bytes;
    return accept(static_cast<int>(handle), reinterpret_cast<sockaddr*>(address->bytes), &length);
}

// MSG_NOSIGNAL: a closed peer is an error result, as on Windows, not a SIGPIPE that ends the process.
int network_tcp_send(network_socket handle, uint32_t size, const void* data) {
    return static_cast<int>(send(static_cast<int>(handle), data, size, MSG_NOSIGNAL));
}

int network_tcp_receive(network_socket handle, uint32_t size, void* buffer) {
    return static_cast<int>(recv(static_cast<int>(handle), buffer, size, 0));
}

int network_udp_send(network_socket handle, uint32_t size, const void* data, const network_address* address) {
    return static_cast<int>(
        sendto(static_cast<int>(handle), data, size, MSG_NOSIGNAL, as_sockaddr(address), address_length(address)));
}

int network_udp_receive(network_socket handle, uint32_t size, void* buffer, network_address* address) {
    if (!address) return static_cast<int>(recvfrom(static_cast<int>(handle), buffer, size, 0, nullptr, nullptr));
    *address = network_address{};
    socklen_t length = sizeof address->bytes;
    return static_cast<int>(
        recvfrom(static_cast<int>(handle), buffer, size, 0, reinterpret_cast<sockaddr*>(address->bytes), &length));
}

static bool selector_is_live(int32_t selector) {
    return selector >= 0 && selector < NETWORK_SELECTOR_CAPACITY && selectors[selector].in_use;
}

int32_t network_selector_create() {
    int32_t chosen = -1;
    for (int32_t i = 0; i < num_selectors; i++) {
        if (!selectors[i].in_use) {
            chosen = i;
            break;
        }
    }
    if (chosen == -1) {
        if (num_selectors >= NETWORK_SELECTOR_CAPACITY) return -1;
        chosen = num_selectors++;
    }
    selectors[chosen] = network_selector_entry{true, nullptr, 0, 0};
    return chosen;
}

void network_selector_destroy(int32_t selector) {
    if (selector_is_live(selector)) selectors[selector].in_use = false;
}

bool network_selector_failed(int32_t selector) { return selector == -1; }

void network_selector_add(int32_t selector, network_socket handle) {
    if (!selector_is_live(selector)) return;
    network_selector_entry& entry = selectors[selector];
    const int64_t handle_size = sizeof(network_socket);
    if (entry.capacity == 0) {
        entry.capacity = 8;
        entry.sockets = static_cast<network_socket*>(dynamic_allocate(entry.capacity * handle_size));
    }
    if (entry.count >= entry.capacity) {
        int32_t old_capacity = entry.capacity;
        entry.capacity = old_capacity * 2;
        entry.sockets = static_cast<network_socket*>(
            system_reallocate(entry.sockets, entry.capacity * handle_size, old_capacity * handle_size));
    }
    entry.sockets[entry.count++] = handle;
}

void network_selector_remove(int32_t selector, network_socket handle) {
    if (!selector_is_live(selector)) return;
    network_selector_entry& entry = selectors[selector];
    for (int32_t i = 0; i < entry.count; i++) {
        if (entry.sockets[i] == handle) {
            entry.sockets[i] = entry.sockets[entry.count - 1];
            entry.count--;
            return;
        }
    }
}

int network_selector_wait(int32_t selector, int64_t timeout_milliseconds, socket_view out) {
    if (!selector_is_live(selector)) return 0;
    const network_selector_entry& entry = selectors[selector];
    fd_set readable;
    FD_ZERO(&readable);
    int distinct = 0;
    int largest = 0;
    for (int32_t i = 0; i < entry.count && distinct < selector_wait_limit; i++) {
        network_socket handle = entry.sockets[i];
        // Descriptors outside the set's range cannot be waited on with select.
        if (handle < 0 || handle >= FD_SETSIZE || FD_ISSET(handle, &readable)) continue;
        FD_SET(handle, &readable);
        distinct++;
        if (handle > largest) largest = static_cast<int>(handle);
    }
    timeval timeout{};
    timeout.tv_sec = static_cast<time_t>(timeout_milliseconds / 1000);
    timeout.tv_usec = static_cast<suseconds_t>(timeout_milliseconds % 1000 * 1000);
    int result = select(distinct > 0 ? largest + 1 : 1, &readable, nullptr, nullptr, &timeout);
    if (result <= 0) return result;
    int64_t copied = 0;
    for (int32_t i = 0; i < entry.count && copied < out.count; i++) {
        network_socket handle = entry.sockets[i];
        if (handle >= 0 && handle < FD_SETSIZE && FD_ISSET(handle, &readable)) out.data[copied++] = handle;
    }
    return result;
}
