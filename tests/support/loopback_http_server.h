#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace vinylo::testing {

// One request exactly as it arrived.
struct HttpRequest {
    std::string raw;                 // request line, header block and body, byte for byte
    std::string method;
    std::string target;              // path and query as sent
    std::vector<std::string> headerLines;  // in the order sent, without CR LF
    std::string body;

    // Value of the first header with this name (case-insensitive), or empty.
    std::string Header(std::string_view name) const;
};

struct HttpResponse {
    int status = 200;
    std::string reason = "OK";
    std::vector<std::pair<std::string, std::string>> headers;  // sent in this order
    std::string body;
    bool addContentLength = true;
    std::chrono::milliseconds delay{0};  // before the answer is written
    bool neverAnswer = false;            // hold the connection open until the server stops
    bool closeWithoutAnswer = false;     // close the connection right after reading
};

// A certificate for 127.0.0.1 and its private key, as PEM files. The
// certificate is self-signed, so a client that trusts the file (libcurl's CA
// file) verifies the server as it would a real one.
struct TlsIdentity {
    std::string certFile;
    std::string keyFile;
};

// Makes a fresh key and certificate in dir (valid for a day).
TlsIdentity MakeTestCertificate(const std::string& dir);

// A small HTTP/1.1 server on 127.0.0.1 with an ephemeral port, answering each
// connection on its own thread, so code under test may block on it. It
// records every request and answers each with the handler's response, then
// closes the connection.
class LoopbackHttpServer {
public:
    using Handler = std::function<HttpResponse(const HttpRequest&)>;

    explicit LoopbackHttpServer(Handler handler);
    // The same server speaking HTTPS with this identity.
    LoopbackHttpServer(Handler handler, const TlsIdentity& tls);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    uint16_t port() const { return port_; }
    // "http://127.0.0.1:<port>" + path ("https://" for a TLS server)
    std::string Url(std::string_view path = "/") const;

    std::vector<HttpRequest> Requests() const;
    size_t RequestCount() const;

private:
    void Listen();
    void AcceptLoop();
    void Serve(int fd);

    Handler handler_;
    void* tlsContext_ = nullptr;  // SSL_CTX when serving HTTPS
    int listenFd_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::condition_variable stopped_;
    std::vector<HttpRequest> requests_;
    std::vector<int> openFds_;
    std::vector<std::thread> workers_;
    std::thread acceptor_;
};

}  // namespace vinylo::testing
