#include "tests/support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <stdexcept>

namespace vinylo::testing {
namespace {

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

std::string Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return std::string(s);
}

void WriteAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::send(fd, data.data(), data.size(), MSG_NOSIGNAL);
        if (n <= 0) return;
        data.remove_prefix(static_cast<size_t>(n));
    }
}

}  // namespace

std::string HttpRequest::Header(std::string_view name) const {
    for (const auto& line : headerLines) {
        const auto colon = line.find(':');
        if (colon != std::string::npos && EqualsIgnoringCase(Trim(line.substr(0, colon)), name)) {
            return Trim(std::string_view(line).substr(colon + 1));
        }
    }
    return {};
}

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : handler_(std::move(handler)) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listenFd_ < 0) throw std::runtime_error("socket");
    const int yes = 1;
    ::setsockopt(listenFd_, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 64) != 0) {
        ::close(listenFd_);
        throw std::runtime_error("bind/listen on 127.0.0.1");
    }
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    stopping_ = true;
    ::shutdown(listenFd_, SHUT_RDWR);
    {
        std::lock_guard lock(mutex_);
        for (int fd : openFds_) ::shutdown(fd, SHUT_RDWR);
    }
    stopped_.notify_all();
    acceptor_.join();
    for (auto& worker : workers_) worker.join();
    ::close(listenFd_);
}

std::string LoopbackHttpServer::Url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<HttpRequest> LoopbackHttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

size_t LoopbackHttpServer::RequestCount() const {
    std::lock_guard lock(mutex_);
    return requests_.size();
}

void LoopbackHttpServer::AcceptLoop() {
    while (!stopping_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        std::lock_guard lock(mutex_);
        if (stopping_) {
            ::close(fd);
            break;
        }
        openFds_.push_back(fd);
        workers_.emplace_back([this, fd] { Serve(fd); });
    }
}

void LoopbackHttpServer::Serve(int fd) {
    std::string data;
    char buffer[8192];
    size_t headEnd = std::string::npos;
    size_t contentLength = 0;
    bool complete = false;
    while (!complete) {
        const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
        if (n <= 0) break;
        data.append(buffer, static_cast<size_t>(n));
        if (headEnd == std::string::npos) {
            headEnd = data.find("\r\n\r\n");
            if (headEnd == std::string::npos) continue;
            HttpRequest probe;
            size_t start = data.find("\r\n") + 2;
            while (start < headEnd) {
                const size_t end = data.find("\r\n", start);
                probe.headerLines.push_back(data.substr(start, end - start));
                start = end + 2;
            }
            const auto length = probe.Header("Content-Length");
            contentLength = length.empty() ? 0 : std::stoul(length);
        }
        complete = data.size() >= headEnd + 4 + contentLength;
    }

    HttpResponse response;
    if (complete) {
        HttpRequest request;
        request.raw = data;
        const size_t lineEnd = data.find("\r\n");
        const std::string requestLine = data.substr(0, lineEnd);
        const size_t sp1 = requestLine.find(' ');
        const size_t sp2 = requestLine.find(' ', sp1 + 1);
        request.method = requestLine.substr(0, sp1);
        request.target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
        size_t start = lineEnd + 2;
        while (start < headEnd) {
            const size_t end = data.find("\r\n", start);
            request.headerLines.push_back(data.substr(start, end - start));
            start = end + 2;
        }
        request.body = data.substr(headEnd + 4, contentLength);
        response = handler_(request);
        std::lock_guard lock(mutex_);
        requests_.push_back(std::move(request));
    }

    if (complete && response.neverAnswer) {
        std::unique_lock lock(mutex_);
        stopped_.wait(lock, [this] { return stopping_.load(); });
    } else if (complete && !response.closeWithoutAnswer) {
        if (response.delay.count() > 0) {
            std::unique_lock lock(mutex_);
            stopped_.wait_for(lock, response.delay, [this] { return stopping_.load(); });
        }
        std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + response.reason +
                           "\r\n";
        for (const auto& [name, value] : response.headers) head += name + ": " + value + "\r\n";
        if (response.addContentLength) {
            head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
        }
        head += "Connection: close\r\n\r\n";
        WriteAll(fd, head);
        WriteAll(fd, response.body);
    }
    ::shutdown(fd, SHUT_WR);
    std::lock_guard lock(mutex_);
    openFds_.erase(std::remove(openFds_.begin(), openFds_.end(), fd), openFds_.end());
    ::close(fd);
}

}  // namespace vinylo::testing
