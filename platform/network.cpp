// BSD sockets with name resolution, and selectors: library-kept socket sets waited on for readability.
#include "platform_internal.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
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

// A zeroed record (a failed network_address_find) names no family; the system would take it for
// the wildcard address and a random port.
static bool refuse_address(const network_address* address) {
    if (address && (family_of(address) == AF_INET || family_of(address) == AF_INET6)) return false;
    set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the address is null or empty (did network_address_find fail?)");
    return true;
}

// The result of a socket call that returns 0 on success, with the error recorded otherwise.
static bool socket_call_done(int result, const char* what) {
    if (result == 0) return true;
    set_error_from_errno(what);
    return false;
}

// A byte count or socket from a call that returns -1 on failure, with the error recorded.
template <typename Count>
static Count counted(Count result, const char* what) {
    if (result < 0) set_error_from_errno(what);
    return result;
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
    int failure = getaddrinfo(node, service, &hints, &found);
    if (failure != 0) {
        set_error(SYSTEM_ERROR_NOT_FOUND, "cannot find the address of \"%s\": %s", node ? node : "",
                  gai_strerror(failure));
        return result;
    }
    if (found && found->ai_addrlen <= sizeof result.bytes) memcpy(result.bytes, found->ai_addr, found->ai_addrlen);
    freeaddrinfo(found);
    return result;
}

string network_address_get_ip(const network_address* address) {
    if (refuse_address(address)) return string{nullptr, 0};
    char* text = static_cast<char*>(dynamic_allocate(ip_text_capacity));
    int family = family_of(address);
    const uint8_t* field = nullptr;
    if (family == AF_INET) field = address->bytes + offsetof(sockaddr_in, sin_addr);
    if (family == AF_INET6) field = address->bytes + offsetof(sockaddr_in6, sin6_addr);
    if (!field || !inet_ntop(family, field, text, ip_text_capacity)) return string{text, 0};
    return string{text, static_cast<int64_t>(strlen(text))};
}

uint16_t network_address_get_port(const network_address* address) {
    if (!address) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the address is null");
        return 0;
    }
    return static_cast<uint16_t>(address->bytes[2] << 8 | address->bytes[3]);
}

// Where an address goes in the list of local ones: what another computer can reach first, loopback last.
enum local_address_rank {
    rank_ipv4,
    rank_ipv6,
    rank_ipv6_link_local,
    rank_loopback_ipv4,
    rank_loopback_ipv6,
    rank_count
};

static int local_rank(const ifaddrs* entry) {
    bool loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
    if (entry->ifa_addr->sa_family == AF_INET) {
        const sockaddr_in* v4 = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        loopback = loopback || (ntohl(v4->sin_addr.s_addr) >> 24) == 127;
        return loopback ? rank_loopback_ipv4 : rank_ipv4;
    }
    const sockaddr_in6* v6 = reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr);
    if (loopback || IN6_IS_ADDR_LOOPBACK(&v6->sin6_addr)) return rank_loopback_ipv6;
    return IN6_IS_ADDR_LINKLOCAL(&v6->sin6_addr) ? rank_ipv6_link_local : rank_ipv6;
}

// The interface's address as a record with no port, so that equal addresses compare equal byte for byte.
static network_address local_record(const ifaddrs* entry) {
    network_address record{};
    if (entry->ifa_addr->sa_family == AF_INET) {
        memcpy(record.bytes, entry->ifa_addr, sizeof(sockaddr_in));
        reinterpret_cast<sockaddr_in*>(record.bytes)->sin_port = 0;
    } else {
        sockaddr_in6 v6;
        memcpy(&v6, entry->ifa_addr, sizeof v6);
        v6.sin6_port = 0;
        v6.sin6_flowinfo = 0;
        memcpy(record.bytes, &v6, sizeof v6);
    }
    return record;
}

static bool is_local_address(const ifaddrs* entry) {
    return entry->ifa_addr && (entry->ifa_addr->sa_family == AF_INET || entry->ifa_addr->sa_family == AF_INET6);
}

// Whether an earlier entry of the list gave the same address.
static bool seen_before(const ifaddrs* list, const ifaddrs* entry, const network_address& record) {
    for (const ifaddrs* earlier = list; earlier != entry; earlier = earlier->ifa_next) {
        if (!is_local_address(earlier) || earlier->ifa_addr->sa_family != entry->ifa_addr->sa_family) continue;
        network_address other = local_record(earlier);
        if (memcmp(other.bytes, record.bytes, sizeof record.bytes) == 0) return true;
    }
    return false;
}

int32_t network_local_addresses(network_address* addresses, int32_t capacity) {
    if (capacity < 0 || (capacity > 0 && !addresses)) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "no room for %d local addresses", capacity);
        return -1;
    }
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return counted(-1, "cannot list this computer's addresses");
    int32_t count = 0;
    for (int rank = 0; rank < rank_count; rank++) {
        for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
            if (!is_local_address(entry) || local_rank(entry) != rank) continue;
            network_address record = local_record(entry);
            if (seen_before(list, entry, record)) continue;
            if (count < capacity) addresses[count] = record;
            count++;
        }
    }
    freeifaddrs(list);
    return count;
}

network_socket network_socket_create(uint32_t flags) {
    int handle = socket(address_family(flags), socket_type(flags), 0);
    if (handle == -1) return counted(-1, "cannot create the socket");
    int on = 1;
    setsockopt(handle, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    return handle;
}

int network_socket_destroy(network_socket handle) { return counted(close(static_cast<int>(handle)), "closing the socket"); }

bool network_socket_failed(network_socket handle) { return handle == -1; }

bool network_socket_bind(network_socket handle, const network_address* address) {
    if (refuse_address(address)) return false;
    return socket_call_done(bind(static_cast<int>(handle), as_sockaddr(address), address_length(address)),
                            "cannot bind the socket");
}

bool network_socket_get_address(network_socket handle, network_address* address) {
    if (!address) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the address is null");
        return false;
    }
    *address = network_address{};
    socklen_t length = sizeof address->bytes;
    if (getsockname(static_cast<int>(handle), reinterpret_cast<sockaddr*>(address->bytes), &length) == 0) return true;
    set_error_from_errno("cannot read the socket's address");
    return false;
}

bool network_socket_set_blocking(network_socket handle, bool blocking) {
    int non_blocking = blocking ? 0 : 1;
    return socket_call_done(ioctl(static_cast<int>(handle), FIONBIO, &non_blocking), "cannot set the blocking mode");
}

bool network_tcp_connect(network_socket handle, const network_address* address) {
    if (refuse_address(address)) return false;
    return socket_call_done(connect(static_cast<int>(handle), as_sockaddr(address), address_length(address)),
                            "cannot connect");
}

int network_tcp_disconnect(network_socket handle) {
    return counted(shutdown(static_cast<int>(handle), SHUT_RDWR), "cannot shut the connection down");
}

bool network_tcp_listen(network_socket handle) {
    return socket_call_done(listen(static_cast<int>(handle), 2147483647), "cannot listen");
}

network_socket network_tcp_accept(network_socket handle, network_address* address) {
    if (!address) return counted(accept(static_cast<int>(handle), nullptr, nullptr), "cannot accept");
    *address = network_address{};
    socklen_t length = sizeof address->bytes;
    return counted(accept(static_cast<int>(handle), reinterpret_cast<sockaddr*>(address->bytes), &length),
                   "cannot accept");
}

// MSG_NOSIGNAL: a closed peer is an error result, as on Windows, not a SIGPIPE that ends the process.
int network_tcp_send(network_socket handle, uint32_t size, const void* data) {
    return static_cast<int>(counted(send(static_cast<int>(handle), data, size, MSG_NOSIGNAL), "cannot send"));
}

int network_tcp_receive(network_socket handle, uint32_t size, void* buffer) {
    return static_cast<int>(counted(recv(static_cast<int>(handle), buffer, size, 0), "cannot receive"));
}

int network_udp_send(network_socket handle, uint32_t size, const void* data, const network_address* address) {
    if (refuse_address(address)) return -1;
    return static_cast<int>(counted(
        sendto(static_cast<int>(handle), data, size, MSG_NOSIGNAL, as_sockaddr(address), address_length(address)),
        "cannot send"));
}

int network_udp_receive(network_socket handle, uint32_t size, void* buffer, network_address* address) {
    if (!address) {
        return static_cast<int>(
            counted(recvfrom(static_cast<int>(handle), buffer, size, 0, nullptr, nullptr), "cannot receive"));
    }
    *address = network_address{};
    socklen_t length = sizeof address->bytes;
    return static_cast<int>(counted(
        recvfrom(static_cast<int>(handle), buffer, size, 0, reinterpret_cast<sockaddr*>(address->bytes), &length),
        "cannot receive"));
}

static bool selector_is_live(int32_t selector) {
    return selector >= 0 && selector < NETWORK_SELECTOR_CAPACITY && selectors[selector].in_use;
}

static bool refuse_dead_selector(int32_t selector) {
    if (selector_is_live(selector)) return false;
    set_error(SYSTEM_ERROR_INVALID_HANDLE, "selector %d is not open", selector);
    return true;
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
        if (num_selectors >= NETWORK_SELECTOR_CAPACITY) {
            set_error(SYSTEM_ERROR_OUT_OF_MEMORY, "all %d selectors are open", NETWORK_SELECTOR_CAPACITY);
            return -1;
        }
        chosen = num_selectors++;
    }
    selectors[chosen] = network_selector_entry{true, nullptr, 0, 0};
    return chosen;
}

void network_selector_destroy(int32_t selector) {
    if (refuse_dead_selector(selector)) return;
    free(selectors[selector].sockets);
    selectors[selector] = network_selector_entry{false, nullptr, 0, 0};
}

bool network_selector_failed(int32_t selector) { return !selector_is_live(selector); }

// Each selector owns its socket array, so no other call's results can overwrite it.
void network_selector_add(int32_t selector, network_socket handle) {
    if (refuse_dead_selector(selector)) return;
    network_selector_entry& entry = selectors[selector];
    if (entry.count >= entry.capacity) {
        int32_t capacity = entry.capacity == 0 ? 8 : entry.capacity * 2;
        void* grown = realloc(entry.sockets, static_cast<size_t>(capacity) * sizeof(network_socket));
        if (!grown) {
            set_error(SYSTEM_ERROR_OUT_OF_MEMORY, "no memory for a selector of %d sockets", capacity);
            return;
        }
        entry.sockets = static_cast<network_socket*>(grown);
        entry.capacity = capacity;
    }
    entry.sockets[entry.count++] = handle;
}

void network_selector_remove(int32_t selector, network_socket handle) {
    if (refuse_dead_selector(selector)) return;
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
    if (refuse_dead_selector(selector)) return -1;
    if (out.count > 0 && !out.data) {
        set_error(SYSTEM_ERROR_INVALID_ARGUMENT, "the selector's output view is null");
        return -1;
    }
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
    int result = counted(select(distinct > 0 ? largest + 1 : 1, &readable, nullptr, nullptr, &timeout),
                         "cannot wait on the selector");
    if (result <= 0) return result;
    int64_t copied = 0;
    for (int32_t i = 0; i < entry.count && copied < out.count; i++) {
        network_socket handle = entry.sockets[i];
        if (handle >= 0 && handle < FD_SETSIZE && FD_ISSET(handle, &readable)) out.data[copied++] = handle;
    }
    return result;
}
