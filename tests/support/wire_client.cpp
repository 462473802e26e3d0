#include "tests/support/wire_client.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

namespace vinylo::testing {

WireClient::WireClient(uint16_t port) : WireClient(port, Options{}) {}

WireClient::WireClient(uint16_t port, Options options) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    if (options.receiveBufferBytes > 0) {
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &options.receiveBufferBytes,
                     sizeof options.receiveBufferBytes);
    }
    const int on = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return;
    }
    sockaddr_in local{};
    socklen_t length = sizeof local;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&local), &length);
    localPort_ = ntohs(local.sin_port);
    fd_ = fd;
    if (options.read) {
        reader_ = std::thread([this] { ReadLoop(); });
    }
}

WireClient::~WireClient() {
    Close();
}

std::string WireClient::Address() const {
    return "127.0.0.1:" + std::to_string(localPort_);
}

bool WireClient::Send(std::string_view bytes) {
    if (fd_ < 0)
        return false;
    const ssize_t sent = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    return sent == static_cast<ssize_t>(bytes.size());
}

void WireClient::Close() {
    if (fd_ >= 0) {
        ::shutdown(fd_, SHUT_RDWR);
    }
    if (reader_.joinable())
        reader_.join();
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void WireClient::ReadLoop() {
    std::vector<char> buffer(1 << 16);
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
    for (;;) {
        iovec io{buffer.data(), buffer.size()};
        msghdr header{};
        header.msg_iov = &io;
        header.msg_iovlen = 1;
        header.msg_control = control;
        header.msg_controllen = sizeof control;
        const ssize_t got = ::recvmsg(fd_, &header, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            peerClosed_ = true;
            return;
        }
        std::chrono::nanoseconds arrival{0};
        for (cmsghdr* c = CMSG_FIRSTHDR(&header); c != nullptr; c = CMSG_NXTHDR(&header, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
                timespec stamp{};
                std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
                arrival =
                    std::chrono::seconds(stamp.tv_sec) + std::chrono::nanoseconds(stamp.tv_nsec);
            }
        }
        if (arrival.count() == 0) {
            timespec now{};
            ::clock_gettime(CLOCK_REALTIME, &now);
            arrival = std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
        }
        std::lock_guard lock(mutex_);
        blocks_.push_back(Block{std::string(buffer.data(), static_cast<size_t>(got)), arrival});
    }
}

std::vector<WireClient::Block> WireClient::Blocks() const {
    std::lock_guard lock(mutex_);
    return blocks_;
}

size_t WireClient::BlockCount() const {
    std::lock_guard lock(mutex_);
    return blocks_.size();
}

std::vector<std::string> WireClient::BlockTexts() const {
    std::lock_guard lock(mutex_);
    std::vector<std::string> texts;
    for (const Block& block : blocks_)
        texts.push_back(block.bytes);
    return texts;
}

std::string WireClient::Received() const {
    std::lock_guard lock(mutex_);
    std::string all;
    for (const Block& block : blocks_)
        all += block.bytes;
    return all;
}

}  // namespace vinylo::testing
