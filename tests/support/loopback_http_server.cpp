#include "tests/support/loopback_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <algorithm>
#include <cctype>
#include <csignal>
#include <memory>
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

// One accepted connection, plain or TLS.
class Connection {
public:
    Connection(int fd, SSL_CTX* tls) : fd_(fd) {
        if (tls == nullptr) return;
        ssl_ = SSL_new(tls);
        if (ssl_ == nullptr || SSL_set_fd(ssl_, fd) != 1 || SSL_accept(ssl_) != 1) {
            failed_ = true;
        }
    }
    ~Connection() { SSL_free(ssl_); }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    bool failed() const { return failed_; }

    // Ends the sending side (a TLS close notice first).
    void FinishSending() {
        if (ssl_ != nullptr && !failed_) SSL_shutdown(ssl_);
        ::shutdown(fd_, SHUT_WR);
    }

    ssize_t Read(char* buffer, size_t size) {
        if (failed_) return -1;
        if (ssl_ == nullptr) return ::recv(fd_, buffer, size, 0);
        const int n = SSL_read(ssl_, buffer, static_cast<int>(size));
        return n > 0 ? n : -1;
    }

    void WriteAll(std::string_view data) {
        while (!data.empty() && !failed_) {
            const ssize_t n =
                ssl_ == nullptr ? ::send(fd_, data.data(), data.size(), MSG_NOSIGNAL)
                                : SSL_write(ssl_, data.data(), static_cast<int>(data.size()));
            if (n <= 0) return;
            data.remove_prefix(static_cast<size_t>(n));
        }
    }

private:
    int fd_;
    SSL* ssl_ = nullptr;
    bool failed_ = false;
};

template <typename T, void (*Free)(T*)>
struct OpenSslDeleter {
    void operator()(T* p) const { Free(p); }
};
using KeyPtr = std::unique_ptr<EVP_PKEY, OpenSslDeleter<EVP_PKEY, EVP_PKEY_free>>;
using CertPtr = std::unique_ptr<X509, OpenSslDeleter<X509, X509_free>>;

void AddExtension(X509* cert, int nid, const char* value) {
    X509V3_CTX ctx;
    X509V3_set_ctx_nodb(&ctx);
    X509V3_set_ctx(&ctx, cert, cert, nullptr, nullptr, 0);
    X509_EXTENSION* ext = X509V3_EXT_conf_nid(nullptr, &ctx, nid, value);
    if (ext == nullptr) throw std::runtime_error("certificate extension");
    X509_add_ext(cert, ext, -1);
    X509_EXTENSION_free(ext);
}

void WritePem(const std::string& path, const std::function<int(BIO*)>& write) {
    BIO* bio = BIO_new_file(path.c_str(), "w");
    if (bio == nullptr) throw std::runtime_error("cannot write " + path);
    const int ok = write(bio);
    BIO_free(bio);
    if (ok != 1) throw std::runtime_error("cannot write " + path);
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

TlsIdentity MakeTestCertificate(const std::string& dir) {
    KeyPtr key(EVP_EC_gen("P-256"));
    CertPtr cert(X509_new());
    if (!key || !cert) throw std::runtime_error("key or certificate");
    X509_set_version(cert.get(), 2);
    ASN1_INTEGER_set(X509_get_serialNumber(cert.get()), 1);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), -3600);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), 24 * 3600);
    X509_set_pubkey(cert.get(), key.get());
    X509_NAME* name = X509_get_subject_name(cert.get());
    X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                               reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
    X509_set_issuer_name(cert.get(), name);
    AddExtension(cert.get(), NID_basic_constraints, "critical,CA:TRUE");
    AddExtension(cert.get(), NID_subject_key_identifier, "hash");
    AddExtension(cert.get(), NID_subject_alt_name, "IP:127.0.0.1");
    if (X509_sign(cert.get(), key.get(), EVP_sha256()) == 0) throw std::runtime_error("sign");

    TlsIdentity identity{dir + "/test-cert.pem", dir + "/test-key.pem"};
    WritePem(identity.certFile, [&](BIO* bio) { return PEM_write_bio_X509(bio, cert.get()); });
    WritePem(identity.keyFile, [&](BIO* bio) {
        return PEM_write_bio_PrivateKey(bio, key.get(), nullptr, nullptr, 0, nullptr, nullptr);
    });
    return identity;
}

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : handler_(std::move(handler)) {
    Listen();
}

LoopbackHttpServer::LoopbackHttpServer(Handler handler, const TlsIdentity& tls)
    : handler_(std::move(handler)) {
    SSL_CTX* context = SSL_CTX_new(TLS_server_method());
    if (context == nullptr ||
        SSL_CTX_use_certificate_file(context, tls.certFile.c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_use_PrivateKey_file(context, tls.keyFile.c_str(), SSL_FILETYPE_PEM) != 1) {
        SSL_CTX_free(context);
        throw std::runtime_error("TLS identity");
    }
    tlsContext_ = context;
    // OpenSSL writes to the socket without MSG_NOSIGNAL; a client that hangs
    // up early must not end the test program.
    std::signal(SIGPIPE, SIG_IGN);
    Listen();
}

void LoopbackHttpServer::Listen() {
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
    SSL_CTX_free(static_cast<SSL_CTX*>(tlsContext_));
}

std::string LoopbackHttpServer::Url(std::string_view path) const {
    return std::string(tlsContext_ != nullptr ? "https" : "http") + "://127.0.0.1:" +
           std::to_string(port_) + std::string(path);
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
    Connection connection(fd, static_cast<SSL_CTX*>(tlsContext_));
    std::string data;
    char buffer[8192];
    size_t headEnd = std::string::npos;
    size_t contentLength = 0;
    bool complete = false;
    while (!complete && !connection.failed()) {
        const ssize_t n = connection.Read(buffer, sizeof buffer);
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
        connection.WriteAll(head);
        connection.WriteAll(response.body);
    }
    connection.FinishSending();
    std::lock_guard lock(mutex_);
    openFds_.erase(std::remove(openFds_.begin(), openFds_.end(), fd), openFds_.end());
    ::close(fd);
}

}  // namespace vinylo::testing
