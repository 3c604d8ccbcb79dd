#include "platform/system_host_prober.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

namespace sonarchive::platform {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::array<std::uint16_t, 4> kServicePorts = {445, 139, 2049, 22};
constexpr std::size_t kEchoHeaderSize = 8;
constexpr std::size_t kEchoDataSize = 56;
constexpr int kTimeToLive = 64;
constexpr unsigned char kEchoRequestV4 = 8;
constexpr unsigned char kEchoReplyV4 = 0;
constexpr unsigned char kEchoRequestV6 = 128;
constexpr unsigned char kEchoReplyV6 = 129;

class Socket {
public:
    explicit Socket(int fd) : fd_(fd) {}
    ~Socket() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Socket(Socket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    Socket& operator=(Socket&& other) noexcept {
        std::swap(fd_, other.fd_);
        return *this;
    }
    int Fd() const { return fd_; }

private:
    int fd_;
};

struct Target {
    sockaddr_storage address{};
    socklen_t length = 0;
    int family = AF_UNSPEC;
};

std::optional<Target> ParseNumeric(const std::string& text) {
    addrinfo hints{};
    hints.ai_flags = AI_NUMERICHOST;
    addrinfo* found = nullptr;
    if (::getaddrinfo(text.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    Target target;
    target.family = found->ai_family;
    target.length = std::min<socklen_t>(found->ai_addrlen, sizeof target.address);
    std::memcpy(&target.address, found->ai_addr, target.length);
    ::freeaddrinfo(found);
    return target;
}

const sockaddr* AddressOf(const Target& target) {
    return reinterpret_cast<const sockaddr*>(&target.address);
}

Target WithPort(Target target, std::uint16_t port) {
    if (target.family == AF_INET) {
        reinterpret_cast<sockaddr_in*>(&target.address)->sin_port = htons(port);
    } else {
        reinterpret_cast<sockaddr_in6*>(&target.address)->sin6_port = htons(port);
    }
    return target;
}

// One probe in flight: an echo request waiting for its reply, or a connect waiting to end.
struct Attempt {
    Socket socket;
    bool echo = false;
};

// Sends an echo request. Nothing when the system refuses ICMP datagram sockets; a closed socket
// when the request could not be sent.
std::optional<Socket> SendEcho(const Target& target) {
    const bool v4 = target.family == AF_INET;
    const int protocol = v4 ? static_cast<int>(IPPROTO_ICMP) : static_cast<int>(IPPROTO_ICMPV6);
    Socket socket(::socket(target.family, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, protocol));
    if (socket.Fd() < 0) {
        return std::nullopt;
    }
    const int level = v4 ? IPPROTO_IP : IPPROTO_IPV6;
    const int option = v4 ? static_cast<int>(IP_TTL) : static_cast<int>(IPV6_UNICAST_HOPS);
    ::setsockopt(socket.Fd(), level, option, &kTimeToLive, sizeof kTimeToLive);
    // The kernel fills in the identifier and the checksum of datagram echo requests.
    std::array<unsigned char, kEchoHeaderSize + kEchoDataSize> packet{};
    packet[0] = v4 ? kEchoRequestV4 : kEchoRequestV6;
    packet[7] = 1;  // sequence number
    for (std::size_t i = 0; i < kEchoDataSize; ++i) {
        packet[kEchoHeaderSize + i] = static_cast<unsigned char>(i);
    }
    if (::sendto(socket.Fd(), packet.data(), packet.size(), 0, AddressOf(target), target.length) <
        0) {
        return Socket(-1);
    }
    return socket;
}

// Starts a connect to one service port; `answered` is set when it ended at once with an
// answer of the host (accepted or refused).
std::optional<Attempt> StartConnect(const Target& target, std::uint16_t port, bool& answered) {
    Socket socket(::socket(target.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (socket.Fd() < 0) {
        return std::nullopt;
    }
    const Target withPort = WithPort(target, port);
    if (::connect(socket.Fd(), AddressOf(withPort), withPort.length) == 0 ||
        errno == ECONNREFUSED) {
        answered = true;
        return std::nullopt;
    }
    if (errno != EINPROGRESS) {
        return std::nullopt;
    }
    return Attempt{std::move(socket), false};
}

// Starts the probes of one address, the echo and the connects together: a host whose firewall
// drops echo requests (as Windows does by default) still answers at its file-sharing ports.
// True when one of them was answered at once.
bool StartProbes(const Target& target, std::vector<Attempt>& attempts) {
    if (auto echo = SendEcho(target); echo && echo->Fd() >= 0) {
        attempts.push_back({std::move(*echo), true});
    }
    bool answered = false;
    for (const std::uint16_t port : kServicePorts) {
        if (auto connect = StartConnect(target, port, answered)) {
            attempts.push_back(std::move(*connect));
        }
        if (answered) {
            return true;
        }
    }
    return false;
}

// Reads what became ready on an attempt: true when it is the host's answer. `finished` is set
// when the attempt can give no answer any more.
bool Answered(const Attempt& attempt, bool& finished) {
    if (attempt.echo) {
        std::array<unsigned char, 1500> reply{};
        const ssize_t n = ::recv(attempt.socket.Fd(), reply.data(), reply.size(), 0);
        if (n < 0) {
            finished = errno != EAGAIN && errno != EINTR;
            return false;
        }
        return n >= 1 && (reply[0] == kEchoReplyV4 || reply[0] == kEchoReplyV6);
    }
    int error = 0;
    socklen_t length = sizeof error;
    ::getsockopt(attempt.socket.Fd(), SOL_SOCKET, SO_ERROR, &error, &length);
    finished = true;
    return error == 0 || error == ECONNREFUSED;
}

}  // namespace

std::vector<std::string> SystemHostProber::Resolve(const std::string& host) {
    addrinfo hints{};
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    std::vector<std::string> addresses;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) {
        return addresses;
    }
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        char text[NI_MAXHOST];
        if (::getnameinfo(entry->ai_addr, entry->ai_addrlen, text, sizeof text, nullptr, 0,
                          NI_NUMERICHOST) == 0 &&
            std::find(addresses.begin(), addresses.end(), text) == addresses.end()) {
            addresses.emplace_back(text);
        }
    }
    ::freeaddrinfo(found);
    return addresses;
}

bool SystemHostProber::Probe(const std::vector<std::string>& addresses,
                             std::chrono::milliseconds timeout) {
    const auto deadline = Clock::now() + timeout;
    std::vector<Attempt> attempts;
    for (const auto& address : addresses) {
        const auto target = ParseNumeric(address);
        if (target && StartProbes(*target, attempts)) {
            return true;
        }
    }
    while (!attempts.empty()) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) {
            return false;
        }
        std::vector<pollfd> watches;
        for (const auto& attempt : attempts) {
            const short events = attempt.echo ? POLLIN : POLLOUT;
            watches.push_back({attempt.socket.Fd(), events, 0});
        }
        if (::poll(watches.data(), watches.size(), static_cast<int>(left.count())) < 0 &&
            errno != EINTR) {
            return false;
        }
        std::vector<Attempt> pending;
        for (std::size_t i = 0; i < attempts.size(); ++i) {
            bool finished = false;
            if (watches[i].revents != 0 && Answered(attempts[i], finished)) {
                return true;
            }
            if (!finished) {
                pending.push_back(std::move(attempts[i]));
            }
        }
        attempts = std::move(pending);
    }
    return false;
}

}  // namespace sonarchive::platform
